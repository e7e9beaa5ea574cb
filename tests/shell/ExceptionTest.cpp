#include "shell/log/GP_Exeption.h"
#include "tests/support/CapturedLog.h"
#include "tests/support/TestFolder.h"

#include <gtest/gtest.h>

TEST(Exeption, FormatTextWithAndWithoutMessage)
{
    const CGP_Exeption withMessage("Error CImage::Create", 120, "GP_Puzzle.cpp");
    EXPECT_EQ(withMessage.FormatText(), "Line 120 in module GP_Puzzle.cpp throw exception:\nError CImage::Create");
    EXPECT_FALSE(withMessage.IsFatal());

    const CGP_Exeption withoutMessage(nullptr, 7, "GP_Path.cpp");
    EXPECT_EQ(withoutMessage.FormatText(), "Line 7 in module GP_Path.cpp throw exception");

    const CGP_FatalExeption fatal("Error memory allocation\n", 64, "ROruzoz.cpp");
    EXPECT_TRUE(fatal.IsFatal());
}

TEST(Exeption, ThrowMacroNamesTheSourceFileWithoutFolders)
{
    int line = 0;
    try {
        line = __LINE__ + 1;
        GP_THROW("Error CImage::Create");
    } catch (const CGP_Exeption& e) {
        EXPECT_STREQ(e.Module(), "ExceptionTest.cpp");
        EXPECT_EQ(e.Line(), line);
        EXPECT_STREQ(e.Message(), "Error CImage::Create");
    }
    EXPECT_STREQ(GP_ModuleName("C:\\src\\engine\\GP_Path.cpp"), "GP_Path.cpp");
    EXPECT_STREQ(GP_ModuleName("plain.cpp"), "plain.cpp");
}

TEST(Exeption, NewHandlerFlagsLogsAndThrowsFatal)
{
    TestFolder folder;
    CapturedLog log(folder);
    try {
        GPNewErrorHandler(4096);
        ADD_FAILURE() << "no exception";
    } catch (const CGP_FatalExeption& e) {
        EXPECT_EQ(e.Line(), 4096);
        EXPECT_STREQ(e.Module(), "ROruzoz.cpp");
        EXPECT_STREQ(e.Message(), "Error memory allocation\n");
    }
    EXPECT_EQ(g_bOutOfMemory, 1);
    g_bOutOfMemory = 0;
    EXPECT_TRUE(log.Text().contains(QStringLiteral("GPNewErrorHandler()\n")));
}
