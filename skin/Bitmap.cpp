#include "skin/Bitmap.h"

#include "engine/GP_Random.h"
#include "shell/log/GP_LogFile.h"
#include "skin/Skin.h"
#include "skin/Text.h"

#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QPaintDevice>

#include <tinyxml.h>

#include <algorithm>

namespace WINSKIN {

namespace {
constexpr uint32_t kPlaceholderBase = 0x80808080;
constexpr int64_t kPlaceholderSpread = 0x808080;
// Far past any picture Qt will load.
constexpr int kMaxCutOut = 1 << 24;
// The device pixel ratio from which the double-size pictures are drawn.
constexpr qreal kDenseFrom = 1.5;

// Whether the attribute holds an integer (an optional sign, then a digit).
bool IsInteger(const QByteArray& value)
{
    const QByteArray text = value.trimmed();
    const qsizetype digit = (text.startsWith('-') || text.startsWith('+')) ? 1 : 0;
    return text.size() > digit && text[digit] >= '0' && text[digit] <= '9';
}

// The copies i of an axis that can touch [low, high); a little slack on both sides costs
// nothing, since the painter clips them.
void VisibleCopies(const Bitmap::Axis& axis, int low, int high, int* first, int* last)
{
    *first = 0;
    *last = axis.count - 1;
    if (axis.count <= 1 || axis.step == 0)
        return;
    const int64_t step = axis.step > 0 ? axis.step : -axis.step;
    int64_t from;
    int64_t to;
    if (axis.step > 0) {
        from = (int64_t(low) - axis.start) / step - 1;
        to = (int64_t(high) - axis.start) / step + 1;
    } else {
        from = (int64_t(axis.start) - high) / step - 1;
        to = (int64_t(axis.start) + axis.size - low) / step + 1;
    }
    *first = static_cast<int>(std::clamp<int64_t>(from, 0, axis.count - 1));
    *last = static_cast<int>(std::clamp<int64_t>(to, -1, axis.count - 1));
}

// The span [low, high) that all copies of an axis cover together.
std::pair<int64_t, int64_t> Covered(const Bitmap::Axis& axis)
{
    const int64_t lastStart = axis.start + int64_t(axis.step) * (axis.count - 1);
    return {std::min<int64_t>(axis.start, lastStart), std::max<int64_t>(axis.start, lastStart) + axis.size};
}

// What the painter can still change, in its own coordinates.
QRect VisibleArea(const QPainter& dc)
{
    QRect area;
    if (const QPaintDevice* device = dc.device())
        area = dc.worldTransform().inverted().mapRect(QRect(0, 0, device->width(), device->height()));
    if (dc.hasClipping())
        area = area.intersected(dc.clipBoundingRect().toAlignedRect());
    return area;
}
} // namespace

Bitmap::Bitmap(Skin* skin)
    : Rectangle(skin)
{
}

int64_t Bitmap::PlaceholderFor(int random)
{
    return static_cast<uint32_t>(kPlaceholderBase + static_cast<uint32_t>(random * kPlaceholderSpread / GP_RAND_MAX));
}

Bitmap::Axis Bitmap::PlaceAxis(int placement, bool anchoredFar, int low, int high, int pictureSize)
{
    Axis axis;
    const int span = high - low;
    axis.start = low;
    axis.size = pictureSize;
    if (placement == Tiled) {
        axis.count = pictureSize > 0 ? span / pictureSize + 1 : 1;
        if (anchoredFar)
            axis.start = high - pictureSize;
    } else if (placement == Stretched) {
        axis.size = span;
    } else if (placement == Centered) {
        axis.start = (low - pictureSize + high) / 2;
    }
    axis.step = anchoredFar ? -axis.size : axis.size;
    return axis;
}

void Bitmap::Read(const TiXmlElement& element)
{
    ReadCommon(element);
    m_picture = QImage();
    m_doublePicture = QImage();
    m_hPlacement = ReadPlacement(Attribute(element, "HPosition"));
    m_vPlacement = ReadPlacement(Attribute(element, "VPosition"));
    const QByteArray transparent = Attribute(element, "Transparent");
    m_transparent = transparent.isNull() ? -1 : int64_t(SwapColour(ReadNumber(transparent)));
    const QByteArray src = Attribute(element, "Src");
    if (!src.isNull())
        LoadPicture(SourcePath(src), element);
    ReadChildren(element);
}

void Bitmap::LoadPicture(const QString& path, const TiXmlElement& element)
{
    if (!IsPlainFile(path, "picture"))
        return;
    const QByteArray cut[] = {Attribute(element, "SrcX"), Attribute(element, "SrcY"),
                              Attribute(element, "SrcWidth"), Attribute(element, "SrcHeight")};
    std::optional<QRect> cutOut;
    if (std::all_of(std::begin(cut), std::end(cut), IsInteger)) {
        // Bounded first: a rectangle reaching past the 32-bit range has no right edge.
        auto bounded = [](const QByteArray& value, int low) { return std::clamp(ReadDecimal(value), low, kMaxCutOut); };
        cutOut = QRect(bounded(cut[0], -kMaxCutOut), bounded(cut[1], -kMaxCutOut), bounded(cut[2], 0), bounded(cut[3], 0));
    }
    m_picture = ReadCut(path, cutOut);
    if (!m_picture.isNull())
        LoadDoublePicture(path, cutOut);
}

void Bitmap::LoadDoublePicture(const QString& path, const std::optional<QRect>& cutOut)
{
    const QString doublePath = DoubleDensityPath(path);
    // Most pictures have no double-density version; that is not worth a log line.
    if (!QFileInfo(doublePath).isFile())
        return;
    std::optional<QRect> doubleCut;
    if (cutOut)
        doubleCut = QRect(cutOut->x() * 2, cutOut->y() * 2, cutOut->width() * 2, cutOut->height() * 2);
    const QImage picture = ReadCut(doublePath, doubleCut);
    if (picture.isNull())
        return;
    if (picture.size() != m_picture.size() * 2) {
        GP_Log(QStringLiteral("WINSKIN::Bitmap: \"%1\" is not twice the size of its picture, which is drawn alone\n")
                   .arg(doublePath));
        return;
    }
    m_doublePicture = picture;
}

QImage Bitmap::ReadCut(const QString& path, const std::optional<QRect>& cutOut) const
{
    QString error;
    QImage image;
    if (m_skin) {
        image = m_skin->ReadPicture(path, &error);
    } else {
        QImageReader reader(path);
        image = reader.read();
        error = reader.errorString();
    }
    if (image.isNull()) {
        GP_Log(QStringLiteral("WINSKIN::Bitmap: cannot read the picture \"%1\": %2\n").arg(path, error));
        return QImage();
    }
    if (cutOut) {
        // Only what lies inside the image can be cut; the rest would be made-up pixels of any size.
        const QRect inside = cutOut->intersected(image.rect());
        if (inside != *cutOut)
            GP_Log(QStringLiteral("WINSKIN::Bitmap: the cut-out of \"%1\" reaches outside the picture\n").arg(path));
        image = image.copy(inside);
    }
    image = image.convertToFormat(QImage::Format_ARGB32);
    if (m_transparent >= 0) {
        const QRgb key = ColourFromRef(static_cast<uint32_t>(m_transparent)).rgb() & RGB_MASK;
        for (int y = 0; y < image.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x) {
                if ((line[x] & RGB_MASK) == key)
                    line[x] = 0;
            }
        }
    }
    image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    // The reader marks "name@2x.png" as drawn for twice the density; the drawing here chooses
    // the scale itself, so every picture counts its own pixels.
    image.setDevicePixelRatio(1);
    return image;
}

