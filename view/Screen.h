#pragma once

#include "view/model/ScreenLayout.h"

#include <QObject>

#include <boost/shared_ptr.hpp>

#include <functional>

class CBmpButton;
class CGP_Puzzle;
class CHoverBox;
class QMouseEvent;
class QPainter;
class QWidget;
class QWheelEvent;

// What the screens ask of the main view.
struct GP_ScreenHost
{
    // A shown help picture takes the pointer (and its left release dismisses it).
    std::function<bool(const QMouseEvent&)> helpTakesPointer;
    // Opens a calendar puzzle file for play.
    std::function<void(const QString& path)> openForPlay;
    // The library's Play (the popup's, a double-click's): that puzzle of the list is played.
    std::function<void(const boost::shared_ptr<CGP_Puzzle>& puzzle)> play;
    // A warning by its number (192, 198).
    std::function<void(int messageId)> showMessage;
    // Whether the player has the help picture up or a box open (the wheel waits then).
    std::function<bool()> helpShown;
};

// One screen of the canvas (library, calendar, Treasury): it places its buttons, paints its
// items and answers the pointer over them. The canvas shows one at a time.
class CScreen : public QObject
{
public:
    CScreen(QWidget* canvas, CHoverBox& hoverBox, const GP_ScreenHost& host);

    // A picture button on the canvas with the looks of its number, its corners showing the
    // screen behind; hidden until its screen shows it.
    static CBmpButton* MakeButton(QWidget* canvas, int buttonId);

    // Shows or hides the screen's buttons.
    virtual void SetShown(bool shown);
    virtual void Place(const ScreenLayout& layout) = 0;
    virtual void Paint(QPainter& painter, const QRect& update) = 0;
    virtual void Press(const QMouseEvent& event) = 0;
    virtual void Move(const QMouseEvent& event) = 0;
    virtual void Release(const QMouseEvent& event) = 0;
    virtual void DoubleClick(const QMouseEvent& event) = 0;
    virtual void Wheel(const QWheelEvent&) {}
    // A click of one of the screen's buttons; answers whether it was the screen's.
    virtual bool OnButton(int buttonId) = 0;
    // A tick of the screen animation; answers whether anything moved.
    virtual bool Animate(int) { return false; }
    // The list behind the screen changed.
    virtual void Refresh() {}

protected:
    // A picture button of the screen, with the looks of its number.
    CBmpButton* AddButton(int buttonId);
    // The screen's button of that number.
    CBmpButton* Button(int buttonId) const;
    // Puts a button of the screen where the layout says.
    void PlaceButton(int buttonId, const QRect& rect) const;
    QWidget* Canvas() const { return m_canvas; }
    CHoverBox& HoverBox() { return m_hoverBox; }
    const GP_ScreenHost& Host() const { return m_host; }
    bool IsShown() const { return m_shown; }
    // Text drawn light with a dark shadow, readable on the backdrop.
    static void DrawShadowedText(QPainter& painter, const QRect& rect, int flags, const QString& text);

private:
    QWidget* m_canvas;
    CHoverBox& m_hoverBox;
    const GP_ScreenHost& m_host;
    std::vector<CBmpButton*> m_buttons;
    bool m_shown = false;
};
