#pragma once

#include <QByteArray>
#include <QString>

// The checks a skin file passes before the XML parser sees it. The parser trusts its input:
// a truncated UTF-8 sequence makes it loop for ever (CVE-2021-42260) or read past the end,
// and deep nesting exhausts the stack, since it parses elements recursively.
namespace WINSKIN {

constexpr qsizetype kMaxSkinFileBytes = 2 * 1024 * 1024;
// Elements inside elements, counting the root; a real skin needs a handful.
constexpr int kMaxSkinNesting = 64;

// Empty when the text is safe to parse, else why it is not (for the log line).
QString CheckSkinText(const QByteArray& text);

// Whether the bytes are well-formed UTF-8: no truncated, overlong or surrogate sequences and
// nothing past U+10FFFF.
bool IsWellFormedUtf8(const QByteArray& text);

// The deepest element nesting, read the way the parser will read it (comments, CDATA,
// declarations and quoted attribute values do not nest).
int ElementNesting(const QByteArray& text);

} // namespace WINSKIN
