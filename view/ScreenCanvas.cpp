#include "view/ScreenCanvas.h"

#include "resources/GP_Resources.h"
#include "resources/StringTable.h"
#include "shell/dialogs/MessageBoxDialog.h"
#include "shell/log/GP_LogFile.h"
#include "skin/BmpButton.h"
#include "skin/ClickSoundPlayer.h"
#include "view/CalendarScreen.h"
#include "view/ChildView.h"
#include "view/CreationScreen.h"
#include "view/GameCursors.h"
#include "view/HelpOverlayWindow.h"
#include "view/HoverBox.h"
#include "view/LibraryCommands.h"
#include "view/LibraryScreen.h"
#include "view/TreasuryScreen.h"
#include "view/model/GP_SettingsStore.h"
#include "view/model/FieldGeometry.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

namespace {
const QColor kBackdropFill(13, 20, 38);
constexpr int kSoundClick = 245;
constexpr int kButtonMinimize = 49305;
constexpr int kButtonClose = 49306;

struct ButtonTrace
{
    int id;
    const char* trace;
};

// The trace each picture button writes when clicked (the popup's Play writes none).
constexpr ButtonTrace kButtonTraces[] = {
    {CScreenCanvas::kTabCalendar, "ClickCalendar"},
    {CScreenCanvas::kTabTreasury, "ClickTreasure"},
    {CScreenCanvas::kTabMyPuzzles, "ClickMyPuzzles"},
    {kButtonMinimize, "ClickMinimize"},
    {kButtonClose, "ClickClose"},
    {CLibraryScreen::kMakeOwn, "ClickMakoOwnPuzzle"},
    {CLibraryScreen::kPopupSend, "ClickPopupSend"},
    {CLibraryScreen::kPopupModify, "ClickPopupModify"},
    {CLibraryScreen::kPopupDelete, "ClickPopupDelete"},
    {CLibraryScreen::kScrollUp, "ButtonScroll_Up"},
    {CLibraryScreen::kScrollDown, "ButtonScroll_Down"},
    {CCalendarScreen::kMonthUp, "CalendarUp"},
    {CCalendarScreen::kMonthDown, "CalendarDown"},
    {CCalendarScreen::kYearUp, "ClickYearUp"},
    {CCalendarScreen::kYearDown, "ClickYearDown"},
    {CTreasuryScreen::kPageLeft, "ClickPageLeft"},
    {CTreasuryScreen::kPageRight, "ClickPageRight"},
    {CTreasuryScreen::kThemeLeft, "ClickThemeLeft"},
    {CTreasuryScreen::kThemeRight, "ClickThemeRight"},
    {CTreasuryScreen::kTheme, "ClickTheme "},
    {CTreasuryScreen::kGetSelected, "ClickGetSelected"},
    {CTreasuryScreen::kGetSelectedBelow, "ClickGetSelected"},
};

const char* TraceOf(int buttonId)
{
    for (const ButtonTrace& entry : kButtonTraces) {
        if (entry.id == buttonId)
            return entry.trace;
    }
    return nullptr;
}

// What the screens ask of the view.
GP_ScreenHost HostOn(CChildView& view)
{
    GP_ScreenHost host;
    host.helpTakesPointer = [&view](const QMouseEvent& event) { return view.HelpTakesPointer(event); };
    host.helpShown = [&view] { return view.HelpWindow()->IsShown(); };
    host.openForPlay = [&view](const QString& path) { view.OpenPuzzleForPlay(path); };
    host.play = [&view](const GP_PuzzlePtr& puzzle) { view.OnMainPlay(puzzle); };
    host.showMessage = [&view](int message) {
        view.Ask(GP_LoadString(message), GP_LoadString(IDS_OK), QString(), MB_OK | MB_ICONWARNING);
    };
    return host;
}
} // namespace

