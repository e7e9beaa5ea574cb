#pragma once

#include "skin/LDialog.h"

#include <initializer_list>
#include <utility>

class CMainViewCommands;

// The band above the library screens: the game's name at its left end, the tabs "Calendar",
// "Treasury" and "My Puzzles" (the current screen's pressed), minimise and close, all on one
// line. It wears the skin's Objects of its template, and its buttons turn into calls on the main
// view.
class CCaptionPanel : public CLDialog
{
    Q_OBJECT

public:
    static constexpr int kTemplateId = 1000;
    static constexpr int kCalendar = 1086;
    static constexpr int kTreasury = 1087;
    static constexpr int kMyPuzzles = 1010;
    static constexpr int kMinimize = 1089;
    static constexpr int kClose = 1090;
    // The band's height; it spans the width of the view.
    static constexpr int kHeight = 52;

    CCaptionPanel(CMainViewCommands* view, QWidget* parent);

    // A button's command.
    void OnCommand(int commandId);

    // Shows the tab of the current screen pressed (kCalendar, kTreasury or kMyPuzzles; 0: none).
    void SetCurrentTab(int tabId);
    int CurrentTab() const { return m_currentTab; }

    // A panel is not closed by Escape: it stays until the view hides it.
    void reject() override {}

    // A button of a panel's template: its number and label.
    struct ButtonSpec
    {
        int id;
        const char* label;
    };

protected:
    // A panel of another template, with the buttons that template has and its height; the
    // derived panel creates it.
    CCaptionPanel(int templateId, std::initializer_list<ButtonSpec> buttons, int height, CMainViewCommands* view,
                  QWidget* parent);
    CMainViewCommands* View() const { return m_pView; }
    virtual void Command(int commandId);
    // Puts the buttons where they belong in the band's present width.
    virtual void PlaceButtons();

    void OnInitDialog() override;
    void resizeEvent(QResizeEvent* event) override;

    // Places the caption buttons "_" and "X" at the right end of the band, the skin's round
    // buttons' places.
    void PlaceCaptionButtons(int top);
    // The top of a control of that height standing on the band's line: the middle of its client
    // area, which the tabs and the round buttons share.
    int LineTop(int height) const;
    // Places buttons in a row from the left, each of the given width.
    void PlaceRow(std::initializer_list<int> ids, int left, int width, int height);

private:
    CMainViewCommands* m_pView;
    int m_height;
    int m_currentTab = 0;
};
