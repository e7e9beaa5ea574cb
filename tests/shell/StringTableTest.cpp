#include "resources/StringTable.h"

#include <gtest/gtest.h>

// Texts the player reads must be exactly the game's own, escapes and all.
TEST(StringTable, TextsAreVerbatim)
{
    EXPECT_EQ(GP_LoadString(191), QStringLiteral("Your hard disk is full. Operation can't be performed."));
    EXPECT_EQ(GP_LoadString(199), QStringLiteral("Are you sure?"));
    EXPECT_EQ(GP_LoadString(220), QStringLiteral("Application must be re-launched."));
    EXPECT_EQ(GP_LoadString(243),
              QStringLiteral("Error connecting to the server. Please check your Internet connection."));
    EXPECT_EQ(GP_LoadString(557), QStringLiteral("Downloading game update..."));
    EXPECT_EQ(GP_LoadString(556), QStringLiteral("Downloading puzzle %s..."));
    // A real line feed, and a percent sign doubled because callers format this text.
    EXPECT_EQ(GP_LoadString(210),
              QStringLiteral("%s\nAuthor: %s\nPicture: %d x %d, Pieces: %d\n Solved: %d%% Time:"));
    EXPECT_EQ(GP_LoadString(210).count(QLatin1Char('\n')), 3);
    // Typographic quotes, not ASCII ones.
    EXPECT_EQ(GP_LoadString(239), QString::fromUtf8("Game is paused. Click \xE2\x80\x9COK\xE2\x80\x9D to resume playing."));
}

TEST(StringTable, ButtonLabelsAndGaps)
{
    EXPECT_EQ(GP_LoadString(IDS_OK), QStringLiteral("OK"));
    EXPECT_EQ(GP_LoadString(IDS_CANCEL), QStringLiteral("Cancel"));
    EXPECT_EQ(GP_LoadString(IDS_YES), QStringLiteral("Yes"));
    EXPECT_EQ(GP_LoadString(IDS_NO), QStringLiteral("No"));
    EXPECT_EQ(GP_LoadString(IDS_CONTINUE), QStringLiteral("Continue"));
    EXPECT_EQ(GP_LoadString(IDS_UPDATE), QStringLiteral("Update"));

    // Numbers the game never uses give an empty text, not a neighbour's.
    for (int id : {0, 184, 193, 213, 218, 555, 560, -1}) {
        EXPECT_FALSE(GP_HasString(id)) << id;
        EXPECT_TRUE(GP_LoadString(id).isEmpty()) << id;
    }
    EXPECT_TRUE(GP_HasString(185));
    EXPECT_TRUE(GP_HasString(559));
}
