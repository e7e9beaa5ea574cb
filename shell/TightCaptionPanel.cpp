#include "shell/TightCaptionPanel.h"

#include "shell/GP_LogFile.h"
#include "view/ChildView.h"


CTightCaptionPanel::CTightCaptionPanel(CChildView* view, QWidget* parent)
    : CCaptionPanel(kTemplateId, view, parent)
{
    AddButtons({{kMenu, "Menu"}, {kClock, "Time Line"}, {kMinimize, "_"}, {kClose, "X"}});
}

void CTightCaptionPanel::Command(int commandId)
{
    if (commandId != kMenu && commandId != kClock && commandId != kMinimize && commandId != kClose)
        return;
    View()->StoreHelpFlag("HlpGame1");
    switch (commandId) {
    case kMenu:
        View()->OnPlayMenu();
        return;
    case kClock:
        View()->OnPlayPause();
        return;
    case kMinimize:
        GP_Log(QStringLiteral("OnMainMinimize\n"));
        View()->OnMainMinimize();
        return;
    case kClose:
        // In a game, X leaves it without a question.
        View()->OnPlayExit();
        return;
    }
}
