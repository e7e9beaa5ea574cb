#include "view/model/CompletionText.h"

#include "engine/GP_Puzzle.h"

#include <gtest/gtest.h>

#include <QDate>

TEST(CompletionText, TellsWhatWasSolvedInTheLocalesTimeAndDate)
{
    struct TimeRow
    {
        const char* fault;
        QLocale locale;
        int seconds;
        const char* text;
    };
    const TimeRow times[] = {
        {"the C locale's time was not a time of day", QLocale::c(), 3725, "01:02:05"},
        {"the player's locale was not used", QLocale(QLocale::English, QLocale::UnitedStates), 3725, "1:02:05 AM"},
        {"a game of more than a day showed no time", QLocale::c(), 25 * 3600 + 61, "25:01:01"},
        {"a damaged negative time showed", QLocale::c(), -3, "00:00:00"},
    };
    for (const TimeRow& row : times) {
        SCOPED_TRACE(row.fault);
        EXPECT_EQ(GP_SolvingTimeText(row.seconds, row.locale), QString::fromUtf8(row.text));
    }

    CGP_Puzzle puzzle;
    puzzle.m_strTitle = QStringLiteral("100%s %d Meadow");
    puzzle.m_strCreator = QStringLiteral("Ada");
    puzzle.m_nColumns = 4;
    puzzle.m_nRows = 3;
    puzzle.m_fPieceSize = 50.7f;
    puzzle.m_nSolvingTime = 3725;
    puzzle.m_nSolveYear = 2024;
    puzzle.m_nSolveMonth = 3;
    puzzle.m_nSolveDay = 5;
    puzzle.m_nHintsUsed = 4;
    const QLocale locale = QLocale::c();
    // A title's own "%s" is a title, not a place for the author.
    EXPECT_EQ(GP_CompletionText(puzzle, locale),
              QStringLiteral("100%s %d Meadow\nAuthor: Ada\nPicture: 202 x 152, Pieces: 12\n Time: 01:02:05\n")
                  + locale.toString(QDate(2024, 3, 5), QLocale::ShortFormat) + QStringLiteral("\nHints Used: 4"));
    EXPECT_EQ(GP_FillFormat(QStringLiteral("%d%% of %s, %s"), {QStringLiteral("5"), QStringLiteral("%s")}),
              QStringLiteral("5% of %s, "));
}
