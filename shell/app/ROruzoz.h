#pragma once

#include "shell/app/InstanceChannel.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <memory>

class CGP_LogFile;
class CMainFrame;
class QLockFile;

// What the start-up check needs to know of the primary screen.
struct GP_ScreenInfo
{
    int width = 0;
    int height = 0;
    int depth = 0;  // bits per pixel
};

// The application object: owns the game from its first instruction to its last. It refuses a
// second copy and screens that are too small, opens the session log, runs the event loop under
// the crash guard with the main frame up, hands three play keys and idle time to the main view,
// and at the very end starts a downloaded game update.
class CROruzozApp : public QObject
{
    Q_OBJECT

public:
    static constexpr int kMinScreenWidth = 800;
    static constexpr int kMinScreenHeight = 600;
    static constexpr int kMinColourDepth = 16;
    static constexpr int kSlowIdleMs = 100;
    // While the view wants idle time (a game on the field) its steps come this often: the
    // clock, the hint and the sparkle need no more, and a busier loop would take a processor.
    static constexpr int kBusyIdleMs = 10;
    static constexpr int kKeyGhost = 71;    // 'G'
    static constexpr int kKeyPicture = 80;  // 'P'
    static constexpr int kKeyPause = 19;    // Pause

    CROruzozApp();
    ~CROruzozApp() override;

    // Start-up in its fixed order; false ends the process at once (after ExitInstance).
    bool InitInstance(const QStringList& arguments);
    // The whole life of the game window: 1 after a normal end, 0 after a crash.
    int Run();
    // Releases the instance lock, deletes the frame and starts a pending update installer, once.
    int ExitInstance();

    // A key pressed in the game: G, P and Pause go to the view in play. Never swallows the key.
    bool PreTranslateMessage(int key);
    // Idle time between messages; answers whether more is wanted.
    bool OnIdle(long count);

    // The crash path of the main thread: the crash filter (dump, or the no-memory notice), then
    // the handler (log lines, bug-report question, crash reporter). Answers Run's result, 0.
    int HandleCrash();
    // The handler part alone: "ERROR!!\n", "Main", " thread exception.\n", the question unless
    // memory ran out, and the crash reporter on YES.
    void CrashHandler();

    // Set by the update download; started with "/isUpdate=1" after the window is gone.
    void SetUpdateInstallerPath(const QString& path) { m_updateInstallerPath = path; }
    const QString& UpdateInstallerPath() const { return m_updateInstallerPath; }

    CMainFrame* MainWnd() const { return m_pMainWnd; }
    // Creates the frame full screen at (0, 0) and shows it. With splashFirst the splash comes up
    // first, alone in the middle of the screen, and the frame opens when it goes (at once when
    // there is no splash).
    CMainFrame* CreateMainFrame(bool splashFirst = false);

    static bool ScreenIsSufficient(const GP_ScreenInfo& screen);
    static GP_ScreenInfo PrimaryScreenInfo();
    // "<runtime folder>/Velmora": the lock that marks the running copy.
    static QString InstanceLockPath();
    // The framework's splash flag: set unless the command line asks for embedding or automation.
    static bool SplashWantedBy(const QStringList& arguments);
    // The puzzle file named on the command line (what a file manager passes when a player opens
    // one), as a full path; empty when none is named.
    static QString PuzzleNamedBy(const QStringList& arguments);

    // Seams for tests: where the screen description comes from, and how programs are started.
    using ScreenSource = std::function<GP_ScreenInfo()>;
    using ProgramStarter = std::function<bool(const QString& program, const QStringList& arguments,
                                              const QString& workingFolder)>;
    void SetScreenSource(ScreenSource source) { m_screenSource = std::move(source); }
    void SetProgramStarter(ProgramStarter starter) { m_startProgram = std::move(starter); }

    bool HoldsInstanceLock() const { return m_pInstanceLock != nullptr; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool ClaimInstance();
    void StartIdleProcessing();
    void RunIdleStep();
    void StartCrashReporter();
    void ArmCrashTest();
    // A puzzle file for the game: the window comes to the front and the view opens the file.
    void OpenPuzzleFile(const QString& path);

    std::unique_ptr<QLockFile> m_pInstanceLock;
    CInstanceChannel m_channel;
    QString m_startPuzzle;
    QString m_updateInstallerPath;
    QString m_secondString;  // kept for the object's layout; nothing reads it
    CMainFrame* m_pMainWnd = nullptr;
    std::unique_ptr<CGP_LogFile> m_pLog;
    QTimer m_idleTimer;
    long m_idleCount = 0;
    ScreenSource m_screenSource;
    ProgramStarter m_startProgram;
};

// The one application object.
extern CROruzozApp* g_pTheApp;
// The command line's splash flag; the splash shows only when it is set.
extern bool g_bShowSplash;
