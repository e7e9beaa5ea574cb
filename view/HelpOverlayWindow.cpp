#include "view/HelpOverlayWindow.h"

#include "resources/GP_Resources.h"
#include "shell/log/GP_LogFile.h"
#include "view/model/FieldGeometry.h"

#include <QPaintEvent>
#include <QPainter>

namespace {
// The pictures are clear around their card: the screen under them is darkened so the card reads.
constexpr QColor kVeil(5, 9, 20, 150);
} // namespace

CHelpOverlayWindow::CHelpOverlayWindow(QWidget* view, CGP_SettingsStore& settings)
    : QWidget(view)
    , m_overlays(settings)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
}

void CHelpOverlayWindow::Start(GameMode mode, bool rotatingPuzzle)
{
    m_overlays.Start(mode, rotatingPuzzle);
    ShowCurrent();
}

void CHelpOverlayWindow::Dismiss()
{
    m_overlays.Dismiss();
    ShowCurrent();
}

void CHelpOverlayWindow::Clear()
{
    m_overlays.Clear();
    hide();
}

void CHelpOverlayWindow::Follow()
{
    if (IsShown())
        ShowCurrent();
}

void CHelpOverlayWindow::ShowCurrent()
{
    if (!m_overlays.IsShown()) {
        hide();
        parentWidget()->update();
        return;
    }
    GP_InitResources();
    m_picture = GP_LoadBitmap(m_overlays.Current(), devicePixelRatioF());
    if (m_picture.isNull())
        GP_Log(QStringLiteral("CHelpOverlayWindow: no picture for %1\n").arg(m_overlays.Current()));
    m_layout = FieldGeometry::LayoutRect(parentWidget()->rect());
    setGeometry(parentWidget()->rect());
    raise();
    show();
    update();
}

QRect CHelpOverlayWindow::PictureRect() const
{
    return FieldGeometry::FitCentred(m_picture.deviceIndependentSize().toSize(), m_layout);
}

void CHelpOverlayWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    Paint(painter, rect(), m_layout, m_picture);
}

void CHelpOverlayWindow::Paint(QPainter& painter, const QRect& area, const QRect& layout, const QImage& picture)
{
    painter.fillRect(area, kVeil);
    if (picture.isNull())
        return;
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(FieldGeometry::FitCentred(picture.deviceIndependentSize().toSize(), layout), picture);
}
