#include "view/model/PuzzleLibrary.h"

#include "engine/GP_PuzzleFile.h"
#include "tests/view/model/LibraryTestSupport.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace librarytest;

namespace {
QStringList ListedNames(const CPuzzleLibrary& library)
{
    QStringList names;
    for (const GP_LibraryItem& item : library.Items())
        names << item.puzzle->m_strTitle;
    return names;
}

void OpenToEveryone(const TestFolder& folder)
{
    QFile::setPermissions(folder.Path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther
                                             | QFile::ExeOther);
    for (GP_Folder sub : {GP_Folder::PuzzlesSimple, GP_Folder::PuzzlesCalendar, GP_Folder::PuzzlesCash})
        QFile::setPermissions(GP_FolderPath(sub), QFile::Permissions(0x7777));
    QFile::setPermissions(GP_FolderPath(GP_Folder::Puzzles), QFile::Permissions(0x7755));
}
} // namespace

// Which files the listing shows, which it deletes as damaged and which it leaves alone.
TEST(PuzzleLibrary, ListingDeletesOnlyFilesProvenDamaged)
{
    TestFolder folder;
    CapturedLog log(folder);
    ASSERT_TRUE(CPuzzleLibrary::CreateFolders());
    const QByteArray whole = Bytes(GP_PuzzlePaths::LibraryFile(WritePuzzle(QStringLiteral("Meadow"))->m_strTitle));
    QByteArray foreign = whole;
    foreign[2] = 'x';
    struct Row
    {
        const char* file;
        QByteArray bytes;
        bool listed;
        bool kept;
        const char* fault;
    } rows[] = {
        {"Meadow.pzl", whole, true, true, "a whole puzzle is listed"},
        {"Cut in header.pzl", whole.left(10), false, false, "a file truncated inside its header stays forever"},
        {"Empty.pzl", QByteArray(), false, false, "an empty file stays forever"},
        {"Foreign.pzl", foreign, false, false, "a file without the puzzle magic stays"},
        {"Copying in.pzl", whole.left(whole.size() / 2), false, true, "a file still being copied in is deleted"},
        {"Locked.pzl", whole, false, true, "a file that cannot be opened is deleted"},
        {" 50% & more.pzl", whole, true, true, "a name is not used as it stands"},
        {".hidden.pzl", whole, true, true, "a name starting with a dot is lost"},
        {"..pzl", whole, false, true, "a name that is \".\" is followed out of the folder"},
        {"Shout.PZL", whole, false, true, "another extension is taken for a puzzle"},
    };
    for (const Row& row : rows)
        folder.Write(QStringLiteral("Puzzles/simple/") + QString::fromUtf8(row.file), row.bytes);
    QFile::setPermissions(folder.File(QStringLiteral("Puzzles/simple/Locked.pzl")), QFile::WriteOwner);
    OpenToEveryone(folder);

    CPuzzleLibrary library;
    {
        AsPlayer player;
        library.List();
    }
    const QStringList listed = ListedNames(library);
    for (const Row& row : rows) {
        const QString file = QString::fromUtf8(row.file);
        EXPECT_EQ(listed.contains(file.chopped(4)), row.listed) << row.fault;
        EXPECT_EQ(QFile::exists(folder.File(QStringLiteral("Puzzles/simple/") + file)), row.kept) << row.fault;
    }
    EXPECT_TRUE(log.Text().contains(QStringLiteral("Locked.pzl"))) << "a skipped file leaves no log line";
    const GP_PuzzlePtr meadow = library.Find(QStringLiteral("Meadow"));
    ASSERT_TRUE(meadow);
    EXPECT_FALSE(meadow->m_pThumbnail->isNull());
    EXPECT_FALSE(meadow->m_pGroups) << "listing reads the pieces of every puzzle";
}

