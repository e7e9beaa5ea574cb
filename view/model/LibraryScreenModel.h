#pragma once

#include "view/model/PuzzleLibrary.h"
#include "view/model/ScreenLayout.h"

#include <QPoint>
#include <QRect>
#include <QString>

// What a pointer event on the library screen asks of the view.
struct GP_ScreenEffects
{
    bool repaint = false;
    bool captureOn = false;
    bool captureOff = false;
    // The cross-hair of a selection band (cursor 182), or back to the arrow.
    bool bandCursor = false;
    bool arrowCursor = false;
    bool hidePopup = false;
    // The popup menu comes up beside the current puzzle after this many milliseconds.
    int popupDelayMs = -1;
    bool hideHover = false;
    // The puzzle to open for play.
    GP_PuzzlePtr open;
    // A message by its number (192, 198).
    int message = 0;
};

// The library screen's rules without its widgets: which puzzles a press, a band or a
// double-click selects, the current puzzle the popup menu belongs to, the scroll position with
// its maximum, and the hover box's text.
//
// The scroll position counts pixels upward from the end of the list: position 0 shows the last
// rows, the maximum the first ones, so the thumb (at the bottom of its track for 0) always
// stands where the rows shown stand in the list, and the wheel turned forward shows earlier rows.
class CLibraryScreenModel
{
public:
    static constexpr int kPopupDelayMs = 500;
    static constexpr int kHoverDelayMs = 300;
    // The calendar's and the Treasury's items wait longer before their hover box.
    static constexpr int kOtherScreensHoverDelayMs = 600;

    explicit CLibraryScreenModel(CPuzzleLibrary& library);

    CPuzzleLibrary& Library() { return m_library; }
    void SetLayout(const ScreenLayout& layout);
    const ScreenLayout& Layout() const { return m_layout; }

    // The list changed (listed, a puzzle made or removed): the maximum is worked out again and a
    // current puzzle that left the list is forgotten.
    void Refresh();

    // The card of the list's index-th item where it is drawn now (it may lie outside the area).
    QRect CardRect(int index) const;
    // The item whose card holds the point, -1 for none; only what the area shows counts.
    int ItemAt(const QPoint& point) const;
    // The first and one past the last index with a card inside the area.
    std::pair<int, int> ShownRange() const;
    size_t Count() const { return m_count; }

    GP_ScreenEffects Press(const QPoint& point, bool ctrl);
    GP_ScreenEffects Move(const QPoint& point);
    GP_ScreenEffects Release();
    // The double-click acts on the puzzle the press of the same click picked: that press may
    // have moved the puzzle to the front of the list, and the point now shows another.
    GP_ScreenEffects DoubleClick(const QPoint& point);
    // A command that needs one puzzle (Play, Modify, ...): 198 with none selected, 192 with
    // several; otherwise that one puzzle becomes current and is answered in open.
    GP_ScreenEffects SinglePuzzleCommand();

    GP_PuzzlePtr Current() const { return m_current; }
    void SetCurrent(const GP_PuzzlePtr& puzzle) { m_current = puzzle; }
    // Coming back from the calendar or the Treasury: the library's (first) selected puzzle is
    // current again.
    void TakeSelectedAsCurrent();
    // The card the popup menu stands beside, empty when no puzzle is current or shown.
    QRect CurrentCard() const;

    bool BandActive() const { return m_bandActive; }
    QRect Band() const;

    // Scrolling; each answers whether the position moved.
    double Scroll() const { return m_scroll; }
    double Maximum() const { return m_maximum; }
    bool SetScroll(double position);
    // The position kept with the settings: taken once the list it belongs to is known (the
    // screen is laid out before the library is read, when there is nothing to scroll yet).
    void RestoreScroll(double position) { m_restoreScroll = position; }
    // Half the signed wheel delta.
    bool Wheel(int delta);
    // One row up (direction +1, towards the first rows) or down (-1).
    bool Step(int direction);
    QRect Thumb() const { return m_layout.Thumb(m_scroll, m_maximum); }
    // The thumb dragged so that its top is at y.
    bool DragThumbTo(int y) { return SetScroll(m_layout.PositionForThumbTop(y, m_maximum)); }

    // The hover box's text: 209 with "NEW!" for a puzzle never opened, 212 for a solved one with
    // its author, else 210 (with an author) or 211 (without), the solved part and the time.
    static QString HoverText(const CGP_Puzzle& puzzle);
    static bool IsNew(const CGP_Puzzle& puzzle) { return puzzle.m_bFresh; }
    // "1:02:03", hours, minutes and seconds.
    static QString TimeText(int seconds);

private:
    std::vector<GP_LibraryItem> Items() const { return m_library.Items(); }
    int RowOffset() const;
    void SelectUnderBand();

    CPuzzleLibrary& m_library;
    ScreenLayout m_layout{QRect(), 0};
    size_t m_count = 0;
    double m_scroll = 0;
    double m_maximum = 0;
    double m_restoreScroll = -1;
    GP_PuzzlePtr m_current;
    GP_PuzzlePtr m_pressed;
    bool m_bandActive = false;
    QPoint m_bandStart;
    QPoint m_bandEnd;
};
