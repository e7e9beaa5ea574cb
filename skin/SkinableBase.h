#pragma once

#include "engine/GP_FastContainer.h"
#include "engine/GP_StringSet.h"

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QRegion>
#include <QSize>
#include <QString>

class QEvent;
class QFont;
class QPainter;
class QWidget;

namespace WINSKIN {

class Object;
class Skin;

// Hit-test results a skin may answer, with their Windows numbers.
enum HitCode : int {
    HTTRANSPARENT = -1,
    HTNOWHERE = 0,
    HTCLIENT = 1,
    HTCAPTION = 2,
    HTLEFT = 10,
    HTRIGHT = 11,
    HTTOP = 12,
    HTTOPLEFT = 13,
    HTTOPRIGHT = 14,
    HTBOTTOM = 15,
    HTBOTTOMLEFT = 16,
    HTBOTTOMRIGHT = 17,
};

// The edge a window is being sized by, with the Windows numbers.
enum SizingEdge : int {
    WMSZ_LEFT = 1,
    WMSZ_RIGHT = 2,
    WMSZ_TOP = 3,
    WMSZ_TOPLEFT = 4,
    WMSZ_TOPRIGHT = 5,
    WMSZ_BOTTOM = 6,
    WMSZ_BOTTOMLEFT = 7,
    WMSZ_BOTTOMRIGHT = 8,
};

// The control number a window carries in its dialog (0 when it has none).
void SetControlId(QWidget* window, int controlId);
int ControlId(const QWidget* window);

// What makes a window wear the skin: the skin name of its kind, its identifiers, the Object it
// wears and the window it skins. Every attached window is kept in one process-wide registry, so
// that a new skin reaches all of them.
class SkinableBase
{
public:
    // Windows the registry takes; a window past it keeps working but misses later skin loads.
    static constexpr int kMaxRegistered = 65534;
    // The window text a skin draws is cut to this many characters.
    static constexpr int kMaxWindowText = 256;

    SkinableBase(const QString& name, QWidget* window);
    virtual ~SkinableBase();

    SkinableBase(const SkinableBase&) = delete;
    SkinableBase& operator=(const SkinableBase&) = delete;

    // Registers the window and takes its skin. Runs once; later calls do nothing.
    virtual void Attach();
    // Looks the Object up in the current skin and wears it, or goes back to the plain look.
    virtual void ApplySkin();
    // Wears the Object: its place inside the parent and its shape.
    virtual void SetObject(Object* object);
    // Back to the plain look of the window's own kind.
    virtual void RemoveSkin();
    // Hands an event to the window's own handling.
    virtual bool CallDefault(QEvent* event) = 0;

    // The Object worn, or none (also once the skin it came from is no longer current).
    Object* GetObject() const;
    const QString& Name() const { return m_name; }
    QWidget* Window() const { return m_window; }
    int ID1() const { return m_id1; }
    int ID2() const { return m_id2; }
    void SetIDs(int id1, int id2);
    SkinableBase* Parent() const { return m_parent; }
    int GetChildCount() const { return m_children.GetCount(); }
    SkinableBase* GetChild(int index) const { return m_children[index]; }
    bool IsAttached() const { return m_attached; }

    // Extra state words of this window, added to every state set built for it.
    CGP_StringSet& OwnStates() { return m_ownStates; }
    void AddOwnState(const QString& word);
    void RemoveOwnState(const QString& word);

    // Whether the pointer is over the control: its "Hover" looks show (windows themselves take
    // no hover state; only their controls do).
    bool IsHovered() const { return m_hovered; }
    void SetHovered(bool hovered);

    // Redrawing switched off keeps the window's look as it is until switched on again.
    bool IsRedrawOn() const { return m_redraw != 0; }
    void SetRedraw(bool on);

    // The client area of the window in its own coordinates: the Object's "Client" item
    // resolved over the window, else the whole window.
    QRect ClientRect() const;
    // The client area's margins inside a window of that size for the Object worn (none without
    // one). A window smaller than its frame has squeezed margins, so they go with the size.
    QMargins ClientMarginsAt(const QSize& size) const;

    static int RegisteredCount();
    static SkinableBase* Registered(int index);
    static SkinableBase* Find(const QWidget* window);
    // After a skin load: every registered window forgets its Object, then each looks again, in
    // registry order.
    static void ReskinAll();

