#include "skin/DropShadow.h"

#include <QPainter>

#include <algorithm>
#include <vector>

namespace {

// One pass of a box blur along the rows (or, transposed, the columns) of an 8-bit picture.
void BoxBlurRows(std::vector<int>& alpha, int width, int height, int radius, bool columns)
{
    const int lines = columns ? width : height;
    const int length = columns ? height : width;
    std::vector<int> line(static_cast<size_t>(length), 0);
    for (int l = 0; l < lines; ++l) {
        const auto at = [&](int i) -> int& { return columns ? alpha[size_t(i) * width + l] : alpha[size_t(l) * width + i]; };
        for (int i = 0; i < length; ++i)
            line[size_t(i)] = at(i);
        int sum = 0;
        for (int i = -radius; i <= radius; ++i)
            sum += (i >= 0 && i < length) ? line[size_t(i)] : 0;
        const int window = 2 * radius + 1;
        for (int i = 0; i < length; ++i) {
            at(i) = sum / window;
            const int out = i - radius;
            const int in = i + radius + 1;
            sum -= (out >= 0) ? line[size_t(out)] : 0;
            sum += (in < length) ? line[size_t(in)] : 0;
        }
    }
}

} // namespace

CDropShadow::CDropShadow(QWidget* owner, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowTransparentForInput | Qt::WindowDoesNotAcceptFocus
                          | Qt::NoDropShadowWindowHint)
    , m_owner(owner)
{
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

QImage CDropShadow::Picture(const QRegion& shape, const QSize& windowSize)
{
    const int width = windowSize.width() + 2 * kSpread;
    const int height = windowSize.height() + 2 * kSpread + kDrop;
    if (windowSize.isEmpty() || shape.isEmpty())
        return QImage();
    std::vector<int> alpha(size_t(width) * height, 0);
    for (const QRect& rect : shape.translated(kSpread, kSpread + kDrop)) {
        const QRect inside = rect.intersected(QRect(0, 0, width, height));
        for (int y = inside.top(); y <= inside.bottom(); ++y)
            std::fill_n(alpha.begin() + ptrdiff_t(y) * width + inside.left(), inside.width(), kDarkness);
    }
    // Three box blurs each way come close to a Gaussian one.
    const int radius = kSpread / 3;
    for (int pass = 0; pass < 3; ++pass) {
        BoxBlurRows(alpha, width, height, radius, false);
        BoxBlurRows(alpha, width, height, radius, true);
    }
    QImage picture(width, height, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < width; ++x)
            line[x] = qRgba(0, 0, 0, alpha[size_t(y) * width + x]);
    }
    return picture;
}

void CDropShadow::SetShape(const QRegion& shape)
{
    if (shape == m_shape && !m_picture.isNull())
        return;
    m_shape = shape;
    m_picture = m_owner ? Picture(shape, m_owner->size()) : QImage();
    update();
}

void CDropShadow::Follow()
{
    if (!m_owner)
        return;
    if (m_picture.size() != m_owner->size() + QSize(2 * kSpread, 2 * kSpread + kDrop))
        m_picture = Picture(m_shape, m_owner->size());
    const QRect place = m_owner->frameGeometry().adjusted(-kSpread, -kSpread, kSpread, kSpread + kDrop);
    if (geometry() != place)
        setGeometry(place);
    const bool shown = m_owner->isVisible() && !m_owner->isMinimized() && !m_picture.isNull();
    if (shown == isVisible())
        return;
    setVisible(shown);
    if (shown)
        m_owner->raise();
}

void CDropShadow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(0, 0, m_picture);
}
