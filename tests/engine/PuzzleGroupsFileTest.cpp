#include "engine/GP_PuzzleFile.h"
#include "engine/GP_PuzzlePieceUnion.h"
#include "engine/GP_Random.h"
#include "tests/engine/PuzzleFileSupport.h"

#include <QFile>

#include <cstring>
#include <vector>

using namespace puzzletest;
using namespace GP_PuzzleFile;

namespace {
GP_GroupPtr StoredGroup(int location, std::initializer_list<std::array<int, 6>> records)
{
    GP_GroupPtr group(new CGP_PuzzlePieceUnion());
    group->m_nLocation = location;
    for (const auto& r : records) {
        GP_PiecePtr piece(new CGP_PuzzlePiece());
        piece->m_nX = r[0];
        piece->m_nY = r[1];
        piece->m_nColumn = r[2];
        piece->m_nRow = r[3];
        piece->m_nIndex = r[4];
        piece->m_nRotation = r[5];
        group->m_pieces.push_back(piece);
    }
    return group;
}

void SetGroups(CGP_Puzzle& puzzle, std::initializer_list<GP_GroupPtr> groups)
{
    puzzle.m_pGroups.reset(new GP_GroupDeque());
    for (const GP_GroupPtr& group : groups)
        puzzle.m_pGroups->PushBack(group);
}

// The groups as plain numbers, for comparing what was written with what was read.
std::vector<std::vector<int>> Flatten(CGP_Puzzle& puzzle)
{
    std::vector<std::vector<int>> out;
    for (const GP_GroupPtr& group : puzzle.m_pGroups->Snapshot()) {
        std::vector<int> row{group->m_nLocation};
        for (const GP_PiecePtr& p : group->m_pieces)
            row.insert(row.end(), {p->m_nX, p->m_nY, p->m_nColumn, p->m_nRow, p->m_nIndex, p->m_nRotation});
        out.push_back(row);
    }
    return out;
}

bool ReadPiecesFrom(CGP_Puzzle& puzzle, QByteArray bytes)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return puzzle.ReadPieces(buffer);
}

// A 3 x 3 puzzle with rotation, played a little: its file bytes with the pieces block.
QByteArray PlayedFile(CGP_Puzzle& puzzle)
{
    puzzle.m_bFresh = false;
    SetGroups(puzzle, {StoredGroup(0, {{10, 20, 0, 0, 0, 1}, {10, 60, 1, 0, 1, 1}}), StoredGroup(3, {{-5, 7, 2, 2, 8, 3}})});
    QByteArray bytes = NewFileBytes(puzzle);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadWrite);
    EXPECT_TRUE(puzzle.WritePieces(buffer));
    return bytes;
}
} // namespace

TEST(PuzzleGroupsFile, PiecesBlockLayoutAndRoundTrip)
{
    TestFolder folder;
    auto puzzle = CutPuzzle(120, 120, 40);
    puzzle->m_bOptions[CGP_Puzzle::kOptionRotation] = true;
    const QByteArray bytes = PlayedFile(*puzzle);
    const qsizetype start = qsizetype(U32At(bytes, 8)) + U32At(bytes, 12);
    ASSERT_EQ(bytes.size(), start + 4 + 2 * 8 + 3 * kPieceRecordSize);
    EXPECT_EQ(U32At(bytes, start), 2u);
    EXPECT_EQ(U32At(bytes, start + 4), 2u);
    EXPECT_EQ(U32At(bytes, start + 8), 0u);
    const int32_t first[6] = {10, 20, 0, 0, 0, 1};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(int32_t(U32At(bytes, start + 12 + 4 * i)), first[i]);
    EXPECT_EQ(U32At(bytes, start + 12 + 48), 1u) << "second group: one piece";
    EXPECT_EQ(U32At(bytes, start + 12 + 52), 3u) << "in the right tray";
    EXPECT_EQ(int32_t(U32At(bytes, start + 12 + 56)), -5);

    CGP_Puzzle read;
    read.m_nColumns = read.m_nRows = 3;
    read.m_nPieceCount = 9;
    read.m_bOptions[CGP_Puzzle::kOptionRotation] = true;
    ASSERT_TRUE(ReadPiecesFrom(read, bytes));
    EXPECT_EQ(Flatten(read), Flatten(*puzzle));

    // No groups at all: an empty deque, not a missing one.
    QByteArray none = bytes.left(start + 4);
    PutU32At(none, start, 0);
    ASSERT_TRUE(ReadPiecesFrom(read, none));
    ASSERT_TRUE(read.m_pGroups);
    EXPECT_EQ(read.m_pGroups->Size(), 0u);

    // Location 1 of older files is the field.
    QByteArray oldPlace = bytes;
    PutU32At(oldPlace, start + 8, 1);
    ASSERT_TRUE(ReadPiecesFrom(read, oldPlace));
    EXPECT_EQ(read.m_pGroups->Snapshot().front()->m_nLocation, 0);
}

