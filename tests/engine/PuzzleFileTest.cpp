#include "engine/GP_PuzzleFile.h"

#include "engine/GP_Folders.h"
#include "engine/GP_Random.h"
#include "tests/engine/PuzzleFileSupport.h"

#include <QDir>
#include <QFile>

#include <cstring>

using namespace puzzletest;
using namespace GP_PuzzleFile;

namespace {
// What the game reads when it opens a file for play, without the pieces.
struct ReadBack
{
    explicit ReadBack(const QByteArray& bytes)
    {
        QByteArray copy = bytes;
        QBuffer buffer(&copy);
        buffer.open(QIODevice::ReadOnly);
        thumbnail = puzzle.ReadThumbnailBlock(buffer);
        settings = thumbnail && puzzle.ReadSettings(buffer);
        picture = settings && puzzle.LoadPicture(buffer);
    }
    CGP_Puzzle puzzle;
    bool thumbnail = false;
    bool settings = false;
    bool picture = false;
};

qsizetype SettingsStart(const QByteArray& bytes)
{
    return kHeaderSize + U32At(bytes, 4);
}

float FloatAt(const QByteArray& bytes, int64_t offset)
{
    const uint32_t bits = U32At(bytes, offset);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}
} // namespace

TEST(PuzzleFile, NewFileLayoutByteForByte)
{
    TestFolder folder;
    auto puzzle = CutPuzzle(200, 200, 100); // 2 x 2
    puzzle->m_nThumbX = -7;
    puzzle->m_nThumbY = 321;
    puzzle->m_bOptions[CGP_Puzzle::kOptionRotation] = true;
    puzzle->m_fSolvedPercent = 12.5f;
    puzzle->m_nSolvingTime = 3600;
    puzzle->m_nSolveYear = 2026;
    puzzle->m_nSolveMonth = 12;
    puzzle->m_nSolveDay = 6;
    puzzle->m_nHintsUsed = 3;
    const QByteArray bytes = NewFileBytes(*puzzle);

    EXPECT_EQ(bytes.left(4), QByteArray("ydjp"));
    const uint32_t N = U32At(bytes, 4);
    const uint32_t P = U32At(bytes, 8);
    const uint32_t M = U32At(bytes, 12);
    EXPECT_EQ(bytes.mid(16, 2), QByteArray("BM"));
    EXPECT_EQ(U32At(bytes, 16 + 2), N) << "the thumbnail block is one whole BMP file";
    QImage thumbnail;
    ASSERT_TRUE(thumbnail.loadFromData(bytes.mid(16, N), "BMP"));
    EXPECT_EQ(thumbnail.size(), QSize(140, 140));
    EXPECT_EQ(bytes[16 + 28], 24) << "a 24-bit thumbnail";

    // A 2 x 2 grid: 269 + 9 corners of 16 bytes + 6 + 6 direction bytes.
    EXPECT_EQ(SettingsSize(2, 2), 425);
    EXPECT_EQ(P, 16 + N + 425);
    EXPECT_EQ(int64_t(P) + M, bytes.size()) << "a new file ends with its picture";
    EXPECT_EQ(static_cast<uint8_t>(bytes[P]), 0xFF);
    EXPECT_EQ(static_cast<uint8_t>(bytes[P + 1]), 0xD8);
    EXPECT_EQ(static_cast<uint8_t>(bytes[P + M - 2]), 0xFF);
    EXPECT_EQ(static_cast<uint8_t>(bytes[P + M - 1]), 0xD9);

    const qsizetype s = SettingsStart(bytes);
    EXPECT_EQ(int32_t(U32At(bytes, s + 0)), -7);
    EXPECT_EQ(U32At(bytes, s + 4), 321u);
    EXPECT_EQ(U32At(bytes, s + 8), 2u);
    EXPECT_EQ(U32At(bytes, s + 12), 2u);
    EXPECT_EQ(FloatAt(bytes, s + 16), 100.0f);
    EXPECT_EQ(U32At(bytes, s + 20), 200u);
    EXPECT_EQ(U32At(bytes, s + 24), 200u);
    EXPECT_EQ(U32At(bytes, s + 28), 0u);
    EXPECT_EQ(bytes.mid(s + 32, 7), QByteArray("\x01\x01\x01\x00\x00\x00\x00", 7));
    EXPECT_EQ(FloatAt(bytes, s + 39), 100.0f);
    EXPECT_EQ(FloatAt(bytes, s + 43), 0.01f);
    EXPECT_EQ(bytes[s + 47], 1) << "fresh";
    EXPECT_EQ(bytes[s + 48], 0) << "solved";
    EXPECT_EQ(U32At(bytes, s + 49), 3600u);
    EXPECT_EQ(FloatAt(bytes, s + 53), 12.5f);
    EXPECT_EQ(U32At(bytes, s + 57), 2026u + (12u << 16));
    EXPECT_EQ(static_cast<uint8_t>(bytes[s + 61]), 6);
    EXPECT_EQ(U32At(bytes, s + 63), 3u);
    EXPECT_EQ(bytes.mid(s + 67, 101), QByteArray("Meadow").append(QByteArray(95, '\0')));
    EXPECT_EQ(bytes.mid(s + 168, 101), QByteArray("Ada").append(QByteArray(98, '\0')));
    // The first corner is the grid's top-left, x then y as doubles.
    double x0;
    std::memcpy(&x0, bytes.constData() + s + 269, 8);
    EXPECT_EQ(x0, puzzle->m_pCorners[0].x);
    EXPECT_EQ(bytes.mid(s + 269 + 144, 6),
              QByteArray(reinterpret_cast<const char*>(puzzle->m_pVerticalDirections.data()), 6));
}

