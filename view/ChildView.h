#pragma once

#include "engine/GP_Event.h"
#include "shell/dialogs/MainViewCommands.h"
#include "skin/BmpButton.h"
#include "view/ViewTimers.h"
#include "view/model/GameMode.h"

#include <QColor>
#include <QWidget>

#include <boost/shared_ptr.hpp>

#include <atomic>
#include <memory>

class CCallMessage;
class CCaptionBands;
class CCaptionPanel;
class CCreationScreen;
class CGameField;
class CGP_Puzzle;
class CGP_SettingsStore;
class CHelpOverlayWindow;
class CLibraryCommands;
class CPlayOpening;
class CPlayWindows;
class CScreenCanvas;
class CTightCaptionPanel;
class CViewSkin;
class PlaySession;
class QString;

// The main view: the one client window of the main frame.
//
// It wears the default skin, shows the caption band of its screen, switches between the screens
// (modes), shows their one-time help pictures, keeps the view's timers and routes the pointer:
// in play to the game field (CGameField) and the play tools' windows (CPlayWindows), in the
// creation modes to the creation screen (CCreationScreen) and elsewhere to the screens
// (CScreenCanvas); their rules live in the model layer.
class CChildView : public QWidget, public CMainViewCommands, public CBmpButtonReceiver
{
    Q_OBJECT

public:
    // Loading steps the view reports to the splash while it starts (skin, patterns, settings,
    // folders, workers, controls, library).
    static constexpr int kLoadingSteps = 7;

    explicit CChildView(QWidget* parent = nullptr);
    // Writes the settings back.
    ~CChildView() override;

    GameMode CurrentMode() const { return m_gameMode; }
    void ChangeGameMode(GameMode mode);

    // The view's timers by their numbers (1 popup menu, 2 hover box, 4 screen animation, 5 push).
    void StartViewTimer(int id, int periodMs) { m_timers.Start(id, periodMs); }
    void StopViewTimer(int id) { m_timers.Stop(id); }
    bool IsViewTimerActive(int id) const { return m_timers.IsActive(id); }

    // The field rectangle of the current mode: the client area below its caption band.
    QRect FieldRect() const;
    // Opens a puzzle file for play and enters the field: a library or calendar puzzle as it is,
    // any other file once it is brought into the library. A file that cannot be read shows one
    // message and the library screen. Answers whether the game started.
    bool OpenPuzzleForPlay(const QString& path);
    // The library's Play: a puzzle of the list opened for play.
    void OnMainPlay(const boost::shared_ptr<CGP_Puzzle>& puzzle);
    // A puzzle named on the command line, opened once the splash has gone.
    void SetStartPuzzle(const QString& path);
    PlaySession* Session() const;
    CGameField* Field() const { return m_pField.get(); }
    CHelpOverlayWindow* HelpWindow() const { return m_pHelp; }
    // A shown help picture swallows the pointer; the left release that follows dismisses it.
    bool HelpTakesPointer(const QMouseEvent& event);
    // The library, calendar and Treasury screens (none before the first paint).
    CScreenCanvas* Screens() const { return m_pScreens; }
    // The call message: a background thread's function run on the view's thread.
    CCallMessage& CallMessage() { return *m_pCall; }

    // Set while a play command must not run (a modal box of the view is up, the game is being
    // left, ...).
    bool IsPlayCommandBlocked() const { return m_bPlayCommandBlock; }
    void SetPlayCommandBlocked(bool blocked) { m_bPlayCommandBlock = blocked; }

    // Play keys forwarded by the application object (and the game band's clock for the pause).
    void OnPlayGhost();
    void OnPlayPicture();
    // A play key closes the pause box.
    void DeletePauseBox();
    CPlayWindows* PlayWindows() const { return m_pPlay.get(); }

    // The idle step between messages; answers whether more idle calls are wanted.
    bool OnIdle(long count);

    // Calls of the main frame.
    void RefreshTightCaptionPanel();
    void RepaintCurrentPanel();
    void CloseModelessPanels();
    bool IsInBlockingState() const;
    // The view's quit path: asks the application to end its message loop.
    void CloseGame();

