#pragma once

#include "skin/Rectangle.h"

#include <QByteArray>
#include <QRegion>

#include <optional>

namespace WINSKIN {

// Largest mask a skin may give: more pixels than any window of the game has.
constexpr int kMaxMaskSide = 4096;
constexpr int64_t kMaxMaskPixels = int64_t(2048) * 2048;
// Numbers in a region's "Data" list.
constexpr int kMaxRegionPoints = 8192;

// A window shape over the item's rectangle: empty, rectangle, ellipse, rounded rectangle,
// polygon or a mask read from a file, with child regions combined into it.
class Region : public Rectangle
{
public:
    enum Shape { Empty = 0, Rect = 1, Elliptic = 2, RoundRect = 3, Polygon = 4, Arbitrary = 5 };
    enum CombineMode { And = 1, Or = 2, Xor = 3, Diff = 4, Copy = 5 };

    explicit Region(Skin* skin);

    void Read(const TiXmlElement& element) override;
    Region* AsRegion() override { return this; }

    // The shape for a window in these states over the owner rectangle (the window), within
    // that rectangle; none when the item does not match the states or its shape is unknown.
    std::optional<QRegion> Build(const QRect& ownerRect, const CGP_StringSet& states);

    int GetShape() const { return m_shape; }
    int GetCombineMode() const { return m_combineMode; }
    const CGP_FastContainer<QPoint>& Points() const { return m_points; }
    int MaskWidth() const { return m_maskWidth; }
    int MaskHeight() const { return m_maskHeight; }

    // The region of the set bits of a mask (rows not padded, most significant bit first).
    static QRegion MaskToRegion(const QByteArray& bits, int width, int height);
    // Combines a child's region into a parent's by a combine mode.
    static QRegion Combine(const QRegion& parent, const QRegion& child, int mode);

private:
    void ReadPoints(const QByteArray& data);
    void ReadMask(const QString& path);
    QRegion Shaped(const QRect& rect, const QRect& clip);

    int m_shape = Empty;
    CGP_FastContainer<QPoint> m_points;
    int m_combineMode = Or;
    int m_maskWidth = 0;
    int m_maskHeight = 0;
    QByteArray m_maskBits;
    std::optional<QRegion> m_maskRegion;
};

} // namespace WINSKIN