TEST(PuzzleGroupsFile, FewerGroupsOverwriteInPlaceReadBackExactly)
{
    TestFolder folder;
    auto puzzle = CutPuzzle(120, 120, 40);
    puzzle->m_bOptions[CGP_Puzzle::kOptionRotation] = true;
    QByteArray bytes = PlayedFile(*puzzle);
    const int longer = bytes.size();
    SetGroups(*puzzle, {StoredGroup(4, {{1, 2, 1, 1, 4, 2}})});
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadWrite);
        ASSERT_TRUE(puzzle->WriteSettings(buffer));
        ASSERT_TRUE(puzzle->WritePieces(buffer));
    }
    EXPECT_EQ(bytes.size(), longer) << "the old tail stays behind";
    CGP_Puzzle read;
    read.m_nColumns = read.m_nRows = 3;
    read.m_nPieceCount = 9;
    read.m_bOptions[CGP_Puzzle::kOptionRotation] = true;
    ASSERT_TRUE(ReadPiecesFrom(read, bytes));
    EXPECT_EQ(Flatten(read), Flatten(*puzzle));
}

TEST(PuzzleGroupsFile, DamagedPiecesAreRefusedAndTheOldGroupsKept)
{
    TestFolder folder;
    CapturedLog log(folder);
    auto puzzle = CutPuzzle(120, 120, 40);
    QByteArray good = PlayedFile(*puzzle); // 3 x 3, rotation off: turned pieces are damage
    const qsizetype start = qsizetype(U32At(good, 8)) + U32At(good, 12);
    // Group 0 holds pieces 0 and 1 (row 0), group 1 piece 8 alone; all start unturned.
    const qsizetype first = start + 12, second = first + 24, lone = first + 48 + 8;
    for (qsizetype record : {first, second, lone})
        PutU32At(good, record + 20, 0);
    struct Patch
    {
        qsizetype offset;
        uint32_t value;
    };
    // Each damage is refused by the check meant for it, not by a later one it happens to upset.
    const struct
    {
        const char* what;
        std::vector<Patch> patches;
        const char* reason;
    } cases[] = {
        {"10001 groups", {{start, 10001}}, "10001 groups"},
        {"more groups than written", {{start, 3}}, "group 2 cut short"},
        {"a group larger than the puzzle", {{start + 4, 10}}, "group 0 of 10 pieces"},
        {"an empty group", {{start + 4, 0}}, "group 0 of 0 pieces"},
        {"column past the grid", {{first + 8, 3}}, "piece 0 at column 3, row 0"},
        {"column past the grid, with its index to match", {{lone + 8, 3}, {lone + 12, 0}, {lone + 16, 3}},
         "piece 3 at column 3, row 0"},
        {"negative row", {{first + 12, 0xFFFFFFFFu}}, "piece 0 at column 0, row -1"},
        {"index that is not row and column", {{first + 16, 5}}, "piece 5 at column 0, row 0"},
        {"one piece of a group turned without rotation", {{first + 20, 1}}, "piece 0 turned 1 times"},
        {"a whole group turned without rotation", {{first + 20, 1}, {second + 20, 1}}, "piece 0 turned 1 times"},
        {"a one-piece group turned without rotation", {{lone + 20, 1}}, "piece 8 turned 1 times"},
        {"a place far off the field", {{first, 0x7FFFFFFFu}}, "piece 0 at 2147483647, 20"},
        {"the second piece a copy of the first", {{second + 8, 0}, {second + 16, 0}}, "piece 0 stored twice"},
    };
    GP_GroupPtr kept = StoredGroup(0, {{0, 0, 0, 0, 0, 0}});
    CGP_Puzzle read;
    read.m_nColumns = read.m_nRows = 3;
    read.m_nPieceCount = 9;
    ASSERT_TRUE(ReadPiecesFrom(read, good)) << "the unpatched copy reads";
    log.NewText();
    for (const auto& c : cases) {
        QByteArray damaged = good;
        for (const Patch& patch : c.patches)
            PutU32At(damaged, patch.offset, patch.value);
        SetGroups(read, {kept});
        EXPECT_FALSE(ReadPiecesFrom(read, damaged)) << c.what;
        EXPECT_EQ(read.m_pGroups->Snapshot().front(), kept) << c.what;
        EXPECT_TRUE(log.NewText().contains(QStringLiteral("CGP_Puzzle::ReadPieces: damaged file: ") + QLatin1String(c.reason)))
            << c.what;
    }
    EXPECT_FALSE(ReadPiecesFrom(read, good.left(start + 2)));
}

