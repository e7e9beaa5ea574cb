#pragma once

#include "engine/GP_FastContainer.h"
#include "engine/GP_StringSet.h"
#include "skin/SkinValues.h"

#include <QByteArray>
#include <QPoint>
#include <QRect>
#include <QString>

class QPainter;
class TiXmlElement;

namespace WINSKIN {

class Skin;
class Object;
class Font;
class Bitmap;
class Text;
class Region;

// A child list never holds more entries than this; further children are read, not attached.
constexpr int kMaxChildren = 65534;
// Items reached through an item's children, counted with repeats, and how deep they go.
// Children may be references to items defined earlier, so without these limits a short file
// could make one Draw visit billions of items or recurse past the stack. The bound lets one item
// hold its full child list once and no more: a file that doubles its items level by level costs
// a paint no more than the longest list a skin may write.
constexpr int kMaxTreeItems = 1 << 16;
constexpr int kMaxTreeDepth = 64;

// The base of every skin item: four anchored corners, a hit-test result, state words, a name
// and children. Children belong to the skin's item list; an item only points at them.
class Rectangle
{
public:
    explicit Rectangle(Skin* skin);
    virtual ~Rectangle();

    Rectangle(const Rectangle&) = delete;
    Rectangle& operator=(const Rectangle&) = delete;

    // Reads the item from its element: common attributes, then the kind's, then children.
    virtual void Read(const TiXmlElement& element);
    // Draws the item for a window in the given states; text is the window's own text.
    virtual void Draw(QPainter& dc, const QRect& ownerRect, const CGP_StringSet& states, const QString& text);
    virtual Text* FindText();
    // What the point is over: the first non-zero answer of the children (last to first), else
    // this item's hit result when the point lies in its rectangle, else 0.
    virtual int HitTest(const QRect& ownerRect, const QPoint& point);
    // This item or the first one depth-first whose attributes hold every one of the words.
    virtual Rectangle* FindMatch(const CGP_StringSet& words);
    virtual Object* AsObject() { return nullptr; }
    virtual Font* AsFont() { return nullptr; }
    virtual Bitmap* AsBitmap() { return nullptr; }
    virtual Text* AsText() { return nullptr; }
    virtual Region* AsRegion() { return nullptr; }

    // Whether the item is drawn in these states: every one of its words is among them.
    bool Matches(const CGP_StringSet& states) const;
    // The item's corners resolved against the owner rectangle, normalised.
    QRect Resolve(const QRect& ownerRect) const;

    const QString& Name() const { return m_name; }
    const CGP_StringSet& Attributes() const { return m_attributes; }
    int GetHitResult() const { return m_hitResult; }
    Coordinate X1() const { return m_x1; }
    Coordinate Y1() const { return m_y1; }
    Coordinate X2() const { return m_x2; }
    Coordinate Y2() const { return m_y2; }
    Skin* GetSkin() const { return m_skin; }
    int GetChildCount() const { return m_children.GetCount(); }
    Rectangle* GetChild(int index) const { return m_children[index]; }

    // Attaches a child unless the list is full or the item would grow past the tree limits;
    // answers whether it did.
    bool AddChild(Rectangle* child);

protected:
    void ReadCommon(const TiXmlElement& element);
    void ReadChildren(const TiXmlElement& element);
    void DrawChildren(QPainter& dc, const QRect& ownerRect, const CGP_StringSet& states, const QString& text);
    // Counts the item's tree into this one's, unless that passes the tree limits.
    bool CountInTree(const Rectangle* item);
    // The children's answer, last to first; 0 when none has one.
    int HitTestChildren(const QRect& ownerRect, const QPoint& point);

    // The attribute's text, or a null array when the element does not have it.
    static QByteArray Attribute(const TiXmlElement& element, const char* name);
    // A file named by the item, relative to the skin file's folder.
    QString SourcePath(const QByteArray& src) const;
    // Whether the path names a regular file; logs one line when not. A skin may name a
    // device or a pipe, which would block the loader or never end.
    static bool IsPlainFile(const QString& path, const char* what);

    Coordinate m_x1;
    Coordinate m_y1;
    Coordinate m_x2;
    Coordinate m_y2;
    Skin* m_skin;
    CGP_FastContainer<Rectangle*> m_children;
    int m_hitResult = 0;
    CGP_StringSet m_attributes;
    QString m_name;

private:
    int m_treeItems = 1;
    int m_treeDepth = 1;
    bool m_childrenFull = false;
};

} // namespace WINSKIN
