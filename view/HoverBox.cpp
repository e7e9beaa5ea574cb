#include "view/HoverBox.h"

#include "resources/GP_Resources.h"
#include "view/model/ScreenLayout.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPixmap>
#include <qdrawutil.h>

namespace {
constexpr int kBorder = 16;
constexpr int kPadding = 14;
constexpr QPoint kOffset{16, 20};
const QColor kText(244, 236, 214);
} // namespace

CHoverBox::CHoverBox(QWidget* canvas)
    : QWidget(canvas)
{
    GP_InitResources();
    m_frame = QImage(GP_BitmapPath(QStringLiteral("hover_box")));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
}

void CHoverBox::ShowText(const QString& text, const QPoint& pointer)
{
    m_text = text;
    const QRect textRect = fontMetrics().boundingRect(QRect(0, 0, 600, 400), Qt::AlignLeft | Qt::TextWordWrap, text);
    const QSize size = textRect.size() + QSize(2 * kPadding, 2 * kPadding);
    const QRect screen = parentWidget() ? parentWidget()->rect() : QRect(QPoint(0, 0), size);
    setGeometry(ScreenLayout::KeepInside(QRect(pointer + kOffset, size), screen));
    show();
    raise();
    update();
}

void CHoverBox::HideBox()
{
    m_text.clear();
    hide();
}

void CHoverBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (!m_frame.isNull())
        qDrawBorderPixmap(&painter, rect(), QMargins(kBorder, kBorder, kBorder, kBorder), QPixmap::fromImage(m_frame));
    else
        painter.fillRect(rect(), QColor(30, 42, 74));
    painter.setPen(kText);
    painter.drawText(rect().adjusted(kPadding, kPadding, -kPadding, -kPadding), Qt::AlignLeft | Qt::TextWordWrap, m_text);
}
