// The starter puzzles the build cuts into the game folder, against the table they are cut from.
#include "engine/GP_Puzzle.h"
#include "tests/support/TestFolder.h"

#include <QDir>
#include <QFile>
#include <QSet>

#include <gtest/gtest.h>

namespace {
struct StarterRow
{
    QString picture, title, author;
    int pieces = 0, pattern = 0;
    bool rotate = false;
};

QList<StarterRow> StarterTable()
{
    QFile file(SourceFile(QStringLiteral("resources/starter/puzzles.tsv")));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << "resources/starter/puzzles.tsv";
    QList<StarterRow> rows;
    for (const QString& line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        if (line.startsWith(QLatin1Char('#')))
            continue;
        const QStringList f = line.split(QLatin1Char('\t'));
        EXPECT_EQ(f.size(), 7) << qPrintable(line);
        if (f.size() == 7)
            rows.append({f[0], f[1], f[2], f[3].toInt(), f[4].toInt(), f[5] == QLatin1String("1")});
    }
    return rows;
}

const QString kStarterFolder = QStringLiteral(VELMORA_GAME_DIR "/DATA/starter");
} // namespace

TEST(StarterPuzzles, FreshPuzzlesNamedByTheirPicturesFromAQuickOneToALongOne)
{
    const QList<StarterRow> rows = StarterTable();
    ASSERT_GE(rows.size(), 6);
    QSet<QString> expected;
    QSet<int> patterns;
    int fewest = INT_MAX, most = 0, rotating = 0;
    for (const StarterRow& row : rows) {
        SCOPED_TRACE(row.title.toStdString());
        expected.insert(row.title + QStringLiteral(".pzl"));
        CGP_Puzzle puzzle;
        ASSERT_TRUE(puzzle.OpenFile(kStarterFolder + QLatin1Char('/') + row.title + QStringLiteral(".pzl")));
        EXPECT_EQ(puzzle.m_strStoredTitle, row.title);
        EXPECT_EQ(puzzle.m_strCreator, row.author);
        EXPECT_TRUE(puzzle.m_bFresh && !puzzle.m_bSolved);
        EXPECT_EQ(puzzle.m_nPatternIndex, row.pattern);
        EXPECT_EQ(puzzle.m_bOptions[CGP_Puzzle::kOptionRotation], row.rotate);
        EXPECT_NEAR(puzzle.m_nColumns * puzzle.m_nRows, row.pieces, row.pieces * 0.15);
        // Opened on a 1920 x 1080 screen the puzzle keeps its cut.
        EXPECT_LE(puzzle.m_pImage->width(), 1728);
        EXPECT_LE(puzzle.m_pImage->height(), 927);
        fewest = std::min(fewest, row.pieces);
        most = std::max(most, row.pieces);
        rotating += row.rotate;
        patterns.insert(row.pattern);
    }
    const QStringList present = QDir(kStarterFolder).entryList({QStringLiteral("*.pzl")}, QDir::Files);
    EXPECT_EQ(QSet<QString>(present.begin(), present.end()), expected) << "titles are unique, none left over";
    EXPECT_LE(fewest, 30);
    EXPECT_GE(most, 400);
    EXPECT_GE(rotating, 2);
    EXPECT_LT(rotating, rows.size());
    EXPECT_GE(patterns.size(), rows.size() / 2);
}
