#pragma once

#include "skin/Rectangle.h"

#include <QImage>

#include <cstdint>
#include <optional>

namespace WINSKIN {

// A picture cut from an image file and how it fills the item's rectangle: once, tiled,
// stretched or centred on each axis, with an optional colour that is not drawn.
class Bitmap : public Rectangle
{
public:
    enum Placement { None = 0, Tiled = 1, Stretched = 2, Centered = 3 };

    // One axis of the placement: where the first copy starts, how large each copy is drawn,
    // the step to the next copy and how many copies there are.
    struct Axis
    {
        int start = 0;
        int size = 0;
        int step = 0;
        int count = 1;
        bool operator==(const Axis&) const = default;
    };

    explicit Bitmap(Skin* skin);

    void Read(const TiXmlElement& element) override;
    void Draw(QPainter& dc, const QRect& ownerRect, const CGP_StringSet& states, const QString& text) override;
    Bitmap* AsBitmap() override { return this; }

    // The picture, premultiplied, with the transparent colour already cleared to nothing.
    const QImage& Picture() const { return m_picture; }
    // The same picture drawn at twice the size ("name@2x.png" beside the picture, cut at twice
    // the place and size), for screens of twice the density; null when the skin has none.
    const QImage& DoublePicture() const { return m_doublePicture; }
    // The file of a picture's double-density version: "bitmaps/button.png" gives
    // "bitmaps/button@2x.png".
    static QString DoubleDensityPath(const QString& path);
    int HPlacement() const { return m_hPlacement; }
    int VPlacement() const { return m_vPlacement; }
    // 0x00BBGGRR, or -1 when every pixel is drawn.
    int64_t TransparentColour() const { return m_transparent; }
    // The colour an item without a picture is filled with, chosen on first use (-1 before).
    int64_t PlaceholderColour() const { return m_placeholder; }

    // Places a picture of pictureSize along the span [low, high) of the item's rectangle;
    // anchoredFar when the item's first corner is anchored to the right/bottom.
    static Axis PlaceAxis(int placement, bool anchoredFar, int low, int high, int pictureSize);
    // The placeholder colour for one draw of the run-time's random generator.
    static int64_t PlaceholderFor(int random);

private:
    void LoadPicture(const QString& path, const TiXmlElement& element);
    void LoadDoublePicture(const QString& path, const std::optional<QRect>& cutOut);
    // The picture file, cut and keyed, premultiplied; null (with one log line) when it cannot
    // be read.
    QImage ReadCut(const QString& path, const std::optional<QRect>& cutOut) const;
    void DrawPlaceholder(QPainter& dc, const QRect& ownerRect);
    void DrawPicture(QPainter& dc, const QRect& rect);

    QImage m_picture;
    QImage m_doublePicture;
    int m_hPlacement = None;
    int m_vPlacement = None;
    int64_t m_transparent = -1;
    int64_t m_placeholder = -1;
};

} // namespace WINSKIN
