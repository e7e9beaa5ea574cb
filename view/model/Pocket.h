#pragma once

#include "view/model/FieldGeometry.h"

#include <QPoint>

// One of the two trays that slide open in the bottom corners of the field. Closed, open by
// itself (a drag passed over its handle), or open; its handle shows "full" while the tray holds
// pieces. The view keeps its windows in step with it.
class CPocket
{
public:
    // What the hover test of a drag did.
    enum class Hover { None, OverHandle, Opened, Closed };

    explicit CPocket(const GP_TrayGeometry& geometry);
    virtual ~CPocket() = default;

    int Location() const { return m_geometry.location; }
    const GP_TrayGeometry& Geometry() const { return m_geometry; }
    void SetGeometry(const GP_TrayGeometry& geometry) { m_geometry = geometry; }
    const QRect& OpenRect() const { return m_geometry.open; }
    const QRect& HandleRect() const { return m_geometry.handle; }

    bool IsOpen() const { return m_bOpen; }
    bool IsAutoOpened() const { return m_bAutoOpened; }
    bool ShowsFull() const { return m_bFull; }

    void Open(bool byItself);
    void Close();
    // The handle's look: "full" unless the tray's location is empty. Answers whether it changed.
    bool SetFull(bool full);

    // The hover test of a drag at the point: over the handle a closed tray opens by itself; off
    // its area a tray that opened by itself closes.
    Hover HoverTest(const QPoint& point);
    // The drag's target test (widened) and the plain test of presses, releases and pushes.
    bool HotContains(const QPoint& point) const { return m_bOpen && m_geometry.openHot.contains(point); }
    bool Contains(const QPoint& point) const { return m_bOpen && m_geometry.open.contains(point); }
    // A drop inside a tray that opened by itself keeps it open; answers whether it did.
    bool KeepOpenFor(const QPoint& point);

private:
    GP_TrayGeometry m_geometry;
    bool m_bOpen = false;
    bool m_bAutoOpened = false;
    bool m_bFull = false;
};
