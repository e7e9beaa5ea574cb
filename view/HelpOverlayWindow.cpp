#include "view/HelpOverlayWindow.h"

#include "resources/GP_Resources.h"
#include "shell/log/GP_LogFile.h"
#include "view/model/FieldGeometry.h"

#include <QPaintEvent>
#include <QPainter>

namespace {
// Without a picture of its own the screen is dimmed by half.
constexpr int kPlainVeilAlpha = 128;
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
    m_picture = QImage(GP_BitmapPath(m_overlays.Current())).convertToFormat(QImage::Format_ARGB32_Premultiplied);
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
    return FieldGeometry::FitCentred(m_picture.size(), m_layout);
}

void CHelpOverlayWindow::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const QRect picture = PictureRect();
    // Beyond the picture the screen takes the veil the picture's own edge has.
    const QColor veil = m_picture.isNull() ? QColor(0, 0, 0, kPlainVeilAlpha) : m_picture.pixelColor(0, 0);
    const QRegion outside = QRegion(event->rect()).subtracted(QRegion(picture));
    for (const QRect& part : outside)
        painter.fillRect(part, veil);
    if (!m_picture.isNull()) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(picture, m_picture);
    }
}
