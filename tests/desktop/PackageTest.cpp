// The Debian package as a player's machine gets it: the one ctest makes of this build before these
// tests (or the one named by VELMORA_DEB), unpacked into a scratch root with dpkg-deb, and looked at file by file; its
// desktop entry, metadata and puzzle type checked by the desktop's own tools; its launcher run.
#include "tests/shell/GameProcess.h"
#include "tests/support/TestFolder.h"

#include "VelmoraVersion.h"

#include <QDirIterator>
#include <QImageReader>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <memory>

namespace {
const QString kId = QStringLiteral("com.quorvik.Velmora");
const QString kPuzzleType = QStringLiteral("application/x-velmora-puzzle");
constexpr int kProgramMs = 180000;

struct ProgramRun
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

ProgramRun RunProgram(const QString& program, const QStringList& args,
                      const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(program, args);
    ProgramRun run;
    EXPECT_TRUE(process.waitForFinished(kProgramMs)) << qPrintable(program) << " did not finish";
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

bool WaitFor(const std::function<bool()>& done, int ms)
{
    for (int waited = 0; waited < ms; waited += 50) {
        if (done())
            return true;
        QThread::msleep(50);
    }
    return done();
}

QString ReadText(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// Every file below a folder, by its path relative to the folder.
QStringList FilesBelow(const QString& folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext())
        files.append(QDir(folder).relativeFilePath(it.next()));
    files.sort();
    return files;
}

class Package : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_work = std::make_unique<QTemporaryDir>();
        QString deb = qEnvironmentVariable("VELMORA_DEB");
        if (deb.isEmpty()) {
            const QStringList debs = QDir(QStringLiteral(VELMORA_TEST_PACKAGE_DIR))
                                         .entryList({QStringLiteral("velmora_*.deb")}, QDir::Files, QDir::Time);
            deb = debs.isEmpty() ? QString() : QStringLiteral(VELMORA_TEST_PACKAGE_DIR "/") + debs.first();
        }
        if (deb.isEmpty()) {
            s_problem = QStringLiteral("no package in " VELMORA_TEST_PACKAGE_DIR ": run these tests through ctest");
            return;
        }
        s_deb = deb;
        const ProgramRun unpacked = RunProgram(QStringLiteral("dpkg-deb"), {QStringLiteral("-x"), deb, Root()});
        if (unpacked.exitCode != 0)
            s_problem = QString::fromUtf8("dpkg-deb -x failed: " + unpacked.err);
    }
    static void TearDownTestSuite() { s_work.reset(); }

    void SetUp() override { ASSERT_TRUE(s_problem.isEmpty()) << qPrintable(s_problem); }

    static QString Root() { return s_work->filePath(QStringLiteral("root")); }
    static QString InRoot(const QString& path) { return Root() + QLatin1Char('/') + path; }
    static QString Field(const char* name)
    {
        return QString::fromUtf8(RunProgram(QStringLiteral("dpkg-deb"), {QStringLiteral("-f"), s_deb, QLatin1String(name)}).out)
            .trimmed();
    }

    static inline std::unique_ptr<QTemporaryDir> s_work;
    static inline QString s_deb;
    static inline QString s_problem;
};

// A program the desktop checks need, from a package in dev.sh's list.
void ExpectProgram(const char* program, const char* package)
{
    ASSERT_FALSE(QStandardPaths::findExecutable(QLatin1String(program)).isEmpty())
        << program << " missing: install " << package << " (./dev.sh installs it)";
}
} // namespace

