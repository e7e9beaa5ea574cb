#include "shell/app/ROruzoz.h"

#include "engine/GP_Clock.h"
#include "engine/GP_Folders.h"
#include "engine/GP_Random.h"
#include "shell/app/ApplicationErrorDialog.h"
#include "shell/app/CrashQuestion.h"
#include "shell/app/ErrorScreenDialog.h"
#include "shell/log/GP_Exeption.h"
#include "shell/log/GP_LogFile.h"
#include "shell/app/MainFrame.h"
#include "shell/app/SplashWnd.h"
#include "shell/log/MemoryDump.h"
#include "shell/dialogs/MessageBoxDialog.h"
#include "shell/dialogs/ModalRunner.h"
#include "shell/app/NoMemoryErrorDlg.h"
#include "shell/app/QuitSignalWatcher.h"
#include "view/ChildView.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLockFile>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>

#include <csignal>
#include <cstring>
#include <new>
#include <utility>

#include <sys/syscall.h>
#include <unistd.h>

CROruzozApp* g_pTheApp = nullptr;
bool g_bShowSplash = true;

namespace {

const char kInstanceLockName[] = "Velmora";
const char kLogName[] = "Exception.log";
const char kCrashReporter[] = "FaultCourier";
const char kUpdateArgument[] = "/isUpdate=1";
// Hidden: VELMORA_CRASH_TEST=exception|signal|memory makes the game fail on purpose shortly
// after its window is up, so that tests can follow the crash path from end to end.
const char kCrashTestVariable[] = "VELMORA_CRASH_TEST";
constexpr int kCrashTestDelayMs = 500;
constexpr size_t kCrashTestAllocation = size_t(1) << 40;

bool StartDetached(const QString& program, const QStringList& arguments, const QString& workingFolder)
{
    return QProcess::startDetached(program, arguments, workingFolder);
}

int NativeKey(const QKeyEvent& event)
{
    if (event.key() == Qt::Key_Pause)
        return CROruzozApp::kKeyPause;
    // Letters and digits carry the same codes in both worlds.
    if ((event.key() >= Qt::Key_A && event.key() <= Qt::Key_Z) || (event.key() >= Qt::Key_0 && event.key() <= Qt::Key_9))
        return event.key();
    return 0;
}

void ShowNoMemoryNotice()
{
    CNoMemoryErrorDlg dialog;
    GP_RunModal(dialog);
}

void WriteCrashPiece(int fd, const char* text)
{
    if (fd >= 0 && ::write(fd, text, std::strlen(text)) < 0)
        return;
}

// After the dump of a fatal signal. On the main thread this is the crash guard's handler; the
// question runs in a fresh copy of the game, since this process has just faulted. Other threads'
// faults end the process as the dump writer decides.
void OnFatalSignalDumped(int)
{
    if (syscall(SYS_gettid) != getpid())
        return;
    const int fd = CGP_LogFile::CrashDescriptor();
    WriteCrashPiece(fd, "ERROR!!\n");
    WriteCrashPiece(fd, "Main");
    WriteCrashPiece(fd, " thread exception.\n");
    if (!g_bOutOfMemory)
        CrashQuestion::AskFromSignalHandler();
    _exit(0);
}

} // namespace

CROruzozApp::CROruzozApp()
    : m_screenSource(&CROruzozApp::PrimaryScreenInfo)
    , m_startProgram(&StartDetached)
{
    connect(&m_idleTimer, &QTimer::timeout, this, &CROruzozApp::RunIdleStep);
}

CROruzozApp::~CROruzozApp()
{
    if (qApp)
        qApp->removeEventFilter(this);
    delete m_pMainWnd;
    if (g_pTheApp == this)
        g_pTheApp = nullptr;
}

bool CROruzozApp::InitInstance(const QStringList& arguments)
{
    g_pTheApp = this;
    // Linux's malloc has no switch to route its failures here; new does.
    std::set_new_handler(static_cast<void (*)()>(&GPNewErrorHandler));

    // A second copy ends silently: no window, no log. Only a puzzle file it was asked to open
    // goes to the running copy, which opens it.
    if (!ClaimInstance()) {
        const QString puzzle = PuzzleNamedBy(arguments);
        if (!puzzle.isEmpty())
            CInstanceChannel::HandOver(puzzle);
        return false;
    }
    m_channel.Listen();

    if (!ScreenIsSufficient(m_screenSource())) {
        CErrorScreenDialog dialog;
        GP_RunModal(dialog);
        return false;
    }

    GP_srand(GP_TimeMs());
    g_bShowSplash = SplashWantedBy(arguments);
    GP_SetAppFolder(QDir::currentPath());
    m_startPuzzle = PuzzleNamedBy(arguments);
    return true;
}

