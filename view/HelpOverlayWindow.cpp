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

CHelpOverlayWindow::CHelpOverlayWindow(QWidget* view)
    : QWidget(view)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
}

bool CHelpOverlayWindow::ShowOverlay(const QString& valueName, const QRect& layout)
{
    GP_InitResources();
    m_picture = QImage(GP_BitmapPath(valueName)).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    m_name = valueName;
    m_layout = layout;
    if (m_picture.isNull())
        GP_Log(QStringLiteral("CHelpOverlayWindow: no picture for %1\n").arg(valueName));
    setGeometry(parentWidget()->rect());
    raise();
    show();
    update();
    return !m_picture.isNull();
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