TEST_F(Package, HoldsTheProgramsTheDataAndTheDesktopFilesAndNamesTheLibrariesItRunsOn)
{
    enum Kind { Program, Script, Data };
    const struct
    {
        const char* path; // %1: the desktop id
        Kind kind;
        int iconSize;
    } rows[] = {
        {"usr/bin/velmora", Script, 0},
        {"usr/bin/velmora-tool", Program, 0},
        {"usr/libexec/velmora/velmora", Program, 0},
        {"usr/share/applications/%1.desktop", Data, 0},
        {"usr/share/metainfo/%1.metainfo.xml", Data, 0},
        {"usr/share/mime/packages/%1.xml", Data, 0},
        {"usr/share/icons/hicolor/128x128/apps/%1.png", Data, 128},
        {"usr/share/icons/hicolor/256x256/apps/%1.png", Data, 256},
        {"usr/share/icons/hicolor/scalable/apps/%1.svg", Data, 0},
        {"usr/share/velmora/PATTERNS/Pattern1.ptn", Data, 0},
        {"usr/share/velmora/PATTERNS/Pattern16.ptn", Data, 0},
        {"usr/share/velmora/SKINS Nox/Advanced.skn", Data, 0},
        {"usr/share/velmora/SKINS/Flower.skn", Data, 0},
        {"usr/share/doc/velmora/copyright", Data, 0},
        {"usr/share/doc/velmora/CREDITS", Data, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.path);
        const QFileInfo info(InRoot(QString::fromLatin1(row.path).arg(kId)));
        ASSERT_TRUE(info.isFile());
        EXPECT_EQ(info.isExecutable(), row.kind != Data);
        QFile file(info.filePath());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray head = file.read(4);
        const QByteArray expectedHead = row.kind == Program ? QByteArray("\x7f" "ELF")
                                        : row.kind == Script ? QByteArray("#!/b")
                                                             : head;
        EXPECT_EQ(head, expectedHead);
        const QSize expectedSize = row.iconSize ? QSize(row.iconSize, row.iconSize) : QSize();
        EXPECT_EQ(row.iconSize ? QImageReader(info.filePath()).size() : QSize(), expectedSize);
    }

    // The starter puzzles are the build's own, byte for byte.
    const QDir built(QStringLiteral(VELMORA_GAME_DIR "/DATA/starter"));
    const QStringList puzzles = built.entryList({QStringLiteral("*.pzl")}, QDir::Files, QDir::Name);
    ASSERT_FALSE(puzzles.isEmpty());
    EXPECT_EQ(QDir(InRoot(QStringLiteral("usr/share/velmora/DATA/starter"))).entryList(QDir::Files, QDir::Name), puzzles);
    for (const QString& name : puzzles) {
        QFile a(built.filePath(name)), b(InRoot(QStringLiteral("usr/share/velmora/DATA/starter/") + name));
        ASSERT_TRUE(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly)) << qPrintable(name);
        EXPECT_TRUE(a.readAll() == b.readAll()) << qPrintable(name);
    }

    // The control part: the libraries the programs link, and nothing a build needs.
    EXPECT_EQ(Field("Package"), QStringLiteral("velmora"));
    EXPECT_EQ(Field("Version"), QStringLiteral("%1.%2.%3.%4").arg(VELMORA_VERSION_MAJOR).arg(VELMORA_VERSION_MINOR)
                                    .arg(VELMORA_VERSION_PATCH).arg(VELMORA_VERSION_TWEAK));
    EXPECT_EQ(Field("Section"), QStringLiteral("games"));
    EXPECT_EQ(Field("Recommends"), QStringLiteral("nsis"));
    const QString depends = Field("Depends");
    for (const char* library : {"libqt6core6", "libqt6gui6", "libqt6widgets6", "libqt6multimedia6", "libtinyxml", "libc6"})
        EXPECT_TRUE(depends.contains(QLatin1String(library))) << library << " in " << qPrintable(depends);
    // A player's machine needs no development or build packages.
    EXPECT_FALSE(depends.contains(QLatin1String("-dev"))) << qPrintable(depends);
    EXPECT_FALSE(depends.contains(QLatin1String("libgtest"))) << qPrintable(depends);

    // Nothing lands outside the three places a package's files belong.
    for (const QString& path : FilesBelow(Root()))
        EXPECT_TRUE(path.startsWith(QLatin1String("usr/bin/")) || path.startsWith(QLatin1String("usr/libexec/velmora/"))
                    || path.startsWith(QLatin1String("usr/share/")))
            << qPrintable(path);
}

TEST_F(Package, DesktopEntryMetadataAndPuzzleTypeValidateAndAgree)
{
    ExpectProgram("desktop-file-validate", "desktop-file-utils");
    ExpectProgram("appstreamcli", "appstream");
    const QString desktop = InRoot(QStringLiteral("usr/share/applications/") + kId + QStringLiteral(".desktop"));
    const QString metainfo = InRoot(QStringLiteral("usr/share/metainfo/") + kId + QStringLiteral(".metainfo.xml"));
    const ProgramRun entry = RunProgram(QStringLiteral("desktop-file-validate"), {desktop});
    EXPECT_EQ(entry.exitCode, 0) << entry.out.constData() << entry.err.constData();
    const ProgramRun meta = RunProgram(QStringLiteral("appstreamcli"), {QStringLiteral("validate"), QStringLiteral("--no-net"), metainfo});
    EXPECT_EQ(meta.exitCode, 0) << meta.out.constData() << meta.err.constData();

    const QString text = ReadText(desktop);
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (const QString& line : {QStringLiteral("Exec=velmora %f"), QStringLiteral("Icon=") + kId,
                                QStringLiteral("MimeType=") + kPuzzleType + QLatin1Char(';'),
                                QStringLiteral("Categories=Game;LogicGame;")})
        EXPECT_TRUE(lines.contains(line)) << qPrintable(line);
    EXPECT_TRUE(ReadText(metainfo).contains(QStringLiteral("<launchable type=\"desktop-id\">") + kId + QStringLiteral(".desktop<")));
    EXPECT_TRUE(ReadText(InRoot(QStringLiteral("usr/share/mime/packages/") + kId + QStringLiteral(".xml")))
                    .contains(QStringLiteral("type=\"") + kPuzzleType + QLatin1Char('"')));
}