TEST(PuzzleGroupsFile, ProgressIsSavedWholeOrNotAtAll)
{
    TestFolder folder;
    CapturedLog log(folder);
    auto puzzle = CutPuzzle(120, 120, 40);
    puzzle->m_bOptions[CGP_Puzzle::kOptionRotation] = true;
    const QString path = folder.File(QStringLiteral("Played.pzl"));
    ASSERT_TRUE(puzzle->WriteNewFile(path));
    const QByteArray fresh = folder.Read(QStringLiteral("Played.pzl"));
    EXPECT_EQ(fresh, NewFileBytes(*puzzle)) << "a new file is exactly its three blocks";

    // The first save of progress adds the pieces; its bytes are those of the rewrite in place.
    PlayedFile(*puzzle);
    puzzle->m_nSolvingTime = 77;
    ASSERT_TRUE(puzzle->SaveProgress(path));
    QByteArray inPlace = fresh;
    {
        QBuffer buffer(&inPlace);
        buffer.open(QIODevice::ReadWrite);
        ASSERT_TRUE(puzzle->WriteSettings(buffer));
        ASSERT_TRUE(puzzle->WritePieces(buffer));
    }
    const QByteArray saved = folder.Read(QStringLiteral("Played.pzl"));
    EXPECT_EQ(saved, inPlace);

    // A save that fails at any step leaves the last save as it was, and readable.
    SetGroups(*puzzle, {StoredGroup(0, {{5, 5, 0, 0, 0, 0}})});
    puzzle->m_nSolvingTime = 99;
    for (const char* step : {"open", "write", "sync", "rename"}) {
        GP_SetReplaceFileFault([step](const char* now) { return std::strcmp(now, step) == 0; });
        EXPECT_FALSE(puzzle->SaveProgress(path)) << step;
        EXPECT_EQ(folder.Read(QStringLiteral("Played.pzl")), saved) << step;
        EXPECT_FALSE(QFile::exists(path + ".new")) << step;
        CGP_Puzzle reopened;
        ASSERT_TRUE(reopened.OpenFile(path)) << step;
        EXPECT_EQ(reopened.m_nSolvingTime, 77);
        EXPECT_EQ(reopened.m_pGroups->Size(), 2u);
    }
    GP_SetReplaceFileFault({});
    ASSERT_TRUE(puzzle->SaveProgress(path));
    CGP_Puzzle reopened;
    ASSERT_TRUE(reopened.OpenFile(path));
    EXPECT_EQ(reopened.m_nSolvingTime, 99);
    EXPECT_EQ(Flatten(reopened), Flatten(*puzzle));

    // A damaged file is not saved into; it stays for whoever looks at it.
    folder.Write(QStringLiteral("Broken.pzl"), saved.left(40));
    EXPECT_FALSE(puzzle->SaveProgress(folder.File(QStringLiteral("Broken.pzl"))));
    EXPECT_EQ(folder.Read(QStringLiteral("Broken.pzl")), saved.left(40));

    // A played puzzle written anew keeps its groups (its settings say it is not fresh).
    ASSERT_TRUE(puzzle->WriteNewFile(path));
    CGP_Puzzle rewritten;
    ASSERT_TRUE(rewritten.OpenFile(path));
    EXPECT_EQ(Flatten(rewritten), Flatten(*puzzle));
}

TEST(PuzzleGroupsFile, OpeningRefusesEveryTruncationAndOddGrids)
{
    TestFolder folder;
    CapturedLog log(folder);
    auto puzzle = CutPuzzle(120, 120, 40);
    puzzle->m_bOptions[CGP_Puzzle::kOptionRotation] = true;
    const QByteArray played = PlayedFile(*puzzle);
    const QString path = folder.File(QStringLiteral("Cut.pzl"));
    const int picture = int(U32At(played, 8));
    // Byte by byte through the header and the pieces; in strides elsewhere (the settings are
    // cut byte by byte where the file's blocks are read one by one).
    auto everyByte = [&](int size) { return size < 16 || size > picture + int(U32At(played, 12)) - 8; };
    for (int size = 0; size < played.size(); size += everyByte(size) ? 1 : 97) {
        folder.Write(QStringLiteral("Cut.pzl"), played.left(size));
        CGP_Puzzle reader;
        EXPECT_FALSE(reader.OpenFile(path)) << size;
    }
    folder.Write(QStringLiteral("Cut.pzl"), played);
    CGP_Puzzle whole;
    ASSERT_TRUE(whole.OpenFile(path));
    EXPECT_EQ(whole.m_pGroups->Size(), 2u);

    // A grid that claims more cells than its picture has.
    QByteArray tooFine = played;
    const int s = 16 + int(U32At(played, 4));
    const float bigPiece = 60;
    uint32_t bits;
    std::memcpy(&bits, &bigPiece, 4);
    PutU32At(tooFine, s + 39, bits); // 3 x 60 > 120
    folder.Write(QStringLiteral("Cut.pzl"), tooFine);
    CGP_Puzzle reader;
    EXPECT_FALSE(reader.OpenFile(path));
    EXPECT_TRUE(log.Text().contains(QStringLiteral("does not fit the 120 x 120 picture")));
}

