#include "skin/SkinValues.h"

#include <QList>

#include <algorithm>
#include <climits>

namespace WINSKIN {

namespace {
constexpr std::pair<const char*, int> kHitTestNames[] = {
    {"HTERROR", -2},    {"HTTRANSPARENT", -1}, {"HTNOWHERE", 0},    {"HTCLIENT", 1},
    {"HTCAPTION", 2},   {"HTSYSMENU", 3},      {"HTGROWBOX", 4},    {"HTMENU", 5},
    {"HTHSCROLL", 6},   {"HTVSCROLL", 7},      {"HTTOPLEFT", 13},   {"HTBOTTOM", 15},
    {"HTBOTTOMLEFT", 16}, {"HTBOTTOMRIGHT", 17}, {"HTBORDER", 18},  {"HTREDUCE", 8},
    {"HTZOOM", 9},      {"HTSIZE", 4},         {"HTLEFT", 10},      {"HTRIGHT", 11},
    {"HTTOP", 12},      {"HTTOPRIGHT", 14},
};

constexpr std::pair<const char*, uint32_t> kFormatWords[] = {
    {"DT_CENTER", DT_CENTER},         {"DT_RIGHT", DT_RIGHT},
    {"DT_VCENTER", DT_VCENTER},       {"DT_BOTTOM", DT_BOTTOM},
    {"DT_WORDBREAK", DT_WORDBREAK},   {"DT_SINGLELINE", DT_SINGLELINE},
    {"DT_EXPANDTABS", DT_EXPANDTABS}, {"DT_NOPREFIX", DT_NOPREFIX},
    {"DT_PATH_ELLIPSIS", DT_PATH_ELLIPSIS}, {"DT_END_ELLIPSIS", DT_END_ELLIPSIS},
};

constexpr std::pair<const char*, int> kPlacementWords[] = {
    {"Tiled", 1}, {"Stretched", 2}, {"Centered", 3}};

constexpr std::pair<const char*, int> kShapeWords[] = {
    {"EMPTY", 0}, {"RECTANGLE", 1}, {"ELLIPTIC", 2}, {"ROUNDRECT", 3}, {"POLYGON", 4}, {"ARBITRARY", 5}};

constexpr std::pair<const char*, int> kCombineWords[] = {
    {"RGN_AND", 1}, {"RGN_OR", 2}, {"RGN_XOR", 3}, {"RGN_DIFF", 4}, {"RGN_COPY", 5}};

template <typename Table>
bool LookUp(const Table& table, const QByteArray& word, int* value)
{
    for (const auto& [name, code] : table) {
        if (word == name) {
            *value = static_cast<int>(code);
            return true;
        }
    }
    return false;
}

bool IsSeparator(char c)
{
    return c == ' ' || c == '\r' || c == '\n';
}

int64_t ReadDigits(const char* text, int base)
{
    constexpr int64_t kCeiling = int64_t(1) << 40; // far past 32 bits; stops the growth
    int64_t value = 0;
    for (; *text; ++text) {
        int digit;
        const char c = *text;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            break;
        value = std::min(value * base + digit, kCeiling);
    }
    return value;
}
} // namespace

int ReadDecimal(const char* text)
{
    if (!text)
        return 0;
    while (*text == ' ' || *text == '\t' || *text == '\r' || *text == '\n')
        ++text;
    bool negative = false;
    if (*text == '+' || *text == '-') {
        negative = *text == '-';
        ++text;
    }
    const int64_t value = negative ? -ReadDigits(text, 10) : ReadDigits(text, 10);
    return static_cast<int>(std::clamp<int64_t>(value, INT_MIN, INT_MAX));
}

int ReadDecimal(const QByteArray& text)
{
    return ReadDecimal(text.constData());
}

int64_t ReadNumber(const QByteArray& text)
{
    const QByteArray trimmed = text.trimmed();
    if (trimmed.startsWith("0x") || trimmed.startsWith("0X"))
        return ReadDigits(trimmed.constData() + 2, 16);
    return ReadDecimal(trimmed);
}

uint32_t SwapColour(int64_t rgb)
{
    const uint32_t value = static_cast<uint32_t>(rgb);
    return ((value & 0xFF) << 16) | (value & 0xFF00) | ((value >> 16) & 0xFF);
}

int HitTestCode(const QByteArray& name, bool* ok)
{
    int code = 0;
    *ok = LookUp(kHitTestNames, name.trimmed(), &code);
    return code;
}

QList<QByteArray> SplitWords(const QByteArray& text)
{
    QList<QByteArray> words;
    qsizetype start = -1;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        const bool separator = i == text.size() || IsSeparator(text[i]);
        if (separator && start >= 0) {
            words.append(text.mid(start, i - start));
            start = -1;
        } else if (!separator && start < 0) {
            start = i;
        }
    }
    return words;
}

Coordinate ReadCoordinate(const QByteArray& text)
{
    Coordinate coordinate;
    coordinate.offset = std::clamp(ReadDecimal(text), -kMaxSkinOffset, kMaxSkinOffset);
    const qsizetype comma = text.indexOf(',');
    if (comma < 0)
        return coordinate;
    const QByteArray anchor = text.mid(comma + 1).trimmed();
    if (anchor == "RightBottom" || anchor == "rb")
        coordinate.anchor = 1;
    return coordinate;
}

uint32_t ReadTextFormat(const QByteArray& text)
{
    const int64_t number = ReadNumber(text);
    if (number != 0)
        return static_cast<uint32_t>(number);
    uint32_t flags = 0;
    for (const QByteArray& word : SplitWords(text)) {
        int flag = 0;
        if (LookUp(kFormatWords, word, &flag))
            flags |= static_cast<uint32_t>(flag);
    }
    return flags;
}

int ReadPlacement(const QByteArray& text)
{
    int placement = 0;
    LookUp(kPlacementWords, text.trimmed(), &placement);
    return placement;
}

int ReadShape(const QByteArray& text)
{
    int shape = ReadDecimal(text);
    LookUp(kShapeWords, text.trimmed(), &shape);
    return shape;
}

int ReadCombineMode(const QByteArray& text, int fallback)
{
    int mode = ReadDecimal(text);
    if (mode == 0)
        mode = fallback;
    LookUp(kCombineWords, text.trimmed(), &mode);
    return mode;
}

} // namespace WINSKIN
