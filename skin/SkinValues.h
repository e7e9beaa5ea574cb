#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <cstdint>

// How the texts of a skin file become numbers: coordinates, colours, hit-test names, text
// drawing flags and the words of the placement, shape and combine attributes.
namespace WINSKIN {

// Offsets and sizes a skin file may give. Real windows are far smaller; the limits keep a
// hostile file from making regions, loops or pictures of absurd size.
constexpr int kMaxSkinOffset = 32767;

// Text drawing flags, with the numbers they have in skin files.
enum TextFormatFlag : uint32_t {
    DT_CENTER = 0x1,
    DT_RIGHT = 0x2,
    DT_VCENTER = 0x4,
    DT_BOTTOM = 0x8,
    DT_WORDBREAK = 0x10,
    DT_SINGLELINE = 0x20,
    DT_EXPANDTABS = 0x40,
    DT_NOPREFIX = 0x800,
    DT_PATH_ELLIPSIS = 0x4000,
    DT_END_ELLIPSIS = 0x8000,
};

// One corner coordinate: an offset from the owner's left/top edge (anchor 0) or inward from
// its right/bottom edge (anchor 1).
struct Coordinate
{
    int anchor = 0;
    int offset = 0;
    bool operator==(const Coordinate&) const = default;
};

// "12", "12,lt", "12,LeftTop", "8,rb", "8,RightBottom"; any other word after the comma is
// left/top. The offset is kept within kMaxSkinOffset.
Coordinate ReadCoordinate(const QByteArray& text);

// The usual decimal reading: blanks skipped, an optional sign, digits up to the first
// non-digit; nothing readable gives 0, and values past 32 bits stop at the 32-bit limits.
int ReadDecimal(const char* text);
int ReadDecimal(const QByteArray& text);

// Decimal, or hexadecimal after "0x"; nothing readable gives 0.
int64_t ReadNumber(const QByteArray& text);

// A 0xRRGGBB value stored in the Windows colour order 0x00BBGGRR.
uint32_t SwapColour(int64_t rgb);

// The code of a hit-test name ("HTCAPTION" -> 2); ok tells whether the name is known.
int HitTestCode(const QByteArray& name, bool* ok);

// "Attributes"-style word lists: blanks, carriage returns and line feeds separate words.
QList<QByteArray> SplitWords(const QByteArray& text);

// "Format": a non-zero number is the flags themselves, otherwise the DT_ words add up.
uint32_t ReadTextFormat(const QByteArray& text);

// "HPosition"/"VPosition": 1 tiled, 2 stretched, 3 centred, 0 for anything else.
int ReadPlacement(const QByteArray& text);

// "Shape": a number, replaced by a matching word ("EMPTY" 0 ... "ARBITRARY" 5).
int ReadShape(const QByteArray& text);

// "CombineMode": a non-zero number as is, replaced by a matching word ("RGN_AND" 1 ...).
int ReadCombineMode(const QByteArray& text, int fallback);

} // namespace WINSKIN
