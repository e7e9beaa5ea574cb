#pragma once

#include "view/Screen.h"
#include "view/model/LibraryScreenModel.h"

#include <QBasicTimer>
#include <QImage>

#include <array>

class CGameCursors;

// The library screen (MyPuzzles): the player's puzzles as cards in rows, picked, banded and
// double-clicked as CLibraryScreenModel rules; the popup menu beside the current puzzle, the
// hover box, the scroll arrows and the thumb, and "Make your own puzzle".
class CLibraryScreen : public CScreen
{
public:
    static constexpr int kPopupPlay = 49308;
    static constexpr int kPopupSend = 49309;
    static constexpr int kPopupModify = 49310;
    static constexpr int kPopupDelete = 49311;
    static constexpr int kMakeOwn = 49312;
    static constexpr int kScrollUp = 49313;
    static constexpr int kScrollDown = 49314;
    static constexpr int kScroller = 49315;

    CLibraryScreen(QWidget* canvas, CHoverBox& hoverBox, const GP_ScreenHost& host, CPuzzleLibrary& library,
                   CGameCursors& cursors, float scroll);

    CLibraryScreenModel& Model() { return m_model; }
    void SetShown(bool shown) override;
    void Place(const ScreenLayout& layout) override;
    void Paint(QPainter& painter, const QRect& update) override;
    void Press(const QMouseEvent& event) override;
    void Move(const QMouseEvent& event) override;
    void Release(const QMouseEvent& event) override;
    void DoubleClick(const QMouseEvent& event) override;
    void Wheel(const QWheelEvent& event) override;
    bool OnButton(int buttonId) override;
    void Refresh() override;

    // The popup's "Play": the one selected puzzle opens (192 or 198 otherwise).
    void PlaySelected();
    void HidePopup();
    bool PopupShown() const;
    // The scroll thumb pressed (the mouse is held for dragging it) or released.
    void ScrollerNotify(bool pressed);
    // Back from the calendar or the Treasury: the selected puzzle is current again.
    void TakeSelectedAsCurrent() { m_model.TakeSelectedAsCurrent(); }

protected:
    void timerEvent(QTimerEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Apply(const GP_ScreenEffects& effects);
    void ShowPopup();
    void ScrollUpdate();
    void PaintItem(QPainter& painter, const GP_LibraryItem& item, const QRect& card);
    void HideHover();

    CLibraryScreenModel m_model;
    CGameCursors& m_cursors;
    std::array<CBmpButton*, 4> m_popup{};
    CBmpButton* m_makeOwn = nullptr;
    CBmpButton* m_up = nullptr;
    CBmpButton* m_down = nullptr;
    CBmpButton* m_thumb = nullptr;
    QBasicTimer m_popupTimer;
    QBasicTimer m_hoverTimer;
    GP_PuzzlePtr m_hovered;
    QPoint m_hoverPoint;
    bool m_draggingThumb = false;
    int m_thumbGrab = 0;
    QImage m_frame;
    QImage m_frameSelected;
};