    // Calls of the caption panels.
    void OnMainCampaign() override;
    void OnMainPuzzles() override;
    void OnMainGallery() override;
    void OnMainMinimize() override;
    // The close question: the screen animation stops while it is up; No starts it again, Yes
    // leaves.
    void OnMainClose() override;
    void OnPlayMenu() override;
    void OnPlayPause() override;
    void OnPlayExit() override;
    bool StoreHelpFlag(const char* valueName) override;
    void RepaintView() override;

    // The screens' picture buttons report here.
    void OnBmpButtonNotify(const BmpButtonNotify& notify) override;

    // A question in the game's message box; the picture buttons ignore the player meanwhile.
    int Ask(const QString& text, const QString& first, const QString& second, unsigned flags);

    // The screen animation (timer 4, 40 ms) stops while the close question is up.
    static constexpr int kScreenAnimationMs = 40;
    void StopScreenAnimation() { m_timers.Stop(kScreenAnimationTimer); }
    void StartScreenAnimation(int intervalMs) { m_timers.Start(kScreenAnimationTimer, intervalMs); }
    bool ScreenAnimationRunning() const { return IsViewTimerActive(kScreenAnimationTimer); }
    static constexpr int kScreenAnimationTimer = 4;

    // The band shown over the current screen, or null (none before the first paint, none while
    // a puzzle is being made).
    CCaptionPanel* CaptionPanel() const;
    CTightCaptionPanel* TightCaptionPanel() const;
    bool IsSkinLoaded() const;
    // The close sequence after the player confirmed: leaves a game or a creation step, then
    // ends the game.
    void LeaveAfterClose();
    // The program is ending (a signal, the desktop session's end): a game being played is left
    // with its progress saved, as its own Exit does, without a question.
    void LeaveGameBeforeEnd();

    // Start-up progress, read by the splash's worker: one count per loading step done.
    int LoadingStepCount() const { return kLoadingSteps; }
    int LoadingStepsDone() const { return m_loadingStepsDone.load(); }
    // Set once per loading step; the splash's worker waits on it.
    CGP_Event* ProgressEvent() { return &m_progressEvent; }
    // The splash has gone: the view leaves its start-up state for the library screen.
    void OnSplashClosed();

    // The puzzle library's commands, and making and changing puzzles.
    CLibraryCommands& Library() { return *m_pLibrary; }
    CCreationScreen& Creation() { return *m_pCreation; }

    // The board colour of the current skin, as the player set it.
    QColor BoardColour() const;
    // The settings read when the view was created.
    CGP_SettingsStore& Settings() { return *m_pSettings; }

    // A puzzle file the player opened from outside the game (the command line, a file manager,
    // a second start): brought into the library, then opened for play. A file that is no whole
    // puzzle gets one message, and the library screen.
    void OpenPuzzleFile(const QString& path);

signals:
    // The first paint built the view's controls; the splash may show now.
    void FirstPaintDone();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    // The pointer's presses, moves and releases go to RoutePointer.
    bool event(QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    void CompleteLoadingStep();
    void BuildControls();
    // Shows the band of the current mode and hides the other, each across the top of the view.
    void ShowCaptionBands();
    void SetUpMode(GameMode mode);
    void ShowHelp(GameMode mode);
    void RoutePointer(const QMouseEvent& event);
    // The shown help picture goes for good; the next of its screen's chain, if any, comes up.
    void DismissHelp();
    void CreateScreens();
    void UpdateFieldGeometry();
    void ListLibrary();

    GameMode m_gameMode = GameMode::Startup;
    bool m_bPlayCommandBlock = false;
    bool m_bFirstPaintDone = false;
    std::atomic<int> m_loadingStepsDone{0};
    CGP_Event m_progressEvent{false, false};
    std::unique_ptr<CGP_SettingsStore> m_pSettings;
    std::unique_ptr<CLibraryCommands> m_pLibrary;
    std::unique_ptr<CViewSkin> m_pSkin;
    std::unique_ptr<CCaptionBands> m_pBands;
    std::unique_ptr<CGameField> m_pField;
    std::unique_ptr<CCreationScreen> m_pCreation;
    CHelpOverlayWindow* m_pHelp = nullptr;
    std::unique_ptr<CPlayWindows> m_pPlay;
    std::unique_ptr<CPlayOpening> m_pOpening;
    CScreenCanvas* m_pScreens = nullptr;
    CCallMessage* m_pCall = nullptr;
    CViewTimers m_timers;
};