    // The smallest and largest sizes an Object allows, applied to a rectangle being sized by
    // the given edge (a Windows sizing edge). Limits of 0 do not apply.
    static void ApplySizeLimits(const Object& object, int edge, QRect& rect);
    // The sizing edge of a hit-test result, 0 when it is not an edge or corner.
    static int SizingEdgeOf(int hitCode);
    // The part of a bar that a meter fills for a position in a range: (position - low) *
    // extent / (high - low) pixels, from the bottom for a vertical bar, from the left otherwise.
    // An empty range fills nothing.
    static QRect MeterRect(const QRect& bar, qint64 position, qint64 low, qint64 high, bool vertical);

    // Draws an Object the way a window wearing it looks: its frame ("NonClient" and "Active"
    // added to the states) over the whole window, then its client area ("Client" added) inside
    // its "Client" item; one pass with all three words when it has no client item.
    static void DrawWindow(Object& object, QPainter& dc, const QRect& whole, const CGP_StringSet& states,
                           const QString& text);

    // What the Object answers for a point of the window, 0 without an Object. A window that
    // takes its shape from its pixels' alpha answers HTTRANSPARENT outside its shape.
    int HitTest(const QPoint& point) const;

protected:
    // The state words of the window now: own states, "Focused", "Pushed" while the mouse is held
    // on it, "Hover" while the pointer is over an enabled control, "Disabled" while it is
    // disabled.
    virtual CGP_StringSet BuildStates() const;
    // Whether the mouse is held on the window (the mouse capture of the window).
    virtual bool IsMouseHeld() const { return m_mouseHeld; }
    void SetMouseHeld(bool held) { m_mouseHeld = held; }

    // After a size change: the window shape from the Object's Region, the client margins, and
    // every skinned child that has an Object moved to its place.
    void OnSized();
    // The shape the Object's Region gives the window now; empty when it has none.
    const QRegion& Shape() const { return m_shape; }
    // Whether the window shows its shape through its pixels' alpha (a translucent window on a
    // desktop that blends them, with smooth edges) instead of cutting it out with a mask.
    virtual bool ShapesByAlpha() const { return false; }
    // The window's shape has been built anew (empty: it has none).
    virtual void ShapeChanged(const QRegion& shape) {}
    // Moves the window to a rectangle of its parent and makes sure the shape follows even when
    // the size stays the same.
    void MoveWindow(const QRect& rect);
    // The rectangle a child takes inside its parent's client area for its Object.
    QRect ChildPlace(const Object& object) const;
    // The client area's margins inside the window for the Object worn.
    QMargins ClientMargins() const;
    QRect ClientRectIn(const QRect& whole) const;
    // Puts the client margins on the window; a dialog's children keep their places in the
    // client area, so they move with it.
    virtual void SetClientMargins(const QMargins& margins);

    // The Object may have changed with the window's state: look it up again.
    void RefreshObject();

    // A press on a caption, edge or corner starts moving or sizing the window; answers whether
    // it did. The platform does it where it can, else the window follows the mouse itself.
    bool BeginDrag(int hitCode, const QPoint& globalPos);
    bool IsDragging() const { return m_dragMode != DragNone; }
    void DragTo(const QPoint& globalPos);
    void EndDrag();
    // Set from a platform move until the next mouse press or release.
    bool IsSystemMoving() const { return m_systemMove; }
    void EndSystemMove() { m_systemMove = false; }
    // The rectangle a dragged window is about to take (frame coordinates of its parent or the
    // screen); a window may change it.
    virtual void Moving(QRect& rect) {}

    bool m_attached = false;

private:
    enum DragMode { DragNone, DragMove, DragSize };

    void Register();
    void Unregister();
    void FindIdentifiers();
    void SaveStyle();
    void RestoreStyle();

    QString m_name;
    QWidget* m_window;
    CGP_FastContainer<SkinableBase*> m_children;
    SkinableBase* m_parent = nullptr;
    int m_id1 = 0;
    int m_id2 = 0;
    Object* m_object = nullptr;
    // The skin the Object belongs to: an Object of a skin that is no longer current is gone.
    Skin* m_objectSkin = nullptr;
    CGP_StringSet m_ownStates;
    unsigned char m_redraw = 1;
    bool m_mouseHeld = false;
    bool m_hovered = false;
    // The window's own size limits and margins, given back when the skin goes.
    QSize m_savedMinimum;
    QSize m_savedMaximum;
    QMargins m_savedMargins;
    QMargins m_appliedMargins;
    // The shape the Object's Region gave the window, for hit tests when it is not a mask.
    QRegion m_shape;
    bool m_styleSaved = false;
    DragMode m_dragMode = DragNone;
    int m_dragEdge = 0;
    QPoint m_dragStartGlobal;
    QRect m_dragStartRect;
    bool m_systemMove = false;
};

} // namespace WINSKIN
