#include "view/HoverBox.h"

#include "resources/GP_Resources.h"
#include "view/model/ScreenLayout.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPixmap>
#include <qdrawutil.h>

#include <algorithm>
#include <cmath>

namespace {
constexpr int kBorder = 16;
constexpr int kPadding = 14;
constexpr int kTextPixels = 13;
// The most a text may take before it wraps or is cut.
constexpr QSize kTextArea{600, 400};
constexpr QPoint kOffset{16, 20};
const QColor kText(244, 236, 214);
} // namespace

CHoverBox::CHoverBox(QWidget* canvas)
    : QWidget(canvas)
    , m_padding(kPadding)
    , m_textArea(kTextArea)
{
    GP_InitResources();
    m_frame = QImage(GP_BitmapPath(QStringLiteral("hover_box")));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
}

void CHoverBox::ShowText(const QString& text, const QPoint& pointer)
{
    m_text = text;
    const QRect textRect = fontMetrics().boundingRect(QRect(QPoint(), m_textArea), Qt::AlignLeft | Qt::TextWordWrap, text);
    const QSize size = textRect.size() + QSize(2 * m_padding, 2 * m_padding);
    const QRect screen = parentWidget() ? parentWidget()->rect() : QRect(QPoint(0, 0), size);
    setGeometry(ScreenLayout::KeepInside(QRect(pointer + kOffset, size), screen));
    show();
    raise();
    update();
}

void CHoverBox::SetScale(double scale)
{
    QFont scaled = font();
    scaled.setPixelSize(std::max(1, int(std::lround(kTextPixels * scale))));
    setFont(scaled);
    m_padding = int(std::lround(kPadding * scale));
    m_textArea = QSize(int(kTextArea.width() * scale), int(kTextArea.height() * scale));
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
    painter.drawText(rect().adjusted(m_padding, m_padding, -m_padding, -m_padding), Qt::AlignLeft | Qt::TextWordWrap, m_text);
}
