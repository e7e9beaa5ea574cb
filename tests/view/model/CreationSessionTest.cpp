// Making a puzzle from a picture and cutting a library puzzle anew, headless.
#include "view/model/CreationSession.h"

#include "engine/GP_Folders.h"
#include "engine/GP_Path.h"
#include "engine/GP_Puzzle.h"
#include "engine/GP_PuzzleFile.h"
#include "resources/StringTable.h"
#include "tests/support/SettingsTestSupport.h"
#include "view/model/GP_SettingsStore.h"
#include "view/model/PuzzlePaths.h"

#include <gtest/gtest.h>

#include <boost/make_shared.hpp>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QPainter>

#include <cstring>
#include <string>

namespace CreationRules {
void PrintTo(const Range& range, std::ostream* out)
{
    *out << "[" << range.minimum << ", " << range.maximum << "]";
}
} // namespace CreationRules

namespace {

const CGP_Path* Patterns()
{
    static CGP_Path patterns[kPatternCount];
    static const int loaded = LoadPatterns(patterns, SourceFile(QStringLiteral("resources/game/PATTERNS")));
    EXPECT_EQ(loaded, kPatternCount);
    return patterns;
}

// The field of a 1280 x 800 view below its caption band; its area is 1152 x 676.
const QRect kField(0, 50, 1280, 750);

QString Picture(const TestFolder& folder, int w, int h, const QString& name = QStringLiteral("Sea.side.png"))
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(QColor(20, 110, 70));
    QPainter(&image).fillRect(0, 0, w / 2, h / 2, QColor(230, 200, 60));
    const QString path = folder.File(name);
    image.save(path);
    return path;
}

// Every file below the folder, by its path inside it.
QStringList FilesBelow(const TestFolder& folder)
{
    QStringList files;
    QDirIterator it(folder.Path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(folder.Path()).relativeFilePath(it.next());
    files.sort();
    return files;
}

struct Creation
{
    TestFolder folder;
    CapturedLog log{folder};
    GP_ViewSettings settings;
    int changes = 0;
    int stops = 0;
    QList<std::pair<QString, bool>> made;
    CCreationSession session{Patterns(), settings, Host()};

    CCreationSession::Host Host()
    {
        CCreationSession::Host host;
        host.stopWorkers = [this] { ++stops; };
        host.changed = [this] { ++changes; };
        host.puzzleMade = [this](const boost::shared_ptr<CGP_Puzzle>& puzzle, const QString& file, bool added) {
            EXPECT_EQ(file, GP_PuzzlePaths::LibraryFile(puzzle->m_strTitle));
            made.append({puzzle->m_strTitle, added});
        };
        return host;
    }
};

} // namespace

TEST(CreationRules, SliderRanges)
{
    const struct { QSize picture; CreationRules::Range width, pieces; } rows[] = {
        {{1000, 500}, {97, 1000}, {24, 125}},
        {{500, 1000}, {48, 500}, {24, 125}},
        {{400, 400}, {48, 400}, {24, 100}},
        // Exactly 48 high is already the smallest: the range never turns over.
        {{100, 48}, {100, 100}, {12, 12}},
        {{72, 48}, {72, 72}, {12, 12}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.picture.width() << "x" << row.picture.height());
        EXPECT_EQ(CreationRules::ImageWidthRange(row.picture), row.width);
        EXPECT_EQ(CreationRules::PieceSizeRange(row.picture), row.pieces);
        // At the smallest width the picture is still 48 high.
        EXPECT_GE(CreationRules::ScaledToWidth(row.picture, row.width.minimum).height(), 48);
    }
    // The slider set to 7 shows 7 again, though 0.007 is a hair under it in single precision.
    for (int position : {0, 7, 10, 333, 999, 1000})
        EXPECT_EQ(CreationRules::CurvaturePosition(CreationRules::ChaosAt(position)), position);
    EXPECT_EQ(CreationRules::NameFromPictureFile(QStringLiteral("/home/a.b/Sea.side.png")), QStringLiteral("Sea"));
    EXPECT_EQ(CreationRules::OpenPathOf(QStringLiteral("/home/a.b/Sea.side.png")), QStringLiteral("/home/a.b/"));
}

