#include "view/model/FriendPackage.h"

#include "engine/GP_PuzzleFile.h"
#include "tests/view/model/LibraryTestSupport.h"

#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace librarytest;
using Failure = CFriendPackage::Failure;

// The copy a friend gets is the puzzle as it was made: played, solved, timed and hinted
// puzzles all arrive fresh.
TEST(FriendPackage, ASentCopyStartsUnsolvedWithThePictureAndCutOfTheOriginal)
{
    TestFolder folder;
    CapturedLog log(folder);
    const boost::shared_ptr<CGP_Puzzle> made = WritePuzzle(QStringLiteral("Solved one"));
    const QString path = GP_PuzzlePaths::LibraryFile(QStringLiteral("Solved one"));
    SavePlayed(*made, path, true, 400, 3);
    const QByteArray original = Bytes(path);
    const QString copyPath = GP_PuzzlePaths::PackingCopy(QStringLiteral("Solved one"));
    ASSERT_TRUE(CFriendPackage::MakeUnsolvedCopy(path, copyPath));

    EXPECT_EQ(Bytes(path), original) << "sending changed the player's own puzzle";
    CGP_Puzzle copy;
    ASSERT_TRUE(copy.OpenFile(copyPath));
    EXPECT_TRUE(copy.m_bFresh);
    EXPECT_FALSE(copy.m_bSolved);
    EXPECT_EQ(copy.m_nSolvingTime, 0);
    EXPECT_EQ(copy.m_nHintsUsed, 0);
    EXPECT_EQ(copy.m_fSolvedPercent, 0.0f);
    EXPECT_FALSE(copy.m_pGroups) << "the sent copy carries the sender's pieces";
    EXPECT_EQ(copy.m_pCorners.size(), made->m_pCorners.size());
    EXPECT_EQ(copy.m_strStoredTitle, QStringLiteral("Title of Solved one"));
    const uint32_t pictureEnd = puzzletest::U32At(original, 8) + puzzletest::U32At(original, 12);
    EXPECT_EQ(Bytes(copyPath).size(), qsizetype(pictureEnd)) << "a pieces block follows the picture";

    EXPECT_FALSE(CFriendPackage::MakeUnsolvedCopy(folder.Write(QStringLiteral("junk.pzl"), "not a puzzle at all"),
                                                  folder.File(QStringLiteral("TEMP/junk.pzl"))));
    EXPECT_FALSE(QFile::exists(folder.File(QStringLiteral("TEMP/junk.pzl"))));
}

// How a send ends before and after the compiler, with a compiler of the test's own in DATA.
TEST(FriendPackage, ASendThatMakesNoPackageSaysSoAndLeavesNoOldPackageBehind)
{
    TestFolder folder;
    CapturedLog log(folder);
    QTemporaryDir build;
    WritePuzzle(QStringLiteral("One"));
    WritePuzzle(QStringLiteral("Two"));
    const QString compiler = folder.Write(QStringLiteral("DATA/makensis"),
                                          "#!/bin/sh\necho \"$PWD\" > ../compiler-run\nfor a; do echo \"$a\" >> ../compiler-run; done\n"
                                          "[ -n \"$FAKE_PACKAGE\" ] && echo MZ > \"$FAKE_PACKAGE\"\nexit ${FAKE_EXIT:-1}\n");
    QFile::setPermissions(compiler, QFile::Permissions(0x7755));
    const QString target = folder.File(QStringLiteral("Sent.exe"));
    const struct Row
    {
        QStringList names;
        const char* exitCode;
        bool makesPackage;
        Failure failure;
        const char* fault;
        // Where the package goes when not to target.
        const char* elsewhere = nullptr;
    } rows[] = {
        {{}, "0", true, Failure::NothingSelected, "sending nothing builds a package"},
        {{QStringLiteral("One"), QStringLiteral("Missing")}, "0", true, Failure::UnknownName, "an unknown name is sent"},
        {{QStringLiteral("One"), QStringLiteral("../One")}, "0", true, Failure::UnknownName, "a name leaves its folder"},
        {{QStringLiteral("One"), QStringLiteral("Two")}, "0", false, Failure::NotBuilt, "an old package passes for a new one"},
        {{QStringLiteral("One"), QStringLiteral("Two")}, "1", true, Failure::NotBuilt, "a failed compiler run counts as built"},
        {{QStringLiteral("One"), QStringLiteral("Two")}, "0", true, Failure::SaveFailed, "a package not saved stays behind",
         "compiler-run/Sent.exe"},
        {{QStringLiteral("One"), QStringLiteral("Two")}, "0", true, Failure::None, "a package that came out is refused"},
    };
    for (const Row& row : rows) {
        CFriendPackage package(build.path());
        folder.Write(QStringLiteral("TEMP/left over.pzl"), "old copy");
        QFile::remove(target);
        // A package of an earlier send waits in the build folder.
        QFile stale(package.BuiltFile());
        ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
        stale.write("old package");
        stale.close();
        qputenv("FAKE_EXIT", row.exitCode);
        qputenv("FAKE_PACKAGE", row.makesPackage ? QFile::encodeName(package.BuiltFile()) : QByteArray());
        EXPECT_EQ(package.Send(row.names, false, row.elsewhere ? folder.File(QLatin1String(row.elsewhere)) : target), row.failure)
            << row.fault;
        EXPECT_EQ(QFile::exists(target), row.failure == Failure::None) << row.fault;
        EXPECT_FALSE(QFile::exists(folder.File(QStringLiteral("TEMP/left over.pzl")))) << "TEMP is not cleared first";
        if (row.failure == Failure::NotBuilt || row.failure == Failure::SaveFailed) {
            EXPECT_FALSE(QFile::exists(package.BuiltFile())) << row.fault;
            EXPECT_TRUE(QDir(GP_FolderPath(GP_Folder::Temp)).entryList({QStringLiteral("*.pzl")}).isEmpty()) << row.fault;
        }
    }
    qunsetenv("FAKE_EXIT");
    qunsetenv("FAKE_PACKAGE");
    EXPECT_EQ(Bytes(target), QByteArray("MZ\n"));
    const QStringList run = QString::fromUtf8(Bytes(folder.File(QStringLiteral("compiler-run")))).split(QLatin1Char('\n'));
    const QStringList expected{GP_FolderPath(GP_Folder::Data), QStringLiteral("-Dttt"), QStringLiteral("-DNox"),
                               QStringLiteral("-DSEND"), QStringLiteral("-DOUT_FILE=") + build.path() + QStringLiteral("/Puzzles.exe"),
                               QStringLiteral("-DSRC_DIR=") + folder.Path(), QStringLiteral("-DTEXT_DIR=") + GP_FolderPath(GP_Folder::Data),
                               QStringLiteral("Tavrel.nsi")};
    EXPECT_EQ(run.mid(0, expected.size()), expected);
}