TEST(PuzzleFile, EverythingWrittenReadsBack)
{
    TestFolder folder;
    CapturedLog log(folder);
    GP_srand(7);
    auto puzzle = CutPuzzle(410, 300, 100, 3); // 4 x 3 with jittered corners and random tabs
    puzzle->m_fChaos = 0.3f;
    puzzle->m_pCorners.clear();
    puzzle->CreateGrid(&ShippedPattern(3), true, true);
    // Every field a value of its own, so that no two can be swapped unseen.
    puzzle->m_nThumbX = -7;
    puzzle->m_nThumbY = 321;
    puzzle->m_bFresh = false;
    puzzle->m_bSolved = true;
    puzzle->m_nSolvingTime = 4321;
    puzzle->m_fSolvedPercent = 37.5f;
    puzzle->m_nSolveYear = 2026;
    puzzle->m_nSolveMonth = 11;
    puzzle->m_nSolveDay = 7;
    puzzle->m_nHintsUsed = 5;
    puzzle->m_bOptions[CGP_Puzzle::kOptionBevel] = false;
    puzzle->m_bOptions[CGP_Puzzle::kOptionNoGhost] = true;
    puzzle->m_strCreator = QStringLiteral("Zoë 100%");

    ReadBack back(NewFileBytes(*puzzle));
    ASSERT_TRUE(back.picture) << qPrintable(log.Text());
    const CGP_Puzzle& read = back.puzzle;
    EXPECT_EQ(read.m_nMagic, 0x706A6479u);
    EXPECT_EQ(read.m_nColumns, 4);
    EXPECT_EQ(read.m_nRows, 3);
    EXPECT_EQ(read.m_nPieceCount, 12);
    EXPECT_EQ(read.m_nVerticalEdgeCount, 15);
    EXPECT_EQ(read.m_nHorizontalEdgeCount, 16);
    EXPECT_EQ(read.m_fPieceSize, 100.0f);
    EXPECT_EQ(read.m_fChaos, 0.3f);
    EXPECT_EQ(read.m_nPatternIndex, 3);
    EXPECT_EQ(read.m_nCutWidth, 410);
    EXPECT_EQ(read.m_nCutHeight, 300);
    EXPECT_EQ(read.m_nThumbX, -7);
    EXPECT_EQ(read.m_nThumbY, 321);
    EXPECT_FALSE(read.m_bFresh);
    EXPECT_TRUE(read.m_bSolved);
    EXPECT_EQ(read.m_nSolvingTime, 4321);
    EXPECT_EQ(read.m_fSolvedPercent, 37.5f);
    EXPECT_EQ(read.m_nSolveYear, 2026);
    EXPECT_EQ(read.m_nSolveMonth, 11);
    EXPECT_EQ(read.m_nSolveDay, 7);
    EXPECT_EQ(read.m_nHintsUsed, 5);
    for (int i = 0; i < CGP_Puzzle::kOptionCount; ++i)
        EXPECT_EQ(read.m_bOptions[i], puzzle->m_bOptions[i]) << i;
    EXPECT_EQ(read.m_strTitle, QStringLiteral("Meadow"));
    EXPECT_EQ(read.m_strStoredTitle, QStringLiteral("Meadow"));
    EXPECT_EQ(read.m_strCreator, QStringLiteral("Zoë 100%"));
    ASSERT_EQ(read.m_pCorners.size(), puzzle->m_pCorners.size());
    for (size_t i = 0; i < read.m_pCorners.size(); ++i) {
        EXPECT_EQ(read.m_pCorners[i].x, puzzle->m_pCorners[i].x);
        EXPECT_EQ(read.m_pCorners[i].y, puzzle->m_pCorners[i].y);
    }
    EXPECT_EQ(read.m_pVerticalDirections, puzzle->m_pVerticalDirections);
    EXPECT_EQ(read.m_pHorizontalDirections, puzzle->m_pHorizontalDirections);
    ASSERT_TRUE(read.m_pThumbnail);
    EXPECT_EQ(read.m_pThumbnail->size(), QSize(140, 102));
    ASSERT_TRUE(read.m_pImage);
    EXPECT_EQ(read.m_pImage->size(), QSize(410, 300));
    EXPECT_EQ(qAlpha(read.m_pImage->pixel(5, 5)), 255);
    // JPEG is lossy, but the gradient must survive roughly.
    EXPECT_NEAR(qRed(read.m_pImage->pixel(400, 150)), qRed(puzzle->m_pImage->pixel(400, 150)), 12);
    EXPECT_NEAR(qGreen(read.m_pImage->pixel(10, 290)), qGreen(puzzle->m_pImage->pixel(10, 290)), 12);
}