CScreenCanvas::CScreenCanvas(CChildView& view, const QString& pushCursorPath, int top)
    : QWidget(&view)
    , m_view(view)
    , m_host(HostOn(view))
    , m_top(top)
    , m_pHoverBox(new CHoverBox(this))
    , m_pCursors(new CGameCursors(this))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    GP_InitResources();
    m_backdrop = QImage(GP_BitmapPath(QStringLiteral("screen")));
    m_pCursors->Load(pushCursorPath);
    CPuzzleLibrary& library = view.Library().Library();
    m_pLibrary = std::make_unique<CLibraryScreen>(this, *m_pHoverBox, m_host, library, *m_pCursors,
                                                  view.Settings().Settings().CurrentScroll);
    m_pCalendar = std::make_unique<CCalendarScreen>(this, *m_pHoverBox, m_host, library);
    m_pTreasury = std::make_unique<CTreasuryScreen>(this, *m_pHoverBox, m_host);
    const int ids[] = {kTabCalendar, kTabTreasury, kTabMyPuzzles};
    for (size_t tab = 0; tab < m_tabs.size(); ++tab) {
        m_tabs[tab] = CScreen::MakeButton(this, ids[tab]);
        m_tabs[tab]->setCheckable(true);
        m_tabs[tab]->show();
    }
    m_animationClock.start();
    view.Library().SetScreenHooks([this] { m_pLibrary->HidePopup(); }, [this] { LibraryChanged(); });
    hide();
}

CScreenCanvas::~CScreenCanvas() = default;

CScreen* CScreenCanvas::Current() const
{
    switch (m_mode) {
    case GameMode::MyPuzzles:
        return m_pLibrary.get();
    case GameMode::Calendar:
        return m_pCalendar.get();
    case GameMode::Treasury:
        return m_pTreasury.get();
    default:
        return nullptr;
    }
}

void CScreenCanvas::ShowMode(GameMode mode)
{
    m_pHoverBox->HideBox();
    if (CScreen* shown = Current())
        shown->SetShown(false);
    m_mode = mode;
    CScreen* screen = Current();
    if (!screen) {
        hide();
        return;
    }
    // Exactly one tab is pressed: the screen's.
    m_tabs[0]->setChecked(mode == GameMode::Calendar);
    m_tabs[1]->setChecked(mode == GameMode::Treasury);
    m_tabs[2]->setChecked(mode == GameMode::MyPuzzles);
    setGeometry(parentWidget()->rect());
    show();
    // Everything else of the view (the help pictures) stays over the screens.
    lower();
    PlaceAll();
    screen->SetShown(true);
    m_animationClock.restart();
    update();
}

float CScreenCanvas::Scroll() const
{
    return float(m_pLibrary->Model().Scroll());
}

void CScreenCanvas::PlaceAll()
{
    const ScreenLayout layout(FieldGeometry::LayoutRect(rect()), m_top);
    m_pHoverBox->SetScale(layout.Scale());
    const std::array<QRect, 3> tabs = layout.Tabs();
    for (size_t tab = 0; tab < tabs.size(); ++tab)
        m_tabs[tab]->setGeometry(tabs[tab]);
    for (CScreen* screen : {static_cast<CScreen*>(m_pLibrary.get()), static_cast<CScreen*>(m_pCalendar.get()),
                            static_cast<CScreen*>(m_pTreasury.get())})
        screen->Place(layout);
    if (!m_backdrop.isNull() && !size().isEmpty())
        m_scaledBackdrop = QPixmap::fromImage(m_backdrop.scaled(size(), Qt::KeepAspectRatioByExpanding, Qt::SmoothTransformation));
}

void CScreenCanvas::resizeEvent(QResizeEvent*)
{
    PlaceAll();
}

void CScreenCanvas::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), kBackdropFill);
    if (!m_scaledBackdrop.isNull()) {
        const QPoint origin((width() - m_scaledBackdrop.width()) / 2, (height() - m_scaledBackdrop.height()) / 2);
        painter.drawPixmap(origin, m_scaledBackdrop);
    }
    if (CScreen* screen = Current())
        screen->Paint(painter, event->rect());
}

bool CScreenCanvas::HelpTakes(const QMouseEvent& event) const
{
    return m_host.helpTakesPointer && m_host.helpTakesPointer(event);
}

void CScreenCanvas::mousePressEvent(QMouseEvent* event)
{
    if (CScreen* screen = Current(); screen && !HelpTakes(*event))
        screen->Press(*event);
}

void CScreenCanvas::mouseMoveEvent(QMouseEvent* event)
{
    if (CScreen* screen = Current(); screen && !HelpTakes(*event))
        screen->Move(*event);
}

void CScreenCanvas::mouseReleaseEvent(QMouseEvent* event)
{
    if (CScreen* screen = Current(); screen && !HelpTakes(*event))
        screen->Release(*event);
}

