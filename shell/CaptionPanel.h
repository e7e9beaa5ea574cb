#pragma once

#include "shell/TemplateDialog.h"

#include <initializer_list>
#include <utility>

class CChildView;

// The band above the library screens: "Calendar", "Treasury", "My puzzles", minimise and close.
// Its buttons turn into calls on the main view.
class CCaptionPanel : public CTemplateDialog
{
    Q_OBJECT

public:
    static constexpr int kTemplateId = 1000;
    static constexpr int kCalendar = 1086;
    static constexpr int kTreasury = 1087;
    static constexpr int kMyPuzzles = 1010;
    static constexpr int kMinimize = 1089;
    static constexpr int kClose = 1090;
    static constexpr int kResumeAnimationMs = 40;

    CCaptionPanel(CChildView* view, QWidget* parent);

    // A button's command.
    void OnCommand(int commandId);

protected:
    // A band of another template, without buttons yet.
    CCaptionPanel(int templateId, CChildView* view, QWidget* parent);
    CChildView* View() const { return m_pView; }
    // Adds the panel's buttons in a row, each sending its number to OnCommand.
    void AddButtons(std::initializer_list<std::pair<int, const char*>> buttons);
    virtual void Command(int commandId);

private:
    CChildView* m_pView;
};
