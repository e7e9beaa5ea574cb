#include "skin/SkinFileCheck.h"

#include <algorithm>

namespace WINSKIN {

namespace {
bool IsContinuation(unsigned char c)
{
    return (c & 0xC0) == 0x80;
}

// The length of the UTF-8 sequence starting at i, or 0 when it is not a well-formed one.
int SequenceLength(const unsigned char* p, qsizetype remaining)
{
    const unsigned char lead = p[0];
    int length;
    uint32_t codePoint;
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        codePoint = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        codePoint = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        codePoint = lead & 0x07;
    } else {
        return 0;
    }
    if (remaining < length)
        return 0;
    for (int i = 1; i < length; ++i) {
        if (!IsContinuation(p[i]))
            return 0;
        codePoint = (codePoint << 6) | (p[i] & 0x3F);
    }
    const uint32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (codePoint < smallest[length] || codePoint > 0x10FFFF)
        return 0;
    if (codePoint >= 0xD800 && codePoint <= 0xDFFF)
        return 0;
    return length;
}

bool IsNameStart(unsigned char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c >= 0x80;
}

// Index just past the first `end` at or after `from`, or the text's size when there is none.
qsizetype SkipPast(const QByteArray& text, qsizetype from, const char* end)
{
    const qsizetype found = text.indexOf(end, from);
    return found < 0 ? text.size() : found + qsizetype(qstrlen(end));
}

// Index just past the '>' that ends the tag starting at `from`; quoted values may hold '>'.
// selfClosing tells whether the tag ended with "/>".
qsizetype SkipTag(const QByteArray& text, qsizetype from, bool* selfClosing)
{
    *selfClosing = false;
    char quote = 0;
    for (qsizetype i = from; i < text.size(); ++i) {
        const char c = text[i];
        if (quote) {
            if (c == quote)
                quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '>') {
            *selfClosing = i > from && text[i - 1] == '/';
            return i + 1;
        }
    }
    return text.size();
}
} // namespace

bool IsWellFormedUtf8(const QByteArray& text)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.constData());
    for (qsizetype i = 0; i < text.size();) {
        const int length = SequenceLength(bytes + i, text.size() - i);
        if (length == 0)
            return false;
        i += length;
    }
    return true;
}

int ElementNesting(const QByteArray& text)
{
    int depth = 0;
    int deepest = 0;
    qsizetype i = 0;
    while (i < text.size()) {
        i = text.indexOf('<', i);
        if (i < 0)
            break;
        const QByteArray rest = text.mid(i, 9);
        if (rest.startsWith("<!--")) {
            i = SkipPast(text, i + 4, "-->");
        } else if (rest.startsWith("<![CDATA[")) {
            i = SkipPast(text, i + 9, "]]>");
        } else if (rest.startsWith("</")) {
            depth = std::max(0, depth - 1);
            i = SkipPast(text, i + 2, ">");
        } else if (i + 1 < text.size() && IsNameStart(static_cast<unsigned char>(text[i + 1]))) {
            bool selfClosing = false;
            i = SkipTag(text, i + 1, &selfClosing);
            if (!selfClosing)
                deepest = std::max(deepest, ++depth);
            else
                deepest = std::max(deepest, depth + 1);
        } else {
            // Declarations and anything the parser does not know end at the first '>'.
            i = SkipPast(text, i + 1, ">");
        }
    }
    return deepest;
}

QString CheckSkinText(const QByteArray& text)
{
    if (text.size() > kMaxSkinFileBytes)
        return QStringLiteral("file larger than %1 bytes").arg(kMaxSkinFileBytes);
    if (text.contains('\0'))
        return QStringLiteral("file holds a NUL byte");
    if (!IsWellFormedUtf8(text))
        return QStringLiteral("file is not well-formed UTF-8");
    const int nesting = ElementNesting(text);
    if (nesting > kMaxSkinNesting)
        return QStringLiteral("elements nested %1 deep (at most %2)").arg(nesting).arg(kMaxSkinNesting);
    return {};
}

} // namespace WINSKIN