TEST(PuzzleFile, TitlesAreCutToOneHundredBytesOnACharacterBoundary)
{
    EXPECT_EQ(EncodeTitle(QString(101, QLatin1Char('x'))), QByteArray(100, 'x').append('\0'));
    EXPECT_EQ(EncodeTitle(QString(100, QLatin1Char('x'))).left(100), QByteArray(100, 'x'));
    // "a" and fifty two-byte letters make 101 bytes: the last letter would be split, so it goes.
    const QString accented = QStringLiteral("a") + QString(50, QChar(0x00E9));
    const QByteArray field = EncodeTitle(accented);
    ASSERT_EQ(field.size(), 101);
    EXPECT_EQ(DecodeTitle(field.constData()), QStringLiteral("a") + QString(49, QChar(0x00E9)));
    EXPECT_EQ(field.mid(99), QByteArray(2, '\0'));
    // Four-byte characters cut the same way.
    QString wide;
    for (int i = 0; i < 26; ++i)
        wide += QString::fromUcs4(U"\U0001F9E9");
    EXPECT_EQ(DecodeTitle(EncodeTitle(wide).constData()).size(), 25 * 2);
    // A field without a terminating NUL reads 100 bytes at most.
    const QByteArray full(101, 'q');
    EXPECT_EQ(DecodeTitle(full.constData()), QString(100, QLatin1Char('q')));

    TestFolder folder;
    auto puzzle = CutPuzzle(200, 200, 100);
    puzzle->m_strStoredTitle = QString(101, QLatin1Char('T'));
    ReadBack back(NewFileBytes(*puzzle));
    ASSERT_TRUE(back.settings);
    EXPECT_EQ(back.puzzle.m_strTitle, QString(100, QLatin1Char('T')));
}

