#include "skin/Text.h"

#include "skin/Font.h"
#include "skin/Skin.h"

#include <QFontMetrics>
#include <QPainter>

#include <tinyxml.h>

namespace WINSKIN {

namespace {
Qt::Alignment Alignment(uint32_t format)
{
    Qt::Alignment alignment = Qt::AlignLeft;
    if (format & DT_CENTER)
        alignment = Qt::AlignHCenter;
    else if (format & DT_RIGHT)
        alignment = Qt::AlignRight;
    // Vertical placement only applies to single lines, as with the Windows call.
    if (!(format & DT_SINGLELINE))
        return alignment | Qt::AlignTop;
    if (format & DT_VCENTER)
        return alignment | Qt::AlignVCenter;
    if (format & DT_BOTTOM)
        return alignment | Qt::AlignBottom;
    return alignment | Qt::AlignTop;
}

// Keeps the last part of a path ("...\Puzzles\simple\Cat.pzl") and cuts the middle.
QString ElidePath(const QFontMetrics& metrics, const QString& line, int width)
{
    if (metrics.horizontalAdvance(line) <= width)
        return line;
    const qsizetype separator = std::max(line.lastIndexOf(QLatin1Char('\\')), line.lastIndexOf(QLatin1Char('/')));
    if (separator <= 0)
        return metrics.elidedText(line, Qt::ElideMiddle, width);
    const QString tail = line.mid(separator);
    const int headWidth = width - metrics.horizontalAdvance(tail);
    if (headWidth <= 0)
        return metrics.elidedText(tail, Qt::ElideLeft, width);
    return metrics.elidedText(line.left(separator), Qt::ElideRight, headWidth) + tail;
}

// The text as it is shown: line by line, elided to the width when the flags ask for it.
QString Elided(const QFontMetrics& metrics, const QString& text, int width, uint32_t format)
{
    const bool endEllipsis = format & DT_END_ELLIPSIS;
    const bool pathEllipsis = format & DT_PATH_ELLIPSIS;
    if (!endEllipsis && !pathEllipsis)
        return text;
    QStringList lines = (format & DT_SINGLELINE) ? QStringList{text} : text.split(QLatin1Char('\n'));
    for (QString& line : lines)
        line = pathEllipsis ? ElidePath(metrics, line, width) : metrics.elidedText(line, Qt::ElideRight, width);
    return lines.join(QLatin1Char('\n'));
}
} // namespace

QColor ColourFromRef(uint32_t colourRef)
{
    return QColor(colourRef & 0xFF, (colourRef >> 8) & 0xFF, (colourRef >> 16) & 0xFF);
}

Text::Text(Skin* skin)
    : Rectangle(skin)
{
}

void Text::Read(const TiXmlElement& element)
{
    ReadCommon(element);
    const QByteArray font = Attribute(element, "Font");
    if (!font.isNull() && m_skin) {
        if (Rectangle* item = m_skin->FindByName(QString::fromUtf8(font)))
            m_font = item->AsFont();
    }
    const QByteArray colour = Attribute(element, "Color");
    if (!colour.isNull())
        m_textColour = SwapColour(ReadNumber(colour));
    const QByteArray bgColour = Attribute(element, "BgColor");
    if (!bgColour.isNull())
        m_bgColour = SwapColour(ReadNumber(bgColour));
    m_bgMode = Attribute(element, "BgMode").trimmed() == "TRANSPARENT" ? kTransparent : kOpaque;
    m_format = ReadTextFormat(Attribute(element, "Format"));
    ReadChildren(element);
}

void Text::DrawFormatted(QPainter& dc, const QRect& rect, const QString& text, uint32_t format, const QColor& background)
{
    int flags = int(Alignment(format));
    if (format & DT_SINGLELINE)
        flags |= Qt::TextSingleLine;
    else if (format & DT_WORDBREAK)
        flags |= Qt::TextWordWrap;
    if (format & DT_EXPANDTABS)
        flags |= Qt::TextExpandTabs;
    // Without DT_NOPREFIX an ampersand underlines the next letter and "&&" shows one.
    if (!(format & DT_NOPREFIX))
        flags |= Qt::TextShowMnemonic;
    QString shown = text;
    if (format & DT_SINGLELINE)
        shown.replace(QLatin1Char('\n'), QLatin1Char(' '));
    shown = Elided(dc.fontMetrics(), shown, rect.width(), format);
    // An opaque background fills the cells of the text, not the whole rectangle.
    if (background.isValid())
        dc.fillRect(dc.boundingRect(rect, flags, shown).intersected(rect), background);
    dc.drawText(rect, flags, shown);
}

void Text::Draw(QPainter& dc, const QRect& ownerRect, const CGP_StringSet& states, const QString& text)
{
    if (!Matches(states))
        return;
    const QRect rect = Resolve(ownerRect);
    if (m_font)
        m_font->Select(dc);
    dc.save();
    dc.setPen(ColourFromRef(m_textColour));
    if (!text.isEmpty())
        DrawFormatted(dc, rect, text, m_format, m_bgMode == kTransparent ? QColor() : ColourFromRef(m_bgColour));
    dc.restore();
    if (m_font)
        m_font->Deselect(dc);
}

} // namespace WINSKIN