TEST(PuzzleGroupsFile, CacheHoldsEveryImageAndGivesThemBackIdentically)
{
    TestFolder folder;
    CapturedLog log(folder);
    for (bool rotate : {false, true}) {
        auto puzzle = CutPuzzle(160, 120, 40);
        puzzle->m_bOptions[CGP_Puzzle::kOptionRotation] = rotate;
        puzzle->m_bOptions[CGP_Puzzle::kOptionShadows] = false;
        puzzle->BuildPieces(nullptr, {}, {});
        ASSERT_EQ(puzzle->m_pGroups->Size(), 12u);
        // One piece went missing: its table slot stays empty.
        {
            std::lock_guard<std::mutex> lock(puzzle->m_pGroups->Mutex());
            auto& groups = puzzle->m_pGroups->Items();
            groups.erase(groups.begin() + 5);
        }
        QByteArray cache;
        QBuffer buffer(&cache);
        buffer.open(QIODevice::ReadWrite);
        int progress = 0;
        ASSERT_TRUE(puzzle->WritePieceCache(buffer, [&] { ++progress; }));
        EXPECT_EQ(progress, 11);
        const int images = rotate ? 4 : 1;
        qsizetype expected = 12 * 4;
        for (const GP_GroupPtr& group : puzzle->m_pGroups->Snapshot()) {
            const CGP_PuzzlePiece& piece = *group->m_pieces.front();
            EXPECT_EQ(U32At(cache, piece.m_nIndex * 4), uint32_t(expected)) << "records follow in group order";
            for (int r = 0; r < images; ++r) {
                const uint32_t size = U32At(cache, expected);
                EXPECT_EQ(cache.mid(expected + 4, 2), QByteArray("BM"));
                EXPECT_EQ(U32At(cache, expected + 4 + 2), size) << "each record is one whole BMP file";
                EXPECT_EQ(static_cast<uint8_t>(cache[expected + 4 + 28]), 32) << "32 bits with alpha";
                expected += 4 + size;
            }
        }
        EXPECT_EQ(cache.size(), expected);
        const int missing = 1 * 4 + 1; // the sixth group built was row 1, column 1
        EXPECT_EQ(U32At(cache, missing * 4), kNoOffset);

        // A second puzzle with the same groups rebuilds from the cache: the same pixels.
        const QString path = folder.File(QStringLiteral("Cached.pzl"));
        puzzle->m_bFresh = false;
        ASSERT_TRUE(puzzle->WriteNewFile(path));
        CGP_Puzzle reopened;
        ASSERT_TRUE(reopened.OpenFile(path));
        reopened.CreateGrid(&ShippedPattern(reopened.m_nPatternIndex), true, false);
        QBuffer reading(&cache);
        reading.open(QIODevice::ReadOnly);
        reopened.BuildPieces(&reading, {}, {});
        const auto before = puzzle->m_pGroups->Snapshot();
        const auto after = reopened.m_pGroups->Snapshot();
        ASSERT_EQ(after.size(), before.size());
        for (size_t g = 0; g < before.size(); ++g) {
            const CGP_PuzzlePiece& a = *before[g]->m_pieces.front();
            const CGP_PuzzlePiece& b = *after[g]->m_pieces.front();
            for (int r = 0; r < 4; ++r) {
                ASSERT_EQ(bool(a.m_pImages[r]), bool(b.m_pImages[r])) << g << " step " << r;
                if (a.m_pImages[r]) {
                    EXPECT_EQ(a.m_pImages[r]->convertToFormat(QImage::Format_ARGB32_Premultiplied),
                              b.m_pImages[r]->convertToFormat(QImage::Format_ARGB32_Premultiplied))
                        << g << " step " << r;
                }
            }
        }
        EXPECT_FALSE(log.Text().contains(QStringLiteral("not in the cache")));
    }

    // A cache that cannot be written says so.
    auto puzzle = CutPuzzle(80, 80, 40);
    puzzle->BuildPieces(nullptr, {}, {});
    QByteArray bytes;
    QBuffer readOnly(&bytes);
    readOnly.open(QIODevice::ReadOnly);
    EXPECT_FALSE(puzzle->WritePieceCache(readOnly));
}
