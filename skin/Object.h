#pragma once

#include "skin/Rectangle.h"

namespace WINSKIN {

// A named group of items that one window wears: its font, its window shape, its client area,
// its size limits, and the two identifiers that tell apart objects of the same name.
class Object : public Rectangle
{
public:
    explicit Object(Skin* skin);

    void Read(const TiXmlElement& element) override;
    // Selects the font, clips to the owner rectangle and lets every child draw; the object
    // itself paints nothing.
    void Draw(QPainter& dc, const QRect& ownerRect, const CGP_StringSet& states, const QString& text) override;
    // The client area first (its rectangle resolved inside the area's own), then the children
    // last to first, then the object's own result anywhere in the owner rectangle.
    int HitTest(const QRect& ownerRect, const QPoint& point) override;
    Object* AsObject() override { return this; }

    int ID1() const { return m_id1; }
    int ID2() const { return m_id2; }
    int MinWidth() const { return m_minWidth; }
    int MinHeight() const { return m_minHeight; }
    int MaxWidth() const { return m_maxWidth; }
    int MaxHeight() const { return m_maxHeight; }
    Rectangle* ClientArea() const { return m_clientArea; }
    Font* GetFont() const { return m_font; }
    Region* GetRegion() const { return m_region; }

private:
    int m_id1 = 0;
    int m_id2 = 0;
    int m_minWidth = 0;
    int m_minHeight = 0;
    int m_maxWidth = 0;
    int m_maxHeight = 0;
    Rectangle* m_clientArea = nullptr;
    Font* m_font = nullptr;
    Region* m_region = nullptr;
};

} // namespace WINSKIN