QString Bitmap::DoubleDensityPath(const QString& path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    if (dot <= slash + 1)
        return path + QStringLiteral("@2x");
    return path.left(dot) + QStringLiteral("@2x") + path.mid(dot);
}

void Bitmap::Draw(QPainter& dc, const QRect& ownerRect, const CGP_StringSet& states, const QString& text)
{
    if (!Matches(states))
        return;
    const QRect rect = Resolve(ownerRect);
    dc.save();
    dc.setClipRect(rect, Qt::ReplaceClip);
    if (m_picture.width() * m_picture.height() == 0)
        DrawPlaceholder(dc, ownerRect);
    else
        DrawPicture(dc, rect);
    Rectangle::Draw(dc, ownerRect, states, text);
    dc.restore();
}

void Bitmap::DrawPlaceholder(QPainter& dc, const QRect& ownerRect)
{
    if (m_placeholder < 0)
        m_placeholder = PlaceholderFor(GP_rand());
    dc.fillRect(ownerRect, ColourFromRef(static_cast<uint32_t>(m_placeholder)));
}

void Bitmap::DrawPicture(QPainter& dc, const QRect& rect)
{
    const int right = rect.x() + rect.width();
    const int bottom = rect.y() + rect.height();
    const Axis h = PlaceAxis(m_hPlacement, m_x1.anchor == 1, rect.x(), right, m_picture.width());
    const Axis v = PlaceAxis(m_vPlacement, m_y1.anchor == 1, rect.y(), bottom, m_picture.height());
    // On a screen of twice the density the double-size picture fills the same rectangles.
    const bool dense = !m_doublePicture.isNull() && dc.device() && dc.device()->devicePixelRatio() >= kDenseFrom;
    const QImage& picture = dense ? m_doublePicture : m_picture;
    // Colour-on-colour stretching: every pixel is a copy of one picture pixel, so the cleared
    // transparent pixels stay exactly the ones the skin named.
    dc.setRenderHint(QPainter::SmoothPixmapTransform, false);
    const QRect visible = VisibleArea(dc);
    if (visible.isEmpty())
        return;
    if (m_hPlacement != Stretched && m_vPlacement != Stretched) {
        // Copies at their own size: one fill with the picture as a pattern, however many there are.
        const auto [left, rightEdge] = Covered(h);
        const auto [top, bottomEdge] = Covered(v);
        const QRect covered = QRect(QPoint(int(std::max<int64_t>(left, visible.left())), int(std::max<int64_t>(top, visible.top()))),
                                    QPoint(int(std::min<int64_t>(rightEdge, visible.right() + 1)) - 1,
                                           int(std::min<int64_t>(bottomEdge, visible.bottom() + 1)) - 1));
        if (covered.isEmpty())
            return;
        if (!dense) {
            dc.setBrushOrigin(h.start, v.start);
            dc.fillRect(covered, QBrush(picture));
            return;
        }
        // The double-size picture in half-size units: on a screen of twice the density every
        // picture pixel is one screen pixel, with no rounding of where the copies start.
        dc.save();
        dc.scale(0.5, 0.5);
        dc.setBrushOrigin(h.start * 2, v.start * 2);
        dc.fillRect(QRect(covered.topLeft() * 2, covered.size() * 2), QBrush(picture));
        dc.restore();
        return;
    }
    int firstColumn, lastColumn, firstRow, lastRow;
    VisibleCopies(h, visible.left(), visible.right() + 1, &firstColumn, &lastColumn);
    VisibleCopies(v, visible.top(), visible.bottom() + 1, &firstRow, &lastRow);
    for (int column = firstColumn; column <= lastColumn; ++column) {
        for (int row = firstRow; row <= lastRow; ++row) {
            const QRect target(h.start + column * h.step, v.start + row * v.step, h.size, v.size);
            dc.drawImage(target, picture);
        }
    }
}

} // namespace WINSKIN
