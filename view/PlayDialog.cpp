#include "view/PlayDialog.h"

#include "view/PanelControls.h"
#include "view/PlayCommands.h"

#include <QAbstractButton>

namespace {
constexpr int kEntryWidth = 170;
constexpr int kEntryHeight = 30;
constexpr int kGap = 6;
constexpr int kMargin = 12;

struct Entry
{
    int id;
    const char* label;
};

constexpr Entry kEntries[] = {
    {CPlayDialog::kHint, "Hint"},         {CPlayDialog::kPicture, "Picture"},
    {CPlayDialog::kGhost, "Ghost"},       {CPlayDialog::kPullApart, "Pull Apart"},
    {CPlayDialog::kSettings, "Settings"}, {CPlayDialog::kExit, "Exit"},
};

void BuildTemplate(CLDialog& dialog)
{
    dialog.setWindowTitle(QStringLiteral("Game Menu"));
    for (const Entry& entry : kEntries)
        panelcontrols::AddButton(dialog, entry.id, QString::fromLatin1(entry.label));
}
} // namespace

CPlayDialog::CPlayDialog(CPlayCommands* commands, QWidget* parent)
    : CLDialog(kTemplateId, parent)
    , m_pCommands(commands)
{
    RegisterTemplate(kTemplateId, kDefaultLanguage, &BuildTemplate);
    panelcontrols::KeepFocusOnTheGame(*this);
    Create();
}

void CPlayDialog::OnInitDialog()
{
    for (const Entry& entry : kEntries) {
        if (auto* button = ControlAs<QAbstractButton>(entry.id))
            connect(button, &QAbstractButton::clicked, this, [this, id = entry.id] { OnCommand(id); });
    }
    ResizeClient(panelcontrols::StackControls(*this, {kHint, kPicture, kGhost, kPullApart, kSettings, kExit},
                                              QSize(kEntryWidth, kEntryHeight), kGap, kMargin));
}

void CPlayDialog::OnCommand(int commandId)
{
    hide();
    if (!m_pCommands)
        return;
    switch (commandId) {
    case kHint:
        m_pCommands->OnPlayHint();
        return;
    case kPicture:
        m_pCommands->OnPlayPicture();
        return;
    case kGhost:
        m_pCommands->OnPlayGhost();
        return;
    case kPullApart:
        m_pCommands->OnPlayArrangeAtEdge();
        return;
    case kSettings:
        m_pCommands->OnPlaySettings();
        return;
    case kExit:
        m_pCommands->OnPlayExit();
        return;
    default:
        return;
    }
}