bool CROruzozApp::ClaimInstance()
{
    auto lock = std::make_unique<QLockFile>(InstanceLockPath());
    // The lock is held for the whole game: it must never be taken for stale because it is old.
    // A lock whose process has died is still cleared.
    lock->setStaleLockTime(0);
    if (lock->tryLock(0)) {
        m_pInstanceLock = std::move(lock);
        return true;
    }
    const QLockFile::LockError error = lock->error();
    // Held by a running copy, or not ours to take: this copy must not run. Any other failure
    // leaves the game without its marker, which only weakens the one-copy rule.
    return error != QLockFile::LockFailedError && error != QLockFile::PermissionError;
}

QString CROruzozApp::InstanceLockPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) + QLatin1Char('/')
           + QLatin1String(kInstanceLockName);
}

bool CROruzozApp::ScreenIsSufficient(const GP_ScreenInfo& screen)
{
    return screen.width >= kMinScreenWidth && screen.height >= kMinScreenHeight && screen.depth >= kMinColourDepth;
}

GP_ScreenInfo CROruzozApp::PrimaryScreenInfo()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return {};
    return {screen->geometry().width(), screen->geometry().height(), screen->depth()};
}

bool CROruzozApp::SplashWantedBy(const QStringList& arguments)
{
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        QString flag = arguments[i];
        if (!flag.startsWith(QLatin1Char('/')) && !flag.startsWith(QLatin1Char('-')))
            continue;
        flag.remove(0, 1);
        if (flag.compare(QLatin1String("Embedding"), Qt::CaseInsensitive) == 0
            || flag.compare(QLatin1String("Automation"), Qt::CaseInsensitive) == 0)
            return false;
    }
    return true;
}

QString CROruzozApp::PuzzleNamedBy(const QStringList& arguments)
{
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        // Flags are "-Name" or "/Name"; a full path of this platform starts with "/" too, but
        // goes on through folders.
        const bool flag = argument.startsWith(QLatin1Char('-'))
            || (argument.startsWith(QLatin1Char('/')) && argument.indexOf(QLatin1Char('/'), 1) < 0);
        if (!argument.isEmpty() && !flag)
            return QFileInfo(argument).absoluteFilePath();
    }
    return QString();
}

void CROruzozApp::OpenPuzzleFile(const QString& path)
{
    if (!m_pMainWnd)
        return;
    // A window the player minimised or left behind others comes back to the front.
    m_pMainWnd->showMaximized();
    m_pMainWnd->raise();
    m_pMainWnd->activateWindow();
    m_pMainWnd->View()->OpenPuzzleFile(path);
}

int CROruzozApp::Run()
{
    try {
        m_pLog = std::make_unique<CGP_LogFile>(GP_AppFilePath(QLatin1String(kLogName)));
        g_pLogFile = m_pLog.get();
        m_pLog->Open();
        // However the program is asked to end, a game being played is left with its progress
        // saved first. Watched from the first log line on: a signal during start-up is answered
        // once the event loop runs, with the session's END lines.
        CQuitSignalWatcher quitSignals([this] {
            if (m_pMainWnd)
                m_pMainWnd->View()->LeaveAfterClose();
        });
        MemoryDump::Initialize();
        MemoryDump::SetNoMemoryNotice(&ShowNoMemoryNotice);
        CrashQuestion::Prepare();
        MemoryDump::SetAfterDump(&OnFatalSignalDumped);

        CreateMainFrame(true);
        connect(&m_channel, &CInstanceChannel::FileHanded, this, &CROruzozApp::OpenPuzzleFile);
        // A puzzle named on the command line opens once the splash has gone.
        if (!m_startPuzzle.isEmpty())
            m_pMainWnd->View()->SetStartPuzzle(m_startPuzzle);
        const auto leaveGame = [this] {
            if (m_pMainWnd)
                m_pMainWnd->View()->LeaveGameBeforeEnd();
        };
        connect(qApp, &QGuiApplication::commitDataRequest, this, leaveGame);
        connect(qApp, &QCoreApplication::aboutToQuit, this, leaveGame);
        StartIdleProcessing();
        ArmCrashTest();
        QApplication::exec();
        ExitInstance();
    } catch (...) {
        const int result = HandleCrash();
        // A crashed session keeps its log open to the end: no END SESSION line.
        g_pLogFile = nullptr;
        (void)m_pLog.release();
        return result;
    }
    g_pLogFile = nullptr;
    m_pLog.reset();
    return 1;
}