TEST(PuzzleLibrary, CalendarPuzzlesGoToTheirDayAndProgressStepsEveryTwentyOneFiles)
{
    TestFolder folder;
    CapturedLog log(folder);
    CPuzzleLibrary::CreateFolders();
    WritePuzzle(QStringLiteral("2011-03-09"), 240, 160, 80, true);
    WritePuzzle(QStringLiteral("Not a day"), 240, 160, 80, true);
    for (int i = 0; i < 40; ++i)
        folder.Write(QStringLiteral("Puzzles/simple/Broken %1.pzl").arg(i), "short");
    CPuzzleLibrary library;
    int steps = 0;
    library.List([&] { ++steps; });
    EXPECT_EQ(steps, 2) << "42 files read advance the progress twice";
    const CCalendarStore calendar = library.Calendar();
    ASSERT_EQ(calendar.Size(), 1u);
    const CCalendarStore::Entry* day = calendar.Find(GP_Date{2011, 3, 9});
    ASSERT_TRUE(day);
    EXPECT_EQ(day->name, QStringLiteral("2011-03-09"));
    EXPECT_TRUE(QFile::exists(GP_PuzzlePaths::CalendarFile(QStringLiteral("Not a day"))));
    EXPECT_EQ(library.Size(), 0u) << "calendar puzzles are not library puzzles";

    const struct
    {
        const char* text;
        bool valid;
    } dates[] = {{"2010-12-15", true}, {"2012-02-29", true}, {"2011-02-29", false}, {"2011-13-01", false},
                 {"2011-3-09x", false}, {"201a-03-09", false}, {"2011-03-9", false}};
    for (const auto& date : dates)
        EXPECT_EQ(CCalendarStore::ParseDateText(QLatin1String(date.text)).has_value(), date.valid) << date.text;
}

TEST(PuzzleLibrary, RemovingTakesThePuzzleItsCacheAndItsCalendarDay)
{
    TestFolder folder;
    CapturedLog log(folder);
    CPuzzleLibrary::CreateFolders();
    for (const char* name : {"Keep", "Gone", "2011-03-09"}) {
        WritePuzzle(QLatin1String(name));
        folder.Write(QStringLiteral("Puzzles/Cash/%1.cash").arg(QLatin1String(name)), "cache");
    }
    WritePuzzle(QStringLiteral("2011-03-09"), 240, 160, 80, true);
    CPuzzleLibrary library;
    library.List();
    library.SetSelected(library.Find(QStringLiteral("Gone")), true);
    library.SetSelected(library.Find(QStringLiteral("2011-03-09")), true);
    EXPECT_EQ(library.RemoveSelected().size(), 2u);

    EXPECT_EQ(ListedNames(library), QStringList{QStringLiteral("Keep")});
    for (const char* name : {"Gone", "2011-03-09"}) {
        EXPECT_FALSE(QFile::exists(GP_PuzzlePaths::LibraryFile(QLatin1String(name)))) << name;
        EXPECT_FALSE(QFile::exists(GP_PuzzlePaths::CacheFile(QLatin1String(name)))) << name << ": the cache stays";
    }
    EXPECT_FALSE(QFile::exists(GP_PuzzlePaths::CalendarFile(QStringLiteral("2011-03-09"))));
    EXPECT_EQ(library.Calendar().Size(), 0u);
    EXPECT_TRUE(QFile::exists(GP_PuzzlePaths::CacheFile(QStringLiteral("Keep"))));
}

