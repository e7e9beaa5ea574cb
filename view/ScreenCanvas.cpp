#include "view/ScreenCanvas.h"

#include "resources/GP_Resources.h"
#include "skin/BmpButton.h"
#include "view/CalendarScreen.h"
#include "view/GameCursors.h"
#include "view/HoverBox.h"
#include "view/LibraryScreen.h"
#include "view/TreasuryScreen.h"
#include "view/model/FieldGeometry.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

namespace {
const QColor kBackdropFill(13, 20, 38);
} // namespace

CScreenCanvas::CScreenCanvas(QWidget* view, CPuzzleLibrary& library, GP_ScreenHost host, const QString& pushCursorPath,
                             float scroll, int top)
    : QWidget(view)
    , m_host(std::move(host))
    , m_top(top)
    , m_pHoverBox(new CHoverBox(this))
    , m_pCursors(new CGameCursors(this))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    GP_InitResources();
    m_backdrop = QImage(GP_BitmapPath(QStringLiteral("screen")));
    m_pCursors->Load(pushCursorPath);
    m_pLibrary = std::make_unique<CLibraryScreen>(this, *m_pHoverBox, m_host, library, *m_pCursors, scroll);
    m_pCalendar = std::make_unique<CCalendarScreen>(this, *m_pHoverBox, m_host, library);
    m_pTreasury = std::make_unique<CTreasuryScreen>(this, *m_pHoverBox, m_host);
    const int ids[] = {kTabCalendar, kTabTreasury, kTabMyPuzzles};
    for (size_t tab = 0; tab < m_tabs.size(); ++tab) {
        m_tabs[tab] = CScreen::MakeButton(this, ids[tab]);
        m_tabs[tab]->setCheckable(true);
        m_tabs[tab]->show();
    }
    m_animationClock.start();
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
