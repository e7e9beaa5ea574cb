#pragma once

// What the caption panels ask of the main view. The panels live with the shell's dialogs, below
// the view, so they reach it through this rather than through the view's class.
class CMainViewCommands
{
public:
    virtual ~CMainViewCommands() = default;

    // The library band: tabs, minimise and the close question.
    virtual void OnMainCampaign() = 0;
    virtual void OnMainPuzzles() = 0;
    virtual void OnMainGallery() = 0;
    virtual void OnMainMinimize() = 0;
    virtual void OnMainClose() = 0;

    // The game band.
    virtual void OnPlayMenu() = 0;
    virtual void OnPlayPause() = 0;
    virtual void OnPlayExit() = 0;
    // Writes a help overlay's value so that it is not shown again. Answers true when a shown
    // help picture took the click instead (it is dismissed, and the click does nothing else).
    virtual bool StoreHelpFlag(const char* valueName) = 0;

    // Paints the whole view again.
    virtual void RepaintView() = 0;
};