TEST_F(Package, PuzzleFilesAreKnownByTheirNameAndByTheirFirstBytes)
{
    ExpectProgram("update-mime-database", "shared-mime-info");
    // The package's type in a database of its own, in front of the system's.
    const QString share = s_work->filePath(QStringLiteral("share"));
    QDir().mkpath(share + QStringLiteral("/mime/packages"));
    QFile::copy(InRoot(QStringLiteral("usr/share/mime/packages/") + kId + QStringLiteral(".xml")),
                share + QStringLiteral("/mime/packages/") + kId + QStringLiteral(".xml"));
    const ProgramRun update = RunProgram(QStringLiteral("update-mime-database"), {share + QStringLiteral("/mime")});
    ASSERT_EQ(update.exitCode, 0) << update.err.constData();

    TestFolder files;
    QFile starter(QStringLiteral(VELMORA_GAME_DIR "/DATA/starter/Evening Glow.pzl"));
    ASSERT_TRUE(starter.open(QIODevice::ReadOnly));
    const QByteArray puzzle = starter.readAll();
    const struct
    {
        const char* name;
        QByteArray bytes;
        const char* how;
        QString type;
    } rows[] = {
        {"Evening Glow.pzl", puzzle, "file", kPuzzleType},
        {"sent by a friend", puzzle, "content", kPuzzleType},
        {"renamed.puzzle", puzzle, "file", kPuzzleType},
        {"half written.pzl", QByteArray(), "name", kPuzzleType},
        {"notes.txt", "a text that mentions ydjp\n", "file", QStringLiteral("text/plain")},
        {"other", QByteArray("\0\1xydjp\2\3", 9), "content", QStringLiteral("application/octet-stream")},
    };
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_DATA_DIRS"), share + QStringLiteral(":/usr/share"));
    env.insert(QStringLiteral("XDG_DATA_HOME"), files.File(QStringLiteral("nowhere")));
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const QString path = files.Write(QLatin1String(row.name), row.bytes);
        const ProgramRun asked = RunProgram(QStringLiteral(VELMORA_TEST_HELPER_DIR "/mime_type_of"),
                                            {QLatin1String(row.how), path}, env);
        EXPECT_EQ(QString::fromUtf8(asked.out).trimmed(), row.type);
    }
}

TEST_F(Package, LauncherStartsTheGameInThePlayersFolderLinkedToTheInstalledData)
{
    const QString data = QDir(InRoot(QStringLiteral("usr/share/velmora"))).canonicalPath();
    const QStringList shipped = QDir(data).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    ASSERT_TRUE(shipped.contains(QStringLiteral("PATTERNS")) && shipped.contains(QStringLiteral("DATA")));
    const QStringList installed = FilesBelow(Root());
    enum Before { OldLink, OwnSkins, NoDataHome };
    for (const Before before : {OldLink, OwnSkins, NoDataHome}) {
        SCOPED_TRACE(int(before));
        TestFolder home;
        const QString folder = before == NoDataHome ? home.File(QStringLiteral(".local/share/velmora"))
                                                    : home.File(QStringLiteral("data/velmora"));
        if (before == OldLink) {  // left by an installation that has moved since
            QDir().mkpath(folder);
            ASSERT_TRUE(QFile::link(home.File(QStringLiteral("gone/PATTERNS")), folder + QStringLiteral("/PATTERNS")));
        }
        if (before == OwnSkins)
            home.Write(QStringLiteral("data/velmora/SKINS/Mine.skn"), "<Skin/>");

        QProcessEnvironment env = GameEnvironment(home.File(QStringLiteral("runtime")));
        env.insert(QStringLiteral("HOME"), home.Path());
        if (before == NoDataHome)
            env.remove(QStringLiteral("XDG_DATA_HOME"));
        else
            env.insert(QStringLiteral("XDG_DATA_HOME"), home.File(QStringLiteral("data")));
        QProcess game;
        game.setProcessEnvironment(env);
        game.setWorkingDirectory(home.Path());
        game.start(InRoot(QStringLiteral("usr/bin/velmora")), {});
        const QString log = folder + QStringLiteral("/Exception.log");
        const bool began = WaitFor([&] { return ReadText(log).contains(QLatin1String("BEGIN SESSION")); }, 20000);
        game.terminate();
        ASSERT_TRUE(game.waitForFinished(20000)) << "the game did not end on SIGTERM";
        ASSERT_TRUE(began) << "no BEGIN SESSION in " << qPrintable(log) << ": " << game.readAllStandardError().constData();

        for (const QString& name : shipped) {
            SCOPED_TRACE(name.toStdString());
            const QFileInfo entry(folder + QLatin1Char('/') + name);
            const bool own = before == OwnSkins && name == QLatin1String("SKINS");
            EXPECT_EQ(entry.isSymLink(), !own) << "a link to the installation, unless the player's own folder is there";
            EXPECT_EQ(QFile::exists(entry.filePath() + QStringLiteral("/Mine.skn")), own);
            if (!own) {
                EXPECT_EQ(entry.symLinkTarget(), data + QLatin1Char('/') + name);
            }
        }
        EXPECT_EQ(FilesBelow(Root()), installed) << "nothing is written into the installation";
    }
}
