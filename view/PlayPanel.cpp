#include "view/PlayPanel.h"

#include "skin/SkinableButton.h"
#include "view/PanelControls.h"
#include "view/PlayCommands.h"

namespace {
constexpr int kButtonWidth = 110;
constexpr int kButtonHeight = 30;
constexpr int kGap = 8;
constexpr int kMargin = 10;
constexpr int kButtons[] = {CPlayPanel::kGameMenu, CPlayPanel::kBoards, CPlayPanel::kExit, CPlayPanel::kTimeLine};

void BuildTemplate(CLDialog& dialog)
{
    dialog.setWindowTitle(QStringLiteral("Velmora"));
    panelcontrols::AddButton(dialog, CPlayPanel::kGameMenu, QStringLiteral("Game Menu"));
    panelcontrols::AddButton(dialog, CPlayPanel::kBoards, QStringLiteral("Boards"));
    panelcontrols::AddButton(dialog, CPlayPanel::kExit, QStringLiteral("Exit"));
    panelcontrols::AddButton(dialog, CPlayPanel::kTimeLine, QStringLiteral("Time Line"));
}
} // namespace

CPlayPanel::CPlayPanel(CPlayCommands* commands, QWidget* parent)
    : CLDialog(kTemplateId, parent)
    , m_pCommands(commands)
{
    RegisterTemplate(kTemplateId, kDefaultLanguage, &BuildTemplate);
    panelcontrols::KeepFocusOnTheGame(*this);
    Create();
}

void CPlayPanel::OnInitDialog()
{
    const QPoint origin = contentsRect().topLeft() + QPoint(kMargin, kMargin);
    int x = 0;
    for (int id : kButtons) {
        auto* button = ControlAs<QAbstractButton>(id);
        if (!button)
            continue;
        button->setGeometry(QRect(origin + QPoint(x, 0), QSize(kButtonWidth, kButtonHeight)));
        connect(button, &QAbstractButton::clicked, this, [this, id] { OnCommand(id); });
        x += kButtonWidth + kGap;
    }
    ResizeClient(QSize(x - kGap + 2 * kMargin, kButtonHeight + 2 * kMargin));
}

void CPlayPanel::SetTrayFull(bool full)
{
    auto* button = ControlAs<CSkinableButton>(kBoards);
    if (!button)
        return;
    m_bTrayFull = full;
    if (full)
        button->AddOwnState(QLatin1String(kTrayFullLook));
    else
        button->RemoveOwnState(QLatin1String(kTrayFullLook));
    button->update();
}

void CPlayPanel::OnCommand(int commandId)
{
    if (!m_pCommands)
        return;
    switch (commandId) {
    case kGameMenu:
        m_pCommands->OnPlayMenu();
        return;
    case kBoards:
        m_pCommands->OnPlayTray1();
        return;
    case kExit:
        m_pCommands->OnPlayExit();
        return;
    default:
        return;
    }
}