CMainFrame* CROruzozApp::CreateMainFrame(bool splashFirst)
{
    QApplication::setQuitOnLastWindowClosed(false);
    m_pMainWnd = new CMainFrame;
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize size = screen ? screen->geometry().size() : QSize(kMinScreenWidth, kMinScreenHeight);
    m_pMainWnd->setGeometry(QRect(QPoint(0, 0), size));
    if (!splashFirst || !CSplashWnd::Show(m_pMainWnd, m_pMainWnd->View()))
        m_pMainWnd->showMaximized();
    qApp->installEventFilter(this);
    return m_pMainWnd;
}

int CROruzozApp::HandleCrash()
{
    MemoryDump::TopLevelFilter(0, nullptr);
    CrashHandler();
    return 0;
}

void CROruzozApp::CrashHandler()
{
    if (g_pLogFile)
        g_pLogFile->Write("ERROR!!\n").Write("Main").Write(" thread exception.\n");
    if (g_bOutOfMemory)
        return;
    CApplicationErrorDialog question;
    if (GP_RunModal(question) != 0)
        StartCrashReporter();
}

void CROruzozApp::StartCrashReporter()
{
    const QString reporter = GP_AppFilePath(QLatin1String(kCrashReporter));
    if (!QFileInfo(reporter).isExecutable()) {
        GP_Log(QStringLiteral("CROruzozApp: no crash reporter %1\n").arg(reporter));
        return;
    }
    if (!m_startProgram(reporter, {}, GP_AppFolder()))
        GP_Log(QStringLiteral("CROruzozApp: crash reporter %1 did not start\n").arg(reporter));
}

int CROruzozApp::ExitInstance()
{
    m_pInstanceLock.reset();  // unlocks
    m_idleTimer.stop();
    if (qApp)
        qApp->removeEventFilter(this);
    if (m_pMainWnd) {
        delete m_pMainWnd;
        m_pMainWnd = nullptr;
    }
    // The installer replaces the game's files: start it only once the window is gone, and once.
    const QString installer = std::exchange(m_updateInstallerPath, QString());
    if (!installer.isEmpty() && !m_startProgram(installer, {QLatin1String(kUpdateArgument)}, QString()))
        GP_Log(QStringLiteral("CROruzozApp: update installer %1 did not start\n").arg(installer));
    return 0;
}

bool CROruzozApp::PreTranslateMessage(int key)
{
    CChildView* view = m_pMainWnd ? m_pMainWnd->View() : nullptr;
    if (!view || view->CurrentMode() != GameMode::Play)
        return false;
    if (key == kKeyPause) {
        view->OnPlayPause();
        return false;
    }
    if (key != kKeyGhost && key != kKeyPicture)
        return false;
    if (!view->IsPlayCommandBlocked()) {
        if (key == kKeyGhost)
            view->OnPlayGhost();
        else
            view->OnPlayPicture();
    }
    // A play command also dismisses the pause box, and the clock counts on from now.
    if (!view->IsPlayCommandBlocked() && g_pPauseBox && g_bPauseBoxShown) {
        view->DeletePauseBox();
        view->update();
    }
    return false;
}

bool CROruzozApp::eventFilter(QObject* watched, QEvent* event)
{
    // Keys reach a window once, before they travel from the focus widget up through its
    // parents: look at them there. Dialogs' keys come this way too.
    if (event->type() == QEvent::KeyPress && watched->isWindowType())
        PreTranslateMessage(NativeKey(*static_cast<QKeyEvent*>(event)));
    return false;
}

bool CROruzozApp::OnIdle(long count)
{
    if (m_pMainWnd && m_pMainWnd->View())
        return m_pMainWnd->View()->OnIdle(count);
    return false;
}

void CROruzozApp::StartIdleProcessing()
{
    m_idleCount = 0;
    m_idleTimer.start(kSlowIdleMs);
}

void CROruzozApp::RunIdleStep()
{
    // The timer runs between the player's events: that is the idle time, every few
    // milliseconds for as long as the view wants it; otherwise the view is asked again now and
    // then.
    const bool more = OnIdle(m_idleCount);
    m_idleCount = more ? m_idleCount + 1 : 0;
    m_idleTimer.setInterval(more ? kBusyIdleMs : kSlowIdleMs);
}

void CROruzozApp::ArmCrashTest()
{
    const QByteArray how = qgetenv(kCrashTestVariable);
    if (how.isEmpty())
        return;
    QTimer::singleShot(kCrashTestDelayMs, this, [how] {
        if (how == "signal")
            std::raise(SIGSEGV);
        else if (how == "memory")
            GPNewErrorHandler(kCrashTestAllocation);
        else
            GP_THROW("Crash test\n");
    });
}
