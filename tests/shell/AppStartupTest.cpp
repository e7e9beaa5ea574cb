#include "engine/GP_Folders.h"
#include "shell/app/ErrorScreenDialog.h"
#include "shell/dialogs/ModalRunner.h"
#include "shell/app/ROruzoz.h"
#include "tests/support/TestFolder.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>

namespace {

// Every test gets a runtime folder of its own, so that tests running side by side never see
// one another's instance lock.
class RuntimeFolder
{
public:
    RuntimeFolder()
        : m_previous(qgetenv("XDG_RUNTIME_DIR"))
    {
        qputenv("XDG_RUNTIME_DIR", m_folder.File(QStringLiteral("run")).toLocal8Bit());
        QDir().mkpath(m_folder.File(QStringLiteral("run")));
        QFile::setPermissions(m_folder.File(QStringLiteral("run")), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    ~RuntimeFolder() { qputenv("XDG_RUNTIME_DIR", m_previous); }
    QString Path() const { return m_folder.File(QStringLiteral("run")); }

private:
    TestFolder m_folder;
    QByteArray m_previous;
};

// Records the dialogs a start-up shows instead of showing them.
struct DialogRecorder
{
    QStringList titles;
    QStringList texts;
    QStringList buttons;
    GP_ModalRunner previous;

    DialogRecorder()
    {
        previous = GP_SetModalRunner([this](QDialog& dialog) {
            titles << dialog.windowTitle();
            for (QLabel* label : dialog.findChildren<QLabel*>())
                texts << label->text();
            for (QPushButton* button : dialog.findChildren<QPushButton*>())
                buttons << button->text();
            return 2;
        });
    }
    ~DialogRecorder() { GP_SetModalRunner(previous); }
};

bool StartsOn(const GP_ScreenInfo& screen)
{
    CROruzozApp app;
    app.SetScreenSource([screen] { return screen; });
    const bool started = app.InitInstance({QStringLiteral("velmora")});
    app.ExitInstance();
    return started;
}

} // namespace

TEST(AppStartup, ScreenOfAtLeast800x600At16BitsIsRequired)
{
    RuntimeFolder runtime;
    {
        DialogRecorder dialogs;
        EXPECT_TRUE(StartsOn({800, 600, 16}));
        EXPECT_TRUE(StartsOn({1920, 1080, 32}));
        EXPECT_TRUE(dialogs.titles.isEmpty());
    }
    for (GP_ScreenInfo small : {GP_ScreenInfo{799, 600, 16}, GP_ScreenInfo{800, 599, 16}, GP_ScreenInfo{800, 600, 15},
                                GP_ScreenInfo{0, 0, 0}}) {
        DialogRecorder dialogs;
        EXPECT_FALSE(StartsOn(small)) << small.width << "x" << small.height << "x" << small.depth;
        ASSERT_EQ(dialogs.titles, QStringList{QStringLiteral("Insufficient screen resolution")});
        EXPECT_TRUE(dialogs.texts.contains(
            QStringLiteral("800x600 16bit (High Color) or higher\nresolution is required for the game to start.")));
        EXPECT_EQ(dialogs.buttons, QStringList{QStringLiteral("Exit")});
    }
    // A refused start leaves no lock behind: the next start on a good screen goes ahead.
    DialogRecorder dialogs;
    EXPECT_TRUE(StartsOn({1024, 768, 24}));
}

TEST(AppStartup, OneCopyHoldsTheLockUntilItExits)
{
    RuntimeFolder runtime;
    DialogRecorder dialogs;
    EXPECT_EQ(CROruzozApp::InstanceLockPath(), runtime.Path() + QStringLiteral("/Velmora"));

    CROruzozApp first;
    first.SetScreenSource([] { return GP_ScreenInfo{1024, 768, 32}; });
    ASSERT_TRUE(first.InitInstance({}));
    EXPECT_TRUE(QFile::exists(CROruzozApp::InstanceLockPath()));

    // A lock older than any stale-lock limit is still the running copy's.
    QFile lockFile(CROruzozApp::InstanceLockPath());
    ASSERT_TRUE(lockFile.open(QIODevice::ReadWrite));
    ASSERT_TRUE(lockFile.setFileTime(QDateTime::currentDateTime().addSecs(-24 * 3600), QFileDevice::FileModificationTime));
    lockFile.close();

    CROruzozApp second;
    second.SetScreenSource([] { return GP_ScreenInfo{1024, 768, 32}; });
    EXPECT_FALSE(second.InitInstance({}));
    EXPECT_FALSE(second.HoldsInstanceLock());
    EXPECT_TRUE(dialogs.titles.isEmpty());  // silently

    first.ExitInstance();
    EXPECT_FALSE(QFile::exists(CROruzozApp::InstanceLockPath()));
    CROruzozApp third;
    third.SetScreenSource([] { return GP_ScreenInfo{1024, 768, 32}; });
    EXPECT_TRUE(third.InitInstance({}));
    third.ExitInstance();
}

TEST(AppStartup, SplashFlagAndApplicationFolder)
{
    EXPECT_TRUE(CROruzozApp::SplashWantedBy({QStringLiteral("velmora")}));
    EXPECT_TRUE(CROruzozApp::SplashWantedBy({QStringLiteral("velmora"), QStringLiteral("puzzle.pzl")}));
    EXPECT_FALSE(CROruzozApp::SplashWantedBy({QStringLiteral("velmora"), QStringLiteral("/Embedding")}));
    EXPECT_FALSE(CROruzozApp::SplashWantedBy({QStringLiteral("velmora"), QStringLiteral("-automation")}));
    // The program's own name is never taken for a flag.
    EXPECT_TRUE(CROruzozApp::SplashWantedBy({QStringLiteral("/Embedding")}));

    // Started from a shortcut whose working folder is elsewhere: files go to the working folder.
    RuntimeFolder runtime;
    TestFolder work;
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(work.Path()));
    CROruzozApp app;
    app.SetScreenSource([] { return GP_ScreenInfo{800, 600, 16}; });
    ASSERT_TRUE(app.InitInstance({QStringLiteral("velmora"), QStringLiteral("/Embedding")}));
    EXPECT_FALSE(g_bShowSplash);
    EXPECT_EQ(QDir(GP_AppFolder()).canonicalPath(), QDir(work.Path()).canonicalPath());
    EXPECT_FALSE(GP_AppFolder().endsWith(QLatin1Char('/')));
    EXPECT_EQ(g_pTheApp, &app);
    app.ExitInstance();
    QDir::setCurrent(previous);
    g_bShowSplash = true;
}

TEST(AppStartup, TheCommandLineNamesAPuzzleByAnyArgumentThatIsNotAFlag)
{
    const QString here = QDir::currentPath();
    struct Row
    {
        QStringList arguments;
        QString puzzle;
    } rows[] = {
        {{"velmora"}, ""},
        {{"velmora", "/Embedding", "-Automation"}, ""},
        {{"velmora", "Meadow.pzl"}, here + "/Meadow.pzl"},
        {{"velmora", "/Embedding", "/home/ada/Puzzles/Meadow.pzl"}, "/home/ada/Puzzles/Meadow.pzl"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(CROruzozApp::PuzzleNamedBy(row.arguments), row.puzzle) << qPrintable(row.arguments.join(' '));
}
