#include "skin/Region.h"

#include "shell/log/GP_LogFile.h"
#include "skin/RegionShapes.h"

#include <QFile>
#include <QPolygon>
#include <QtEndian>

#include <tinyxml.h>

#include <algorithm>

namespace WINSKIN {

namespace {
constexpr int kMaskHeaderBytes = 8;

bool BitSet(const QByteArray& bits, int64_t index)
{
    const int64_t byte = index / 8;
    if (byte >= bits.size())
        return false;
    return (static_cast<unsigned char>(bits[qsizetype(byte)]) >> (7 - index % 8)) & 1;
}

// The runs [left, right) of set bits in one row.
RowRuns MaskRow(const QByteArray& bits, int width, int y)
{
    RowRuns runs;
    const int64_t rowStart = int64_t(y) * width;
    for (int x = 0; x < width;) {
        if (!BitSet(bits, rowStart + x)) {
            ++x;
            continue;
        }
        const int left = x;
        while (x < width && BitSet(bits, rowStart + x))
            ++x;
        runs.emplace_back(left, x);
    }
    return runs;
}
} // namespace

Region::Region(Skin* skin)
    : Rectangle(skin)
{
}

void Region::Read(const TiXmlElement& element)
{
    ReadCommon(element);
    m_points.Clear();
    m_maskWidth = m_maskHeight = 0;
    m_maskBits.clear();
    m_maskRegion.reset();
    m_shape = ReadShape(Attribute(element, "Shape"));
    m_combineMode = ReadCombineMode(Attribute(element, "CombineMode"), Or);
    if (m_shape == RoundRect || m_shape == Polygon)
        ReadPoints(Attribute(element, "Data"));
    const QByteArray src = Attribute(element, "Src");
    if (m_shape == Arbitrary && !src.isNull())
        ReadMask(SourcePath(src));
    ReadChildren(element);
}

void Region::ReadPoints(const QByteArray& data)
{
    const QList<QByteArray> numbers = SplitWords(data);
    if (numbers.size() > 2 * kMaxRegionPoints)
        GP_Log(QStringLiteral("WINSKIN::Region: \"%1\" has more than %2 points, the rest left out\n")
                   .arg(m_name).arg(kMaxRegionPoints));
    const qsizetype count = std::min<qsizetype>(numbers.size() / 2, kMaxRegionPoints);
    for (qsizetype i = 0; i < count; ++i) {
        const int x = std::clamp(ReadDecimal(numbers[2 * i]), -kMaxSkinOffset, kMaxSkinOffset);
        const int y = std::clamp(ReadDecimal(numbers[2 * i + 1]), -kMaxSkinOffset, kMaxSkinOffset);
        m_points.Add(QPoint(x, y));
    }
}

void Region::ReadMask(const QString& path)
{
    if (!IsPlainFile(path, "mask"))
        return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        GP_Log(QStringLiteral("WINSKIN::Region: cannot open the mask \"%1\": %2\n").arg(path, file.errorString()));
        return;
    }
    const QByteArray header = file.read(kMaskHeaderBytes);
    if (header.size() < kMaskHeaderBytes) {
        GP_Log(QStringLiteral("WINSKIN::Region: the mask \"%1\" has no header\n").arg(path));
        return;
    }
    const int width = qFromLittleEndian<qint32>(header.constData());
    const int height = qFromLittleEndian<qint32>(header.constData() + 4);
    const int64_t pixels = int64_t(width) * height;
    if (pixels == 0)
        return;
    if (width < 0 || height < 0 || width > kMaxMaskSide || height > kMaxMaskSide || pixels > kMaxMaskPixels) {
        GP_Log(QStringLiteral("WINSKIN::Region: the mask \"%1\" claims %2 x %3 pixels\n").arg(path).arg(width).arg(height));
        return;
    }
    const qint64 bytes = (pixels + 7) / 8;
    m_maskBits = file.read(bytes);
    if (m_maskBits.size() < bytes)
        GP_Log(QStringLiteral("WINSKIN::Region: the mask \"%1\" is cut short; the missing pixels are left out\n").arg(path));
    m_maskWidth = width;
    m_maskHeight = height;
}

QRegion Region::MaskToRegion(const QByteArray& bits, int width, int height)
{
    // The same region as the union of one 1 x 1 rectangle per set pixel, made in bands
    // instead of one union per pixel.
    RegionRows rows;
    for (int y = 0; y < height; ++y) {
        RowRuns runs = MaskRow(bits, width, y);
        if (!runs.empty())
            rows.AddRow(y, std::move(runs));
    }
    return rows.Finish();
}

QRegion Region::Combine(const QRegion& parent, const QRegion& child, int mode)
{
    switch (mode) {
    case And:
        return parent.intersected(child);
    case Or:
        return parent.united(child);
    case Xor:
        return parent.xored(child);
    case Diff:
        return parent.subtracted(child);
    case Copy:
        return child;
    default:
        // The Windows call fails on an unknown mode and leaves the region as it was.
        return parent;
    }
}

QRegion Region::Shaped(const QRect& rect, const QRect& clip)
{
    switch (m_shape) {
    case Rect:
        return QRegion(rect.intersected(clip));
    case Elliptic:
        return EllipseRegion(rect, clip);
    case RoundRect: {
        const QPoint ellipse = m_points.IsEmpty() ? QPoint() : m_points[0];
        return RoundRectRegion(rect, QSize(ellipse.x(), ellipse.y()), clip);
    }
    case Polygon: {
        QPolygon polygon;
        for (const QPoint& point : m_points)
            polygon << point;
        return PolygonRegion(polygon.translated(rect.topLeft()), clip);
    }
    case Arbitrary:
        if (!m_maskRegion)
            m_maskRegion = MaskToRegion(m_maskBits, m_maskWidth, m_maskHeight);
        return m_maskRegion->translated(rect.topLeft()).intersected(clip);
    default:
        return QRegion();
    }
}

std::optional<QRegion> Region::Build(const QRect& ownerRect, const CGP_StringSet& states)
{
    if (!Matches(states))
        return std::nullopt;
    if (m_shape < Empty || m_shape > Arbitrary)
        return std::nullopt;
    const QRect rect = Resolve(ownerRect);
    // Every combine mode commutes with cutting to the window, so building each part within
    // it gives the whole shape within it.
    QRegion region = Shaped(rect, ownerRect);
    for (int i = 0; i < m_children.GetCount(); ++i) {
        Region* child = m_children[i]->AsRegion();
        if (!child)
            continue;
        if (const std::optional<QRegion> childRegion = child->Build(ownerRect, states))
            region = Combine(region, *childRegion, child->GetCombineMode());
    }
    return region;
}

} // namespace WINSKIN
