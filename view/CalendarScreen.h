#pragma once

#include "view/Screen.h"
#include "view/model/CalendarScreenModel.h"
#include "view/model/ScreenAnimation.h"

#include <QBasicTimer>

class CPuzzleLibrary;

// The calendar screen: a month's days in weeks, each day whose puzzle is in the calendar store
// showing its picture (fading in as the page comes up); the month and year arrows; a
// double-click on such a day opens its puzzle for play.
class CCalendarScreen : public CScreen
{
public:
    static constexpr int kMonthUp = 49293;
    static constexpr int kMonthDown = 49294;
    static constexpr int kYearUp = 49301;
    static constexpr int kYearDown = 49307;

    CCalendarScreen(QWidget* canvas, CHoverBox& hoverBox, const GP_ScreenHost& host, CPuzzleLibrary& library);

    CCalendarScreenModel& Model() { return m_model; }
    void SetShown(bool shown) override;
    void Place(const ScreenLayout& layout) override;
    void Paint(QPainter& painter, const QRect& update) override;
    void Press(const QMouseEvent& event) override;
    void Move(const QMouseEvent& event) override;
    void Release(const QMouseEvent&) override {}
    void DoubleClick(const QMouseEvent& event) override;
    bool OnButton(int buttonId) override;
    bool Animate(int elapsedMs) override;

protected:
    void timerEvent(QTimerEvent* event) override;

private:
    void PageChanged();
    boost::shared_ptr<CGP_Puzzle> PuzzleOf(int day, QString* name = nullptr) const;

    CPuzzleLibrary& m_library;
    CCalendarScreenModel m_model;
    CScreenAnimation m_animation;
    QBasicTimer m_hoverTimer;
    int m_hoveredDay = 0;
    QPoint m_hoverPoint;
};