TEST(PuzzleFile, DamagedHeadersAndSettingsAreRefused)
{
    TestFolder folder;
    CapturedLog log(folder);
    auto puzzle = CutPuzzle(200, 200, 100);
    const QByteArray good = NewFileBytes(*puzzle);
    const uint32_t N = U32At(good, 4);
    const uint32_t P = U32At(good, 8);
    const uint32_t M = U32At(good, 12);
    ASSERT_TRUE(ReadBack(good).picture);

    // Only the version byte may differ.
    QByteArray newer = good;
    newer[0] = 'z';
    ReadBack newerBack(newer);
    EXPECT_TRUE(newerBack.picture);
    EXPECT_EQ(newerBack.puzzle.m_nMagic & 0xFF, uint32_t('z'));
    QByteArray foreign = good;
    foreign[2] = 'x';
    EXPECT_FALSE(ReadBack(foreign).thumbnail);

    // Each damage is refused by the check meant for it, not by a later one it happens to upset.
    struct Patch
    {
        const char* what;
        int64_t offset;
        uint32_t value;
        const char* reason;
    };
    const qsizetype s = 16 + N;
    const Patch patches[] = {
        {"N past the end", 4, 0xFFFFFFF0u, "thumbnail size 4294967280 beyond the end of the file"},
        {"N into the picture", 4, P, "inside the thumbnail or settings"},
        {"P inside the thumbnail", 8, 20, "picture offset 20 inside the thumbnail or settings"},
        {"P inside the fixed settings", 8, uint32_t(s + 100), "inside the thumbnail or settings"},
        {"P past the end", 8, uint32_t(good.size()), "beyond the end of the file"},
        {"M past the end", 12, M + 1, "beyond the end of the file"},
        {"M wrapping round", 12, 0xFFFFFFFFu, "beyond the end of the file"},
        {"M zero", 12, 0, "beyond the end of the file"},
        {"no columns", s + 8, 0, "a grid of 0 x 2"},
        {"negative rows", s + 12, 0xFFFFFFFFu, "a grid of 2 x -1"},
        {"a grid whose corner count overflows", s + 8, 0x7FFFFFFFu, "a grid of 2147483647 x 2"},
        {"a grid larger than the file", s + 12, 5000, "a 2 x 5000 grid runs into the picture"},
        {"pattern 16", s + 28, 16, "pattern 16"},
        {"piece size zero", s + 39, 0, "piece size 0"},
        {"piece size NaN", s + 39, 0x7FC00000u, "piece size nan"},
        {"piece size beyond any picture", s + 39, 0x61C00000u, "piece size 4.4"}, // 4.4e20
    };
    log.NewText();
    for (const Patch& patch : patches) {
        QByteArray damaged = good;
        PutU32At(damaged, patch.offset, patch.value);
        EXPECT_FALSE(ReadBack(damaged).picture) << patch.what;
        EXPECT_TRUE(log.NewText().contains(QLatin1String(patch.reason))) << patch.what;
    }
    QByteArray badDirection = good;
    badDirection[s + 269 + 144] = 2;
    EXPECT_FALSE(ReadBack(badDirection).settings);
    EXPECT_TRUE(log.NewText().contains(QStringLiteral("ReadSettings: damaged file: a tab direction other than 0 or 1")));
    QByteArray farCorner = good;
    const double far = 1e300;
    std::memcpy(farCorner.data() + s + 269 + 16 * 4, &far, 8);
    EXPECT_FALSE(ReadBack(farCorner).settings);
    EXPECT_TRUE(log.NewText().contains(QStringLiteral("ReadSettings: damaged file: a corner lies off any picture")));

    // A refused read leaves the puzzle's grid as it was.
    CGP_Puzzle kept;
    kept.m_nColumns = 9;
    QByteArray noColumns = good;
    PutU32At(noColumns, s + 8, 0);
    QBuffer buffer(&noColumns);
    buffer.open(QIODevice::ReadOnly);
    EXPECT_FALSE(kept.ReadSettings(buffer));
    EXPECT_EQ(kept.m_nColumns, 9);
}

