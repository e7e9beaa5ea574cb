#pragma once

#include <QRect>
#include <QString>

// Where skinned panels remember their places between runs. A place is the window rectangle as
// left, top, right, bottom (right and bottom one past the last pixel, as the game's rectangles
// have always been), kept under the panel's template number written in hexadecimal ("3E8" for
// template 1000).
class CGP_PanelPositions
{
public:
    virtual ~CGP_PanelPositions() = default;

    // Stores the rectangle; false when the settings could not take it.
    virtual bool SavePanelPosition(unsigned long templateId, const QRect& rect) = 0;
    // The stored rectangle, or false when there is none or it is not a rectangle.
    virtual bool LoadPanelPosition(unsigned long templateId, QRect& rect) const = 0;
};

// The value name a panel's place is kept under: its template number in upper-case hexadecimal.
inline QString GP_PanelPositionName(unsigned long templateId)
{
    return QString::number(templateId, 16).toUpper();
}
