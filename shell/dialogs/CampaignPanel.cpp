#include "shell/dialogs/CampaignPanel.h"

#include "shell/dialogs/MainViewCommands.h"

namespace {
constexpr int kButtonWidth = 110;
constexpr int kButtonHeight = 32;
constexpr int kLeft = 12;
} // namespace

CCampaignPanel::CCampaignPanel(CMainViewCommands* view, QWidget* parent)
    : CCaptionPanel(kTemplateId, {{kFirstIdle, ""}, {kSecondIdle, ""}, {kRepaint, ""}}, kHeight, view, parent)
{
    Create();
}

void CCampaignPanel::PlaceButtons()
{
    PlaceRow({kFirstIdle, kSecondIdle, kRepaint}, kLeft, kButtonWidth, kButtonHeight);
}

void CCampaignPanel::Command(int commandId)
{
    if (commandId == kRepaint)
        View()->RepaintView();
}
