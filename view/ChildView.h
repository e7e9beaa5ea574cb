#pragma once

#include "engine/GP_Event.h"

#include <QColor>
#include <QWidget>

#include <atomic>
#include <memory>

class CGP_SettingsStore;

// The view's screens. A plain integer in the game's files and traces, so the values are fixed.
enum GameMode : int {
    MyPuzzles = 0,
    CreateImage = 1,
    CreateParameters = 2,
    Play = 3,
    Startup = 4,
    Calendar = 5,
    Treasury = 6,
};

// The main view: the one client window of the main frame.
//
// This is its first, small form: it paints the board colour and answers every call the frame,
// the application object and the splash make of it. The screens, the game field and the play
// tools are not built yet; each call that would reach them writes one log line saying what it
// would do, so the session log shows the calls arriving.
class CChildView : public QWidget
{
    Q_OBJECT

public:
    // Loading steps the view reports to the splash while it starts (skin, patterns, settings,
    // folders, workers, controls, library).
    static constexpr int kLoadingSteps = 7;

    explicit CChildView(QWidget* parent = nullptr);
    // Writes the settings back.
    ~CChildView() override;

    ::GameMode GameMode() const { return m_gameMode; }
    void ChangeGameMode(::GameMode mode);

    // Set while a play command must not run (a modal box of the view is up, the game is being
    // left, ...).
    bool IsPlayCommandBlocked() const { return m_bPlayCommandBlock; }
    void SetPlayCommandBlocked(bool blocked) { m_bPlayCommandBlock = blocked; }

    // Play keys forwarded by the application object.
    void OnPlayGhost();
    void OnPlayPicture();
    void OnPlayPause();

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
    void OnMainMinimize();
    void OnMainGallery();
    void OnPlayExit();
    void OnPlayMenu();
    // The screen animation (timer 4, 40 ms) stops while the close question is up.
    void StopScreenAnimation();
    void StartScreenAnimation(int intervalMs);
    bool ScreenAnimationRunning() const { return m_bScreenAnimation; }
    // Writes a help overlay's value so that it is not shown again.
    void StoreHelpFlag(const char* valueName);
    // The close sequence after the player confirmed: leaves a game or a creation step, then
    // ends the game.
    void LeaveAfterClose();

    // Start-up progress, read by the splash's worker: one count per loading step done.
    int LoadingStepCount() const { return kLoadingSteps; }
    int LoadingStepsDone() const { return m_loadingStepsDone.load(); }
    // Set once per loading step; the splash's worker waits on it.
    CGP_Event* ProgressEvent() { return &m_progressEvent; }
    // The splash has gone: the view leaves its start-up state for the library screen.
    void OnSplashClosed();

    // The board colour of the current skin, as the player set it.
    QColor BoardColour() const;
    // The settings read when the view was created.
    CGP_SettingsStore& Settings() { return *m_pSettings; }

signals:
    // The first paint built the view's controls; the splash may show now.
    void FirstPaintDone();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void LogNotBuilt(const char* call, const char* wouldDo) const;
    void CompleteLoadingStep();

    ::GameMode m_gameMode = Startup;
    bool m_bPlayCommandBlock = false;
    bool m_bFirstPaintDone = false;
    bool m_bScreenAnimation = false;
    std::atomic<int> m_loadingStepsDone{0};
    CGP_Event m_progressEvent{false, false};
    std::unique_ptr<CGP_SettingsStore> m_pSettings;
};
