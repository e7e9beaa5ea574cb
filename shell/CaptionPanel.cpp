#include "shell/CaptionPanel.h"

#include "resources/StringTable.h"
#include "shell/GP_LogFile.h"
#include "shell/MessageBoxDialog.h"
#include "view/ChildView.h"

#include <QHBoxLayout>
#include <QPushButton>

CCaptionPanel::CCaptionPanel(int templateId, CChildView* view, QWidget* parent)
    : CTemplateDialog(templateId, parent)
    , m_pView(view)
{
}

CCaptionPanel::CCaptionPanel(CChildView* view, QWidget* parent)
    : CCaptionPanel(kTemplateId, view, parent)
{
    AddButtons({{kCalendar, "Calendar"}, {kTreasury, "Treasury"}, {kMyPuzzles, "My puzzles"},
                {kMinimize, "_"}, {kClose, "X"}});
}

void CCaptionPanel::AddButtons(std::initializer_list<std::pair<int, const char*>> buttons)
{
    auto* row = layout() ? static_cast<QHBoxLayout*>(layout()) : new QHBoxLayout(this);
    for (const auto& [id, label] : buttons) {
        auto* button = new QPushButton(QLatin1String(label), this);
        SetControlId(button, id);
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, id = id] { OnCommand(id); });
        row->addWidget(button);
    }
}

void CCaptionPanel::OnCommand(int commandId)
{
    if (m_pView)
        Command(commandId);
}

void CCaptionPanel::Command(int commandId)
{
    switch (commandId) {
    case kMinimize:
        GP_Log(QStringLiteral("OnMainMinimize\n"));
        m_pView->OnMainMinimize();
        return;
    case kClose: {
        GP_Log(QStringLiteral("OnMainClose\n"));
        m_pView->StopScreenAnimation();
        const int answer = CMessageBoxDialog::Ask(m_pView, GP_LoadString(IDS_ARE_YOU_SURE), QStringLiteral("Velmora"),
                                                  GP_LoadString(IDS_YES), GP_LoadString(IDS_NO), QString(),
                                                  MB_YESNO | MB_ICONQUESTION);
        if (answer != IDOK) {
            m_pView->StartScreenAnimation(kResumeAnimationMs);
            return;
        }
        m_pView->LeaveAfterClose();
        return;
    }
    case kCalendar:
        GP_Log(QStringLiteral("OnMainCampaign\n"));
        m_pView->ChangeGameMode(Calendar);
        m_pView->update();
        return;
    case kTreasury:
        GP_Log(QStringLiteral("OnMainPuzzles\n"));
        m_pView->ChangeGameMode(Treasury);
        m_pView->update();
        return;
    case kMyPuzzles:
        m_pView->OnMainGallery();
        return;
    default:
        return;
    }
}
