#pragma once

#include "skin/Rectangle.h"

#include <QColor>

#include <cstdint>

namespace WINSKIN {

// A text style: font, colours, background mode and the text drawing flags. It draws the
// window's own text into its rectangle.
class Text : public Rectangle
{
public:
    static constexpr int kTransparent = 1;
    static constexpr int kOpaque = 2;

    explicit Text(Skin* skin);

    void Read(const TiXmlElement& element) override;
    void Draw(QPainter& dc, const QRect& ownerRect, const CGP_StringSet& states, const QString& text) override;
    Text* AsText() override { return this; }

    Font* GetFont() const { return m_font; }
    // Colours in the Windows order 0x00BBGGRR.
    uint32_t TextColour() const { return m_textColour; }
    uint32_t BgColour() const { return m_bgColour; }
    int BgMode() const { return m_bgMode; }
    uint32_t Format() const { return m_format; }

    // Draws a text into a rectangle the way the Windows text drawing call does with the flags,
    // over a background of that colour unless it is invalid (transparent).
    static void DrawFormatted(QPainter& dc, const QRect& rect, const QString& text, uint32_t format,
                              const QColor& background);

private:
    Font* m_font = nullptr;
    uint32_t m_textColour = 0;
    uint32_t m_bgColour = 0xFFFFFF;
    int m_bgMode = kOpaque;
    uint32_t m_format = 0;
};

// A Windows colour value (0x00BBGGRR) as a colour.
QColor ColourFromRef(uint32_t colourRef);

} // namespace WINSKIN
