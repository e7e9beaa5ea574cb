#include "view/model/Pocket.h"

CPocket::CPocket(const GP_TrayGeometry& geometry)
    : m_geometry(geometry)
{
}

void CPocket::Open(bool byItself)
{
    m_bOpen = true;
    m_bAutoOpened = byItself;
}

void CPocket::Close()
{
    m_bOpen = false;
    m_bAutoOpened = false;
}

bool CPocket::SetFull(bool full)
{
    if (m_bFull == full)
        return false;
    m_bFull = full;
    return true;
}

CPocket::Hover CPocket::HoverTest(const QPoint& point)
{
    if (m_geometry.handleHot.contains(point)) {
        if (m_bOpen)
            return Hover::OverHandle;
        Open(true);
        return Hover::Opened;
    }
    if (m_bOpen && m_bAutoOpened && !m_geometry.openHot.contains(point)) {
        Close();
        return Hover::Closed;
    }
    return Hover::None;
}

bool CPocket::KeepOpenFor(const QPoint& point)
{
    if (!m_bOpen || !m_bAutoOpened || !m_geometry.open.contains(point))
        return false;
    m_bAutoOpened = false;
    return true;
}
