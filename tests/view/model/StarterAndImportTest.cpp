// The starter library's one-time seeding, and puzzle files brought into the library from outside.
#include "tests/support/TestFolder.h"
#include "view/model/GP_Registry.h"
#include "view/model/PuzzleImport.h"
#include "view/model/StarterLibrary.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {
QStringList LibraryPuzzles(const TestFolder& folder)
{
    return QDir(folder.File(QStringLiteral("Puzzles/simple"))).entryList({QStringLiteral("*.pzl")}, QDir::Files, QDir::Name);
}

QByteArray StarterPuzzle(const char* title)
{
    QFile file(QStringLiteral(VELMORA_GAME_DIR "/DATA/starter/") + QLatin1String(title) + QStringLiteral(".pzl"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << "build the starter puzzles first: " << title;
    return file.readAll();
}
} // namespace

TEST(StarterLibrary, SeedsAnEmptyLibraryOnceAndNeverOverThePlayersOwn)
{
    using Outcome = CStarterLibrary::Outcome;
    enum Before { Fresh, SeededAndEmptiedSince, SeededElsewhere, OwnPuzzle, OnlyOtherFiles, NoStarterFolder, BlockedCopy };
    const struct
    {
        Before before;
        Outcome outcome;
        QStringList library;
        bool settled;
    } rows[] = {
        {Fresh, Outcome::Seeded, {"A.pzl", "B.pzl", "C.pzl"}, true},
        {SeededAndEmptiedSince, Outcome::AlreadySettled, {}, true},
        // Another application folder of the same player (an installed game and a build).
        {SeededElsewhere, Outcome::Seeded, {"A.pzl", "B.pzl", "C.pzl"}, true},
        {OwnPuzzle, Outcome::LibraryInUse, {"Mine.pzl"}, true},
        {OnlyOtherFiles, Outcome::Seeded, {"A.pzl", "B.pzl", "C.pzl"}, true},
        {NoStarterFolder, Outcome::NothingToCopy, {}, false},
        // "B.pzl" cannot be written: "A.pzl" is taken back out, and the next start tries again.
        {BlockedCopy, Outcome::CopyFailed, {}, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(int(row.before));
        TestFolder folder;
        QDir().mkpath(folder.File(QStringLiteral("Puzzles/simple")));
        for (const char* name : {"A.pzl", "B.pzl", "C.pzl"}) {
            if (row.before != NoStarterFolder)
                folder.Write(QStringLiteral("DATA/starter/") + QLatin1String(name), name);
        }
        CGP_Registry settings(folder.File(QStringLiteral("settings.ini")));
        if (row.before == SeededAndEmptiedSince || row.before == SeededElsewhere) {
            TestFolder elsewhere;
            const QString before = QDir(row.before == SeededElsewhere ? elsewhere.Path() : folder.Path()).canonicalPath();
            settings.SetText(QLatin1String(CStarterLibrary::kSeededValue), QStringLiteral("/old/folder\n") + before);
        }
        if (row.before == OwnPuzzle)
            folder.Write(QStringLiteral("Puzzles/simple/Mine.pzl"), "mine");
        if (row.before == OnlyOtherFiles) {
            folder.Write(QStringLiteral("Puzzles/simple/notes.txt"), "notes");
            folder.Write(QStringLiteral("Puzzles/simple/Half.pzl.part"), "half");
        }
        if (row.before == BlockedCopy)
            QDir().mkpath(folder.File(QStringLiteral("Puzzles/simple/B.pzl")));

        int copied = -1;
        EXPECT_EQ(CStarterLibrary::SeedIfNeeded(settings, &copied), row.outcome);
        EXPECT_EQ(LibraryPuzzles(folder), row.library);
        EXPECT_EQ(copied, row.outcome == Outcome::Seeded ? 3 : 0);
        if (row.outcome == Outcome::Seeded) {
            EXPECT_EQ(folder.Read(QStringLiteral("Puzzles/simple/B.pzl")), QByteArray("B.pzl"));
        }
        // The record is on disk, for the next start's fresh settings.
        CGP_Registry reread(folder.File(QStringLiteral("settings.ini")));
        EXPECT_EQ(CStarterLibrary::IsSettled(reread), row.settled);
        EXPECT_FALSE(QFile::exists(folder.File(QStringLiteral("Puzzles/simple/A.pzl.part"))));
    }
}

TEST(PuzzleImport, CopiesAWholePuzzleInUnderAFreeNameAndRefusesDamagedOnes)
{
    using Outcome = CPuzzleImport::Outcome;
    const QByteArray lake = StarterPuzzle("Two Friends");
    const QByteArray other = StarterPuzzle("Marigold");
    ASSERT_FALSE(lake.isEmpty() || other.isEmpty());
    enum Before { Empty, NameTaken, NameAndSecondTaken, SameBytesThere, StaleCache };
    const struct
    {
        const char* source; // below the test folder, outside the library unless it says so
        QByteArray bytes;
        Before before;
        Outcome outcome;
        const char* name;
    } rows[] = {
        {"Downloads/Lake.pzl", lake, Empty, Outcome::Imported, "Lake"},
        {"Downloads/Lake.pzl", lake, NameTaken, Outcome::Imported, "Lake (2)"},
        {"Downloads/Lake.pzl", lake, NameAndSecondTaken, Outcome::Imported, "Lake (3)"},
        {"Downloads/Lake.pzl", lake, SameBytesThere, Outcome::InLibrary, "Lake"},
        {"Puzzles/simple/Lake.pzl", lake, Empty, Outcome::InLibrary, "Lake"},
        {"Downloads/from a friend", lake, Empty, Outcome::Imported, "from a friend"},
        {"Downloads/Lake.pzl", lake, StaleCache, Outcome::Imported, "Lake (2)"},
        {"Downloads/Cut.pzl", lake.left(lake.size() / 2), Empty, Outcome::Damaged, ""},
        {"Downloads/Head.pzl", lake.left(20), Empty, Outcome::Damaged, ""},
        {"Downloads/Notes.pzl", "ydjp is not enough to be a puzzle", Empty, Outcome::Damaged, ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.source);
        TestFolder folder;
        QDir().mkpath(folder.File(QStringLiteral("Puzzles/simple")));
        QStringList before;
        if (row.before != Empty && row.before != SameBytesThere)
            before << folder.Write(QStringLiteral("Puzzles/simple/Lake.pzl"), other);
        if (row.before == NameAndSecondTaken)
            before << folder.Write(QStringLiteral("Puzzles/simple/Lake (2).pzl"), other);
        if (row.before == StaleCache)
            folder.Write(QStringLiteral("Puzzles/Cash/Lake (2).cash"), "pieces of another puzzle");
        if (row.before == SameBytesThere)
            folder.Write(QStringLiteral("Puzzles/simple/Lake.pzl"), lake);
        const QString source = folder.Write(QLatin1String(row.source), row.bytes);
        const QStringList libraryBefore = LibraryPuzzles(folder);

        const CPuzzleImport::Result result = CPuzzleImport::Import(source);
        EXPECT_EQ(result.outcome, row.outcome);
        EXPECT_EQ(result.name, QLatin1String(row.name));
        EXPECT_EQ(folder.Read(QLatin1String(row.source)), row.bytes) << "the file opened is never changed";
        const QStringList library = LibraryPuzzles(folder);
        if (row.outcome == Outcome::Imported) {
            EXPECT_EQ(library.size(), libraryBefore.size() + 1);
            EXPECT_EQ(folder.Read(QStringLiteral("Puzzles/simple/%1.pzl").arg(QLatin1String(row.name))), row.bytes);
            EXPECT_FALSE(QFile::exists(folder.File(QStringLiteral("Puzzles/Cash/%1.cash").arg(QLatin1String(row.name)))));
        } else {
            EXPECT_EQ(library, libraryBefore);
        }
        for (const QString& kept : before) {
            EXPECT_EQ(QFile(kept).size(), other.size()) << "a puzzle of the same name stays as it was";
        }
    }
    // A file that does not exist is not a puzzle either.
    TestFolder folder;
    EXPECT_EQ(CPuzzleImport::Import(folder.File(QStringLiteral("gone.pzl"))).outcome, Outcome::Damaged);
}
