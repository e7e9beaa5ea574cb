#include "view/TrayWindows.h"

#include "resources/GP_Resources.h"
#include "skin/SkinableButton.h"
#include "view/FieldPainter.h"
#include "view/TrayWindow.h"
#include "view/model/PlaySession.h"

#include <QIcon>

CTrayWindows::CTrayWindows(QWidget* view, int location, const FieldPainter& painter,
                           std::function<const PlaySession*()> session, std::function<void(int)> clicked)
    : QObject(view)
    , m_location(location)
    , m_clicked(std::move(clicked))
{
    const auto inside = [&painter, session, location](QPainter& dc, const QRect& update) {
        const PlaySession* game = session();
        if (!game)
            return;
        if (CPocket* tray = game->Controller().TrayOf(location))
            painter.PaintTrayInside(dc, *game, *tray, update);
    };
    const auto frame = [&painter](QPainter& dc, const QRect& rect) { painter.PaintTrayFrame(dc, rect); };
    m_open = new CTrayWindow(view, inside, frame);
    m_empty = MakeHandle(view, kEmptyHandle, "tray_empty");
    m_full = MakeHandle(view, kFullHandle, "tray_full");
}

CTrayWindows::~CTrayWindows()
{
    delete m_open.data();
    delete m_empty.data();
    delete m_full.data();
}

CSkinableButton* CTrayWindows::MakeHandle(QWidget* view, int controlId, const char* picture)
{
    auto* handle = new CSkinableButton(view, controlId);
    handle->SetIDs(CTrayWindow::kTemplateId, controlId);
    // Without a skin the handle shows its picture on a plain button.
    GP_InitResources();
    handle->setIcon(QIcon(GP_BitmapPath(QLatin1String(picture))));
    handle->setFlat(true);
    handle->setFocusPolicy(Qt::NoFocus);
    handle->hide();
    connect(handle, &QPushButton::clicked, this, [this] {
        if (m_clicked)
            m_clicked(m_location);
    });
    return handle;
}

void CTrayWindows::Follow(const CPocket& tray, bool shown)
{
    if (!m_open || !m_empty || !m_full)
        return;
    m_open->setGeometry(tray.OpenRect());
    for (CSkinableButton* handle : {m_empty.data(), m_full.data()}) {
        handle->setGeometry(tray.HandleRect());
        handle->setIconSize(tray.HandleRect().size());
    }
    static_cast<QWidget*>(m_open.data())->setVisible(shown && tray.IsOpen());
    static_cast<QWidget*>(m_empty.data())->setVisible(shown && !tray.ShowsFull());
    static_cast<QWidget*>(m_full.data())->setVisible(shown && tray.ShowsFull());
    // The handle stays reachable on top of the open tray.
    m_empty->raise();
    m_full->raise();
}

void CTrayWindows::Hide()
{
    for (QWidget* window : {static_cast<QWidget*>(m_open.data()), static_cast<QWidget*>(m_empty.data()),
                            static_cast<QWidget*>(m_full.data())}) {
        if (window)
            window->hide();
    }
}