TEST(CreationSession, PicturesAreTakenOrRefusedAgainstTheField)
{
    const struct { const char* why; int w, h; QRect field; int message; QSize loaded; } rows[] = {
        {"360 fits an area 360 high", 40, 300, QRect(0, 0, 1280, 398), 0, {48, 360}},
        {"360 does not fit an area 359 high", 40, 300, QRect(0, 0, 1280, 397), IDS_IMAGE_SIZE_ERROR, {}},
        {"small and wide, enlarged", 30, 20, kField, 0, {72, 48}},
        {"larger than the area, fitted", 2304, 1352, kField, 0, {1152, 676}},
        {"wide enough to fit but fitted under 48 high", 3000, 100, kField, IDS_IMAGE_SIZE_ERROR, {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.why);
        Creation c;
        EXPECT_EQ(c.session.LoadPicture(Picture(c.folder, row.w, row.h), row.field), row.message);
        EXPECT_EQ(c.session.HasPicture(), row.message == 0);
        if (row.message != 0)
            continue;
        EXPECT_EQ(c.session.Puzzle()->m_pImage->size(), row.loaded);
        EXPECT_EQ(c.session.ImageWidth(), row.loaded.width());
        EXPECT_EQ(c.session.ProposedName(), QStringLiteral("Sea"));
        EXPECT_EQ(c.session.Puzzle()->m_nPieceCount, c.session.PieceCount());
        EXPECT_GT(c.session.PieceCount(), 0);
        EXPECT_GE(c.stops, 1);
        EXPECT_EQ(c.changes, 1);
    }

    Creation broken;
    broken.folder.Write(QStringLiteral("broken.jpg"), "not a picture");
    EXPECT_EQ(broken.session.LoadPicture(broken.folder.File(QStringLiteral("broken.jpg")), kField), IDS_IMAGE_LOAD_ERROR);
    // A refused picture leaves the one already taken as it was.
    ASSERT_EQ(broken.session.LoadPicture(Picture(broken.folder, 400, 300), kField), 0);
    EXPECT_EQ(broken.session.LoadPicture(broken.folder.File(QStringLiteral("broken.jpg")), kField), IDS_IMAGE_LOAD_ERROR);
    EXPECT_EQ(broken.session.ImageWidth(), 400);
}

TEST(CreationSession, ParameterChangesRecutAndKeepTheOtherValues)
{
    Creation c;
    ASSERT_EQ(c.session.LoadPicture(Picture(c.folder, 1000, 500), kField), 0);
    // A new creation: pattern 0, chaos 0.01, no rotation, the largest pieces.
    EXPECT_EQ(c.session.PatternIndex(), 0);
    EXPECT_EQ(c.session.CurvaturePosition(), 10);
    EXPECT_FALSE(c.session.Rotation());
    EXPECT_EQ(c.session.ImageWidthRange(), (CreationRules::Range{97, 1000}));
    EXPECT_EQ(c.session.PieceSizePosition(), 125);
    EXPECT_EQ(c.session.PiecesText(), QStringLiteral("Pieces: 32"));

    const struct { const char* what; std::function<void()> change; int pattern, pieceSize, curvature, pieces; const char* trace; } rows[] = {
        {"piece size", [&] { c.session.ChangePieceSize(50); }, 0, 50, 10, 200, "OnCreateChangePieceSize 50 \n"},
        {"curvature", [&] { c.session.ChangeChaotic(250); }, 0, 50, 250, 200, "OnCreateChangeChaotic 0.250 \n"},
        {"pattern", [&] { c.session.ChangePathIndex(5); }, 5, 50, 250, 200, "OnCreateChangePathIndex 5 \n"},
        {"piece size beyond the range", [&] { c.session.ChangePieceSize(999); }, 5, 125, 250, 32, "OnCreateChangePieceSize 999 \n"},
        {"a smaller picture", [&] { c.session.ChangeImageWidth(500); }, 5, 62, 250, 32, nullptr},
        {"below the smallest width", [&] { c.session.ChangeImageWidth(1); }, 5, 12, 250, 32, nullptr},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        const int revision = c.session.CutRevision();
        const int changes = c.changes;
        row.change();
        EXPECT_EQ(c.session.PatternIndex(), row.pattern);
        EXPECT_EQ(c.session.PieceSizePosition(), row.pieceSize);
        EXPECT_EQ(c.session.CurvaturePosition(), row.curvature);
        EXPECT_EQ(c.session.PieceCount(), row.pieces);
        EXPECT_GT(c.session.CutRevision(), revision);
        EXPECT_EQ(c.changes, changes + 1);
        if (row.trace) {
            EXPECT_TRUE(c.log.Text().endsWith(QLatin1String(row.trace))) << qPrintable(c.log.Text().right(60));
        }
    }
    EXPECT_EQ(c.session.Puzzle()->m_pImage->size(), QSize(97, 48));
    // Pattern 5 cuts every tab one way.
    for (uint8_t direction : c.session.Puzzle()->m_pVerticalDirections)
        EXPECT_EQ(direction, 0);
}

TEST(CreationSession, NameChecksInTheirOrder)
{
    Creation c;
    c.folder.Write(QStringLiteral("Puzzles/simple/Taken.pzl"), "x");
    const QString forty(40, QLatin1Char('n'));
    const QString fortyOne(41, QLatin1Char('n'));
    const struct { QString name, author; int message; } rows[] = {
        {fortyOne, fortyOne, IDS_NAME_TOO_LONG},  // before the author is looked at
        {forty, fortyOne, IDS_AUTHOR_TOO_LONG},
        {QString(), QStringLiteral("Ada"), IDS_NAME_EMPTY},
        {QStringLiteral("2009-09-01"), QString(), IDS_DIFFERENT_NAME},
        {QStringLiteral("2009-09-0"), QString(), 0},
        {QStringLiteral("3009-09-01"), QString(), 0},
        {QStringLiteral("Taken"), QString(), IDS_NAME_EXISTS},
        {QStringLiteral("Listed"), QString(), IDS_NAME_EXISTS},
        // Forty characters of two bytes each pass: characters are counted, not bytes.
        {QString(40, QChar(0xE9)), QString(40, QChar(0xE9)), 0},
        // Forty characters outside the basic plane are 80 UTF-16 units; 160 bytes no title holds.
        {QString::fromUcs4(std::u32string(40, U'\U0001F600').c_str(), 40), QString(), IDS_NAME_TOO_LONG},
        {QString::fromUcs4(std::u32string(25, U'\U0001F600').c_str(), 25), QString(), 0},
        {QStringLiteral("../x"), QString(), IDS_NAME_UNSAFE},
        {QStringLiteral("a/b"), QString(), IDS_NAME_UNSAFE},
        {QStringLiteral("a\\b"), QString(), IDS_NAME_UNSAFE},
        {QStringLiteral(".."), QString(), IDS_NAME_UNSAFE},
        {QStringLiteral(".hidden"), QString(), IDS_NAME_UNSAFE},
        {QStringLiteral("\x01"), QString(), IDS_NAME_UNSAFE},
        {QStringLiteral("tab\there"), QString(), IDS_NAME_UNSAFE},
    };
    const auto listed = [](const QString& name) { return name == QLatin1String("Listed"); };
    for (const auto& row : rows)
        EXPECT_EQ(CreationRules::NameRefusal(row.name, row.author, listed), row.message) << qPrintable(row.name);
    EXPECT_FALSE(GP_LoadString(IDS_NAME_UNSAFE).isEmpty());
}

TEST(CreationSession, MakeWritesTheLibraryFileAndNothingElse)
{
    Creation c;
    c.settings.CreatorName = QStringLiteral("Unknown");
    ASSERT_EQ(c.session.LoadPicture(Picture(c.folder, 640, 480), kField), 0);
    const QStringList before = FilesBelow(c.folder);

    // Hostile names are refused before anything is written, anywhere.
    for (const char* name : {"../x", "a/b", "..", "\x01", "../../Puzzles/simple/y"})
        EXPECT_EQ(c.session.MakeNew(QString::fromLatin1(name), QStringLiteral("Ada"), false), IDS_NAME_UNSAFE) << name;
    // A full disk leaves nothing behind.
    GP_SetReplaceFileFault([](const char* step) { return std::strcmp(step, "write") == 0; });
    EXPECT_EQ(c.session.MakeNew(QStringLiteral("Harbour"), QStringLiteral("Ada"), false), IDS_DISK_FULL);
    GP_SetReplaceFileFault({});
    EXPECT_TRUE(c.log.Text().contains(QStringLiteral("throw exception:\nDisk Full!")));
    EXPECT_EQ(FilesBelow(c.folder), before) << qPrintable(FilesBelow(c.folder).join(' '));
    EXPECT_TRUE(c.made.isEmpty());

    c.session.SetRotation(true);
    ASSERT_EQ(c.session.MakeNew(QStringLiteral("Harbour"), QStringLiteral("Ada"), true), 0);
    EXPECT_EQ(c.made, (QList<std::pair<QString, bool>>{{QStringLiteral("Harbour"), true}}));
    EXPECT_EQ(c.settings.CreatorName, QStringLiteral("Ada"));
    EXPECT_TRUE(c.session.SendToFriend());
    EXPECT_FALSE(c.session.Puzzle());
    QStringList expected = before;
    expected << QStringLiteral("Puzzles/simple/Harbour.pzl");
    expected.sort();
    EXPECT_EQ(FilesBelow(c.folder), expected);

    CGP_Puzzle read;
    ASSERT_TRUE(read.OpenFile(c.folder.File(QStringLiteral("Puzzles/simple/Harbour.pzl"))));
    EXPECT_EQ(read.m_strTitle, QStringLiteral("Harbour"));
    EXPECT_EQ(read.m_strCreator, QStringLiteral("Ada"));
    EXPECT_TRUE(read.m_bFresh);
    EXPECT_EQ(QSize(read.m_nCutWidth, read.m_nCutHeight), QSize(640, 480));
    EXPECT_EQ(read.m_nColumns * read.m_nRows, 20);
    EXPECT_TRUE(read.m_pThumbnail);
    const bool options[CGP_Puzzle::kOptionCount] = {true, true, true, false, false, false, false};
    EXPECT_TRUE(std::equal(std::begin(options), std::end(options), std::begin(read.m_bOptions)));
}

TEST(CreationSession, ModifyCutsALibraryPuzzleAnewOrSaysWhyNot)
{
    Creation c;
    ASSERT_EQ(c.session.LoadPicture(Picture(c.folder, 1152, 676), kField), 0);
    c.session.ChangePieceSize(48);
    ASSERT_EQ(c.session.MakeNew(QStringLiteral("Bay"), QStringLiteral("Ada"), false), 0);
    ASSERT_EQ(c.session.LoadPicture(Picture(c.folder, 40, 300), kField), 0);
    ASSERT_EQ(c.session.MakeNew(QStringLiteral("Thin"), QStringLiteral("Ada"), false), 0);
    const QString cache = c.folder.Write(QStringLiteral("Puzzles/Cash/Bay.cash"), "old pieces");

    const auto selected = [&](const QString& name) {
        auto puzzle = boost::make_shared<CGP_Puzzle>();
        QFile file(GP_PuzzlePaths::LibraryFile(name));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly) && puzzle->ReadThumbnailBlock(file) && puzzle->ReadSettings(file));
        return puzzle;
    };
    auto locked = selected(QStringLiteral("Bay"));
    locked->m_bOptions[CGP_Puzzle::kOptionNoModify] = true;
    auto hostile = selected(QStringLiteral("Bay"));
    hostile->m_strTitle = QStringLiteral("../Bay");
    auto missing = selected(QStringLiteral("Bay"));
    missing->m_strTitle = QStringLiteral("Gone");

    const struct { const char* why; boost::shared_ptr<CGP_Puzzle> puzzle; QRect field; int message; const char* trace; } rows[] = {
        {"locked", locked, kField, IDS_MODIFY_NOT_ALLOWED, nullptr},
        {"a name that leaves the library", hostile, kField, IDS_IMAGE_LOAD_ERROR, "names no library file"},
        {"no file", missing, kField, IDS_IMAGE_LOAD_ERROR, "OnMainModify: F == NULL errno = 2 "},
        {"48 x 360 in an area 359 high", selected(QStringLiteral("Thin")), QRect(0, 0, 1280, 397), IDS_MODIFY_SCREEN_TOO_SMALL, nullptr},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.why);
        CCreationSession session(Patterns(), c.settings, c.Host());
        EXPECT_EQ(session.BeginModify(*row.puzzle, row.field), row.message);
        EXPECT_FALSE(session.HasPicture());
        if (row.trace) {
            EXPECT_TRUE(c.log.Text().contains(QLatin1String(row.trace)));
        }
    }

    // A smaller screen: the picture is fitted in memory and keeps its number of pieces.
    CCreationSession session(Patterns(), c.settings, c.Host());
    ASSERT_EQ(session.BeginModify(*selected(QStringLiteral("Bay")), QRect(0, 0, 640, 400)), 0);
    EXPECT_TRUE(session.IsModification());
    EXPECT_EQ(session.Puzzle()->m_pImage->size(), QSize(576, 338));
    EXPECT_EQ(session.PieceSizePosition(), 24);
    EXPECT_EQ(session.PieceCount(), 24 * 14);
    session.ChangeChaotic(0);
    ASSERT_EQ(session.MakeModified(), 0);
    EXPECT_EQ(c.made.last(), (std::pair<QString, bool>{QStringLiteral("Bay"), false}));
    // The piece images of the old cut are gone with it.
    EXPECT_FALSE(QFile::exists(cache));
    CGP_Puzzle read;
    ASSERT_TRUE(read.OpenFile(GP_PuzzlePaths::LibraryFile(QStringLiteral("Bay"))));
    EXPECT_EQ(read.m_nCutWidth, 576);
    EXPECT_EQ(read.m_strCreator, QStringLiteral("Ada"));
    EXPECT_EQ(read.m_fChaos, 0.0f);
}
