#pragma once

#include "skin/Rectangle.h"

#include <QFont>
#include <QSize>

#include <optional>
#include <vector>

namespace WINSKIN {

// A font: a stock font, or one made from a face, a size in points and style bits, with an
// optional font file that is added to the program's fonts while the item lives.
class Font : public Rectangle
{
public:
    enum Style { Bold = 1, Italic = 2, Underline = 4, StrikeOut = 8 };

    explicit Font(Skin* skin);
    ~Font() override;

    void Read(const TiXmlElement& element) override;
    Font* AsFont() override { return this; }

    // Puts the font on the painter and remembers the one it replaced; without a font the
    // painter keeps its own.
    void Select(QPainter& dc);
    // Puts the remembered font back and forgets it.
    void Deselect(QPainter& dc);

    // The font in use (the created one, else the stock one), if any.
    const std::optional<QFont>& GetFont() const { return m_inUse; }
    // The size of the letter "A" in that font.
    QSize LetterSize() const { return m_letterSize; }

    // The pixel height of a size in points on a screen with that many pixels per inch,
    // rounded as the Windows MulDiv does.
    static int PixelHeight(int points, int dotsPerInch);

private:
    void RemoveFontFile();

    std::optional<QFont> m_created;
    std::optional<QFont> m_stock;
    std::optional<QFont> m_inUse;
    // The same font may be selected again while selected (an object's font and its text's);
    // each selection remembers its own replaced font.
    std::vector<QFont> m_replaced;
    QSize m_letterSize;
    int m_fontFileId = -1;
};

} // namespace WINSKIN