void CScreenCanvas::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (CScreen* screen = Current(); screen && !HelpTakes(*event))
        screen->DoubleClick(*event);
}

void CScreenCanvas::wheelEvent(QWheelEvent* event)
{
    // Only the library scrolls, and not under a help picture.
    if (m_mode != GameMode::MyPuzzles || (m_host.helpShown && m_host.helpShown()))
        return;
    m_pLibrary->Wheel(*event);
}

void CScreenCanvas::OnButtonNotify(const BmpButtonNotify& notify)
{
    const int buttonId = notify.idFrom;
    if (buttonId == CLibraryScreen::kScroller) {
        const bool pressed = notify.code == CBmpButton::kNotifyPressed;
        GP_Log(pressed ? QStringLiteral("Scroller_Down\n") : QStringLiteral("Scroller_Up\n"));
        m_pLibrary->ScrollerNotify(pressed);
        return;
    }
    if (notify.code != CBmpButton::kNotifyClicked)
        return;
    // Any click takes the hover box away.
    m_pHoverBox->HideBox();
    const bool scrollArrow = buttonId == CLibraryScreen::kScrollUp || buttonId == CLibraryScreen::kScrollDown;
    if (!scrollArrow && m_view.Settings().Settings().SoundFXEnable)
        CClickSoundPlayer::Instance().Play(kSoundClick);
    if (const char* trace = TraceOf(buttonId))
        GP_Log(QStringLiteral("%1\n").arg(QLatin1String(trace)));
    if (!RunViewCommand(buttonId) && !OnButton(buttonId, notify.hwndFrom))
        GP_Log(QStringLiteral("CScreenCanvas: picture button %1 has no action\n").arg(buttonId));
}

bool CScreenCanvas::RunViewCommand(int buttonId)
{
    switch (buttonId) {
    case kTabCalendar:
        m_view.OnMainCampaign();
        return true;
    case kTabTreasury:
        m_view.OnMainPuzzles();
        return true;
    case kTabMyPuzzles:
        m_view.OnMainGallery();
        m_view.update();
        return true;
    case kButtonMinimize:
        m_view.OnMainMinimize();
        return true;
    case kButtonClose:
        m_view.OnMainClose();
        return true;
    case CLibraryScreen::kMakeOwn:
        m_view.Creation().OnMainCreate();
        m_view.ChangeGameMode(GameMode::CreateImage);
        return true;
    case CLibraryScreen::kPopupSend:
        m_view.Library().OnMainSend();
        return true;
    case CLibraryScreen::kPopupModify:
        OnMainModify();
        return true;
    case CLibraryScreen::kPopupDelete:
        m_view.Library().OnMainRemove();
        return true;
    default:
        return false;
    }
}

void CScreenCanvas::OnMainModify()
{
    GP_Log(QStringLiteral("OnMainModify\n"));
    const GP_PuzzlePtr selected = m_view.Library().SinglySelected();
    if (selected && m_view.Creation().OnMainModify(*selected))
        m_view.ChangeGameMode(GameMode::CreateParameters);
}

bool CScreenCanvas::OnButton(int buttonId, QWidget* button)
{
    switch (buttonId) {
    case kTogglePanel:
        if (button && button->parentWidget())
            button->parentWidget()->setVisible(!button->parentWidget()->isVisible());
        return true;
    case kHidePanel:
        if (button && button->parentWidget())
            button->parentWidget()->hide();
        return true;
    case kToggleLook:
        if (auto* picture = qobject_cast<CBmpButton*>(button)) {
            picture->setCheckable(true);
            picture->setChecked(!picture->isChecked());
        }
        return true;
    case 49327:
    case 49328:
    case 49329:
        return true;
    default:
        break;
    }
    for (CScreen* screen : {static_cast<CScreen*>(m_pLibrary.get()), static_cast<CScreen*>(m_pCalendar.get()),
                            static_cast<CScreen*>(m_pTreasury.get())}) {
        if (screen->OnButton(buttonId))
            return true;
    }
    return false;
}

void CScreenCanvas::HidePopups()
{
    m_pHoverBox->HideBox();
    m_pLibrary->HidePopup();
}

void CScreenCanvas::Animate()
{
    const int elapsed = int(m_animationClock.restart());
    if (CScreen* screen = Current())
        screen->Animate(elapsed);
}

void CScreenCanvas::LibraryChanged()
{
    m_pLibrary->Refresh();
    update();
}
