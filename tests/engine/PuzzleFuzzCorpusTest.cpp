// The fuzzers' corpora as ordinary tests: every input the fuzzers keep runs through the same
// steps here, under the sanitizers of whichever build runs the tests.
#include "tests/engine/PuzzleFileSupport.h"
#include "tests/fuzz/PuzzleFileExercise.h"

#include <QDir>
#include <QFile>

using namespace puzzletest;

namespace {
QByteArray ReadWhole(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QFileInfoList Corpus(const QString& kind)
{
    return QDir(SourceFile(QStringLiteral("tests/fuzz/corpus/") + kind)).entryInfoList(QDir::Files, QDir::Name);
}

const CGP_Path* Patterns()
{
    return puzzlefuzz::Patterns(SourceFile(QStringLiteral("resources/game/PATTERNS")));
}
} // namespace

TEST(PuzzleFuzzCorpus, PuzzleFilesOpenOrAreRefused)
{
    TestFolder folder;
    CapturedLog log(folder);
    const QFileInfoList files = Corpus(QStringLiteral("pzl"));
    ASSERT_GE(files.size(), 5);
    for (const QFileInfo& info : files) {
        const QByteArray bytes = ReadWhole(info.filePath());
        const bool accepted = puzzlefuzz::ExercisePuzzleFile(bytes, Patterns());
        // The seeds the tool made are whole puzzles; inputs the fuzzer added may be refused.
        if (!info.fileName().startsWith(QLatin1String("crash-"))) {
            EXPECT_TRUE(accepted) << qPrintable(info.fileName()) << qPrintable(log.Text());
        }
    }
}

TEST(PuzzleFuzzCorpus, CachesRebuildEveryPiece)
{
    TestFolder folder;
    CapturedLog log(folder);
    puzzlefuzz::CacheBench bench;
    ASSERT_TRUE(bench.Open(SourceFile(QStringLiteral("tests/fuzz/data/cache-puzzle.pzl")), Patterns()));
    const QFileInfoList files = Corpus(QStringLiteral("cash"));
    ASSERT_GE(files.size(), 1);
    for (const QFileInfo& info : files) {
        bench.ReadCached(ReadWhole(info.filePath()));
        EXPECT_EQ(bench.Rebuild(ReadWhole(info.filePath())), 8) << qPrintable(info.fileName());
    }
    EXPECT_EQ(bench.ReadCached(ReadWhole(files.front().filePath())), 8);
    // The seed cache belongs to the puzzle: every piece came from it.
    EXPECT_FALSE(log.Text().contains(QStringLiteral("not in the cache")));

    // A cache cut anywhere, or empty, costs only time: every piece is still built.
    const QByteArray seed = ReadWhole(files.front().filePath());
    for (int size : {0, 3, 4, 31, 32, 40, 500, int(seed.size()) - 1}) {
        EXPECT_EQ(bench.Rebuild(seed.left(size)), 8) << size;
        EXPECT_LT(bench.ReadCached(seed.left(size)), 8) << size;
    }
    EXPECT_TRUE(log.Text().contains(QStringLiteral("not in the cache")));
}