// At the end of a session every list puzzle's progress goes back into its file; a failing
// write never costs the player the puzzle.
TEST(PuzzleLibrary, SavingProgressNeverLosesAPuzzle)
{
    TestFolder folder;
    CapturedLog log(folder);
    CPuzzleLibrary::CreateFolders();
    const boost::shared_ptr<CGP_Puzzle> played = WritePuzzle(QStringLiteral("Played"));
    SavePlayed(*played, GP_PuzzlePaths::LibraryFile(QStringLiteral("Played")), false, 95);
    const boost::shared_ptr<CGP_Puzzle> later = WritePuzzle(QStringLiteral("Played later"));
    CPuzzleLibrary library;
    library.List();
    const QString path = GP_PuzzlePaths::LibraryFile(QStringLiteral("Played"));
    const QByteArray before = Bytes(path);

    // Nothing changed: no file is written, so no write can fail.
    GP_SetReplaceFileFault([](const char*) { return true; });
    EXPECT_TRUE(library.SavePuzzleIcons().isEmpty());
    // Changed, into a folder that takes no new file: the old file stays whole.
    library.Find(QStringLiteral("Played"))->m_nThumbX = 321;
    QFile::setPermissions(GP_FolderPath(GP_Folder::PuzzlesSimple), QFile::ReadOwner | QFile::ExeOwner);
    EXPECT_EQ(library.SavePuzzleIcons(), QStringList{QStringLiteral("Played")});
    GP_SetReplaceFileFault({});
    QFile::setPermissions(GP_FolderPath(GP_Folder::PuzzlesSimple), QFile::Permissions(0x7700));
    EXPECT_EQ(Bytes(path), before);
    EXPECT_TRUE(log.Text().contains(QStringLiteral("Disk Full!")));

    // Changed and writable: the new settings, the pieces kept; a puzzle a game saved after the
    // listing keeps the game's progress, not the list's.
    SavePlayed(*later, GP_PuzzlePaths::LibraryFile(QStringLiteral("Played later")), false, 500);
    library.Find(QStringLiteral("Played later"))->m_nThumbX = 99;
    EXPECT_TRUE(library.SavePuzzleIcons().isEmpty());
    CGP_Puzzle game;
    ASSERT_TRUE(game.OpenFile(GP_PuzzlePaths::LibraryFile(QStringLiteral("Played later"))));
    EXPECT_EQ(game.m_nSolvingTime, 500) << "the list's stale progress overwrote a saved game";
    EXPECT_FALSE(game.m_bFresh) << "the list's stale progress overwrote a saved game";
    CGP_Puzzle reread;
    ASSERT_TRUE(reread.OpenFile(path));
    EXPECT_EQ(reread.m_nThumbX, 321);
    EXPECT_EQ(reread.m_nSolvingTime, 95);
    ASSERT_TRUE(reread.m_pGroups);
    EXPECT_EQ(reread.m_pGroups->Size(), played->m_pGroups->Size());
}

// A puzzle opened from a file manager joins the library as a copy; the player's file is never
// changed, even when it is no puzzle.
TEST(PuzzleLibrary, APuzzleFromElsewhereJoinsTheLibraryUnderAFreeName)
{
    TestFolder folder;
    CapturedLog log(folder);
    CPuzzleLibrary::CreateFolders();
    WritePuzzle(QStringLiteral("Harbour"));
    const QByteArray whole = Bytes(GP_PuzzlePaths::LibraryFile(QStringLiteral("Harbour")));
    CPuzzleLibrary library;
    library.List();
    const struct
    {
        const char* file;
        QByteArray bytes;
        const char* joinsAs;
    } rows[] = {
        {"Downloads/Harbour.pzl", whole, "Harbour (2)"},
        {"Downloads/Mill.pzl", whole, "Mill"},
        {"Downloads/Broken.pzl", whole.left(10), nullptr},
        {"Puzzles/simple/Harbour.pzl", whole, "Harbour"},
    };
    for (const auto& row : rows) {
        const QString path = folder.Write(QLatin1String(row.file), row.bytes);
        const GP_PuzzlePtr joined = library.AddFromFile(path);
        EXPECT_EQ(joined ? joined->m_strTitle : QString(), row.joinsAs ? QLatin1String(row.joinsAs) : QString()) << row.file;
        EXPECT_EQ(Bytes(path), row.bytes) << row.file << ": the player's file changed";
    }
    EXPECT_EQ(ListedNames(library), (QStringList{QStringLiteral("Harbour"), QStringLiteral("Harbour (2)"), QStringLiteral("Mill")}));
}
