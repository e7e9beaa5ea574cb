#include "shell/dialogs/CaptionPanel.h"

#include "shell/log/GP_LogFile.h"
#include "shell/dialogs/MainViewCommands.h"
#include "skin/SkinableButton.h"

#include <QHash>

namespace {
constexpr int kTabsLeft = 170;
constexpr int kTabWidth = 128;
constexpr int kTabHeight = 32;
constexpr int kTabGap = 8;
constexpr int kCaptionButtonSize = 28;
// The right edges of "_" and "X", counted from the band's right edge.
constexpr int kMinimizeRight = 52;
constexpr int kCloseRight = 16;

// Every panel's template is a row of push buttons with their labels and the caption "Velmora";
// the panel lays them out for its width.
QHash<int, QList<std::pair<int, QString>>>& PanelButtons()
{
    static QHash<int, QList<std::pair<int, QString>>> buttons;
    return buttons;
}

void BuildTemplate(CLDialog& panel)
{
    panel.setWindowTitle(QStringLiteral("Velmora"));
    for (const auto& [id, label] : PanelButtons().value(panel.TemplateId())) {
        auto* button = new CSkinableButton(&panel, id);
        button->setText(label);
        // Enter in a panel does not press a button for the player.
        button->setAutoDefault(false);
        button->setFocusPolicy(Qt::NoFocus);
    }
}

void RegisterTemplateOnce(int templateId, std::initializer_list<CCaptionPanel::ButtonSpec> buttons)
{
    if (PanelButtons().contains(templateId))
        return;
    QList<std::pair<int, QString>>& list = PanelButtons()[templateId];
    for (const auto& button : buttons)
        list.append({button.id, QString::fromUtf8(button.label)});
    CLDialog::RegisterTemplate(templateId, CLDialog::kDefaultLanguage, &BuildTemplate);
}
} // namespace

CCaptionPanel::CCaptionPanel(int templateId, std::initializer_list<ButtonSpec> buttons, int height,
                             CMainViewCommands* view, QWidget* parent)
    : CLDialog(templateId, parent)
    , m_pView(view)
    , m_height(height)
{
    RegisterTemplateOnce(templateId, buttons);
    // The band never takes the keyboard from the game.
    setAttribute(Qt::WA_ShowWithoutActivating);
}

CCaptionPanel::CCaptionPanel(CMainViewCommands* view, QWidget* parent)
    : CCaptionPanel(kTemplateId,
                    {{kCalendar, "Calendar"}, {kTreasury, "Treasury"}, {kMyPuzzles, "My Puzzles"},
                     {kMinimize, "_"}, {kClose, "X"}},
                    kHeight, view, parent)
{
    Create();
}

void CCaptionPanel::OnInitDialog()
{
    for (QAbstractButton* button : findChildren<QAbstractButton*>()) {
        const int id = WINSKIN::ControlId(button);
        connect(button, &QAbstractButton::clicked, this, [this, id] { OnCommand(id); });
    }
    for (int tab : {kCalendar, kTreasury, kMyPuzzles}) {
        if (auto* button = qobject_cast<QAbstractButton*>(Control(tab)))
            button->setCheckable(true);
    }
    resize(width(), m_height);
    PlaceButtons();
}

void CCaptionPanel::resizeEvent(QResizeEvent* event)
{
    CLDialog::resizeEvent(event);
    PlaceButtons();
}

void CCaptionPanel::PlaceButtons()
{
    PlaceRow({kCalendar, kTreasury, kMyPuzzles}, kTabsLeft, kTabWidth, kTabHeight);
    PlaceCaptionButtons(LineTop(kCaptionButtonSize));
}

int CCaptionPanel::LineTop(int height) const
{
    const QRect client = contentsRect();
    return client.y() + std::max(0, (client.height() - height) / 2);
}

void CCaptionPanel::SetCurrentTab(int tabId)
{
    m_currentTab = tabId;
    for (int tab : {kCalendar, kTreasury, kMyPuzzles}) {
        if (auto* button = qobject_cast<QAbstractButton*>(Control(tab)))
            button->setChecked(tab == tabId);
    }
}

void CCaptionPanel::PlaceRow(std::initializer_list<int> ids, int left, int width, int height)
{
    const QRect client = contentsRect();
    const int top = LineTop(height);
    int x = client.x() + left;
    for (int id : ids) {
        if (QWidget* button = Control(id))
            button->setGeometry(x, top, width, height);
        x += width + kTabGap;
    }
}

void CCaptionPanel::PlaceCaptionButtons(int top)
{
    // The right edge of the window, not of the client area: the skin puts them there too.
    const int right = width();
    if (QWidget* minimise = Control(kMinimize))
        minimise->setGeometry(right - kMinimizeRight - kCaptionButtonSize, top, kCaptionButtonSize, kCaptionButtonSize);
    if (QWidget* close = Control(kClose))
        close->setGeometry(right - kCloseRight - kCaptionButtonSize, top, kCaptionButtonSize, kCaptionButtonSize);
}

void CCaptionPanel::OnCommand(int commandId)
{
    // A click toggles a tab; which one is pressed is the current screen's to say.
    SetCurrentTab(m_currentTab);
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
    case kClose:
        GP_Log(QStringLiteral("OnMainClose\n"));
        m_pView->OnMainClose();
        return;
    case kCalendar:
        GP_Log(QStringLiteral("OnMainCampaign\n"));
        m_pView->OnMainCampaign();
        return;
    case kTreasury:
        GP_Log(QStringLiteral("OnMainPuzzles\n"));
        m_pView->OnMainPuzzles();
        return;
    case kMyPuzzles:
        m_pView->OnMainGallery();
        return;
    default:
        return;
    }
}