TEST(PuzzleFile, TruncationsAndBitFlipsAreRefusedCleanly)
{
    TestFolder folder;
    CapturedLog log(folder);
    auto puzzle = CutPuzzle(120, 90, 30);
    const QByteArray good = NewFileBytes(*puzzle);
    // Every cut through the header and the settings, then a stride through the rest.
    for (int size = 0; size < good.size(); size += size < 16 + int(U32At(good, 4)) + 600 ? 1 : 37)
        EXPECT_FALSE(ReadBack(good.left(size)).picture) << size;

    GP_srand(12345);
    int accepted = 0;
    for (int round = 0; round < 300; ++round) {
        QByteArray flipped = good;
        for (int flips = 0; flips < 3; ++flips) {
            // Most flips land in the header and the settings, where sizes and counts live.
            const int limit = round % 2 ? flipped.size() : 16 + int(U32At(good, 4)) + 500;
            const int at = (GP_rand() * 32768 + GP_rand()) % std::min<int>(limit, flipped.size());
            flipped[at] = static_cast<char>(flipped[at] ^ (1 << (GP_rand() % 8)));
        }
        ReadBack back(flipped);
        if (!back.picture)
            continue;
        ++accepted;
        // Whatever is accepted is a whole, consistent puzzle.
        EXPECT_EQ(back.puzzle.m_pCorners.size(), size_t(back.puzzle.m_nColumns + 1) * (back.puzzle.m_nRows + 1));
        EXPECT_FALSE(back.puzzle.m_pImage->isNull());
    }
    EXPECT_GT(accepted, 0) << "flips in the picture's pixels still read";
}

