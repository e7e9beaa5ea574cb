#pragma once

#include "view/Screen.h"
#include "view/model/ScreenAnimation.h"
#include "view/model/TreasuryScreenModel.h"

// The Treasury screen: the theme tab with its arrows, the page of the theme's puzzles with
// "Page %d / %d" and its arrows, and the buttons that fetch the selected puzzles. What it shows
// comes from the content model; until the download threads fill it, the page is empty and says
// that the server cannot be reached.
class CTreasuryScreen : public CScreen
{
public:
    static constexpr int kThemeLeft = 49295;
    static constexpr int kThemeRight = 49296;
    static constexpr int kGetSelected = 49297;
    static constexpr int kTheme = 49298;
    static constexpr int kPageLeft = 49299;
    static constexpr int kPageRight = 49300;
    static constexpr int kGetSelectedBelow = 49316;

    CTreasuryScreen(QWidget* canvas, CHoverBox& hoverBox, const GP_ScreenHost& host);

    CTreasuryScreenModel& Model() { return m_model; }
    // The content changed: the screen shows it afresh.
    void ContentChanged();
    void SetShown(bool shown) override;
    void Place(const ScreenLayout& layout) override;
    void Paint(QPainter& painter, const QRect& update) override;
    void Press(const QMouseEvent& event) override;
    void Move(const QMouseEvent&) override {}
    void Release(const QMouseEvent&) override {}
    void DoubleClick(const QMouseEvent&) override {}
    bool OnButton(int buttonId) override;
    bool Animate(int elapsedMs) override;

private:
    QRect PuzzleCell(int index) const;
    void PageChanged();

    CTreasuryScreenModel m_model;
    CScreenAnimation m_animation;
    ScreenLayout m_layout{QRect(), 0};
};
