#include "skin/Object.h"

#include "skin/Font.h"
#include "skin/Region.h"
#include "skin/Skin.h"

#include <QPainter>

#include <tinyxml.h>

namespace WINSKIN {

namespace {
constexpr int kHitClient = 1;

Rectangle* Named(Skin* skin, const QByteArray& name)
{
    if (!skin || name.isNull())
        return nullptr;
    return skin->FindByName(QString::fromUtf8(name));
}
} // namespace

Object::Object(Skin* skin)
    : Rectangle(skin)
{
}

void Object::Read(const TiXmlElement& element)
{
    ReadCommon(element);
    if (m_hitResult == 0)
        m_hitResult = kHitClient;
    if (Rectangle* font = Named(m_skin, Attribute(element, "Font")))
        m_font = font->AsFont();
    if (Rectangle* region = Named(m_skin, Attribute(element, "Region")))
        m_region = region->AsRegion();
    m_id1 = ReadDecimal(Attribute(element, "ID1"));
    m_id2 = ReadDecimal(Attribute(element, "ID2"));
    m_clientArea = Named(m_skin, Attribute(element, "ClientArea"));
    // The hit test asks the client area like a child: it may not hold the object, and it
    // counts towards the object's tree.
    if (m_clientArea && (m_skin->IsBeingRead(m_clientArea) || !CountInTree(m_clientArea)))
        m_clientArea = nullptr;
    m_minWidth = ReadDecimal(Attribute(element, "MinWidth"));
    m_minHeight = ReadDecimal(Attribute(element, "MinHeight"));
    m_maxWidth = ReadDecimal(Attribute(element, "MaxWidth"));
    m_maxHeight = ReadDecimal(Attribute(element, "MaxHeight"));
    ReadChildren(element);
}

void Object::Draw(QPainter& dc, const QRect& ownerRect, const CGP_StringSet& states, const QString& text)
{
    if (m_font)
        m_font->Select(dc);
    dc.save();
    dc.setClipRect(ownerRect, Qt::ReplaceClip);
    DrawChildren(dc, ownerRect, states, text);
    dc.restore();
    if (m_font)
        m_font->Deselect(dc);
}

int Object::HitTest(const QRect& ownerRect, const QPoint& point)
{
    if (m_clientArea) {
        const QRect clientRect = m_clientArea->Resolve(ownerRect);
        if (const int result = m_clientArea->HitTest(clientRect, point))
            return result;
    }
    if (const int result = HitTestChildren(ownerRect, point))
        return result;
    return ownerRect.contains(point) ? m_hitResult : 0;
}

} // namespace WINSKIN