TEST(PuzzleFile, LoadPictureSaysWhichStepFailed)
{
    TestFolder folder;
    CapturedLog log(folder);
    auto puzzle = CutPuzzle(200, 200, 100);
    const QByteArray good = NewFileBytes(*puzzle);
    auto load = [](QByteArray bytes) {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        CGP_Puzzle reader;
        return reader.LoadPicture(buffer);
    };
    EXPECT_FALSE(load(good.left(6)));
    EXPECT_FALSE(load(good.left(10)));
    EXPECT_FALSE(load(good.left(14)));
    QByteArray huge = good;
    PutU32At(huge, 12, 0x7FFFFFFF);
    EXPECT_FALSE(load(huge));
    QByteArray notJpeg = good;
    notJpeg[U32At(good, 8)] = 'X';
    notJpeg[U32At(good, 8) + 1] = 'Y';
    EXPECT_FALSE(load(notJpeg));
    // A picture header that claims a giant picture is refused before anything is decoded.
    QByteArray giant = good;
    const int sof = giant.indexOf(QByteArray("\xFF\xC0", 2), U32At(good, 8));
    ASSERT_GT(sof, 0);
    for (int at : {sof + 5, sof + 7}) {
        giant[at] = char(0xEA);
        giant[at + 1] = char(0x60); // 60000
    }
    EXPECT_FALSE(load(giant));
    EXPECT_TRUE(load(good));
    // The picture block may hold any kind the game reads as a player's picture, and no other.
    auto withPicture = [&good](const char* kind) {
        QByteArray encoded;
        QBuffer out(&encoded);
        out.open(QIODevice::WriteOnly);
        QImage(200, 200, QImage::Format_RGB32).save(&out, kind);
        QByteArray bytes = good.left(U32At(good, 8)) + encoded;
        PutU32At(bytes, 12, uint32_t(encoded.size()));
        return bytes;
    };
    EXPECT_TRUE(load(withPicture("PNG")));
    EXPECT_TRUE(load(withPicture("BMP")));
    EXPECT_FALSE(load(withPicture("PPM")));
    EXPECT_FALSE(load(withPicture("XPM")));

    const QString text = log.Text();
    EXPECT_TRUE(text.contains(QStringLiteral("CGP_Puzzle::LoadPicture: fseek1 error errno=")));
    EXPECT_TRUE(text.contains(QStringLiteral("CGP_Puzzle::LoadPicture: fread1 error errno=")));
    EXPECT_TRUE(text.contains(QStringLiteral("CGP_Puzzle::LoadPicture: fread2 error errno=")));
    EXPECT_TRUE(text.contains(QStringLiteral("CGP_Puzzle::LoadPicture: Buffer == NULL \n")));
    EXPECT_TRUE(text.contains(QStringLiteral("CGP_Puzzle::LoadPicture: a picture of -1 x -1 is refused\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("CGP_Puzzle::LoadPicture: a picture of 60000 x 60000 is refused\n")));
    // Nothing was left in the application folder on the way.
    EXPECT_EQ(QDir(folder.Path()).entryList(QDir::Files), QStringList{QStringLiteral("Exception.log")});
}

TEST(PuzzleFile, PreviewFitsThreeSeventyByTwoFiftyFive)
{
    TestFolder folder;
    QDir().mkpath(GP_FolderPath(GP_Folder::PuzzlesSimple));
    struct Case
    {
        int w, h;
        QSize preview;
    };
    // 370/255 = 1.4509804: wider pictures fill the width, the rest the height.
    const Case cases[] = {{400, 200, {370, 185}}, {300, 300, {255, 255}}, {740, 510, {370, 255}}, {100, 400, {63, 255}}};
    for (const Case& c : cases) {
        auto puzzle = CutPuzzle(c.w, c.h, 50);
        puzzle->m_strTitle = QStringLiteral("Preview %1").arg(c.w);
        folder.Write(QStringLiteral("Puzzles/simple/") + puzzle->m_strTitle + ".pzl", NewFileBytes(*puzzle));
        QImage preview;
        ASSERT_TRUE(puzzle->LoadPreview(preview));
        EXPECT_EQ(preview.size(), c.preview) << c.w << "x" << c.h;
        EXPECT_EQ(preview.depth(), 24);
    }
    CGP_Puzzle missing;
    missing.m_strTitle = QStringLiteral("Nowhere");
    QImage untouched(5, 5, QImage::Format_RGB888);
    EXPECT_FALSE(missing.LoadPreview(untouched));
    EXPECT_EQ(untouched.size(), QSize(5, 5));
    EXPECT_EQ(QDir(folder.Path()).entryList(QDir::Files), QStringList{}) << "nothing left beside the puzzles";
}

TEST(PuzzleFile, ReplacingAFileFailsAtAnyStepWithoutTouchingTheOldOne)
{
    TestFolder folder;
    CapturedLog log(folder);
    const QString path = folder.Write(QStringLiteral("Puzzle.pzl"), QByteArray("old contents"));
    const QByteArray fresh(300 * 1024, 'n'); // five blocks of writing
    const char* steps[] = {"open", "write", "sync", "rename"};
    for (const char* step : steps) {
        for (int nth = 0; nth < (std::strcmp(step, "write") ? 1 : 5); ++nth) {
            int seen = 0;
            GP_SetReplaceFileFault([&](const char* now) { return std::strcmp(now, step) == 0 && seen++ == nth; });
            EXPECT_FALSE(GP_ReplaceFile(path, fresh)) << step << nth;
            EXPECT_EQ(folder.Read(QStringLiteral("Puzzle.pzl")), QByteArray("old contents")) << step << nth;
            EXPECT_FALSE(QFile::exists(path + ".new")) << step << nth;
        }
    }
    GP_SetReplaceFileFault({});
    EXPECT_TRUE(log.Text().contains(QStringLiteral("GP_ReplaceFile: write")));
    EXPECT_TRUE(GP_ReplaceFile(path, fresh));
    EXPECT_EQ(folder.Read(QStringLiteral("Puzzle.pzl")), fresh);
    // A folder that cannot be written to fails the same way.
    EXPECT_FALSE(GP_ReplaceFile(folder.File(QStringLiteral("no such folder/P.pzl")), fresh));
}
