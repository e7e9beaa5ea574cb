// velmora-tool skin as a skin author uses it: without --states it shows the whole window.
#include "tests/support/TestFolder.h"

#include <QImage>
#include <QProcess>

#include <gtest/gtest.h>

TEST(ToolSkin, ADialogPreviewShowsFrameAndClientUnlessStatesAreGiven)
{
    TestFolder folder;
    const QString skin = QStringLiteral(VELMORA_GAME_DIR "/SKINS Nox/Advanced.skn");
    struct Row
    {
        QStringList states;
        bool frame;   // the caption shows
        bool client;  // the middle shows
    };
    const Row rows[] = {
        {{}, true, true},
        {{QStringLiteral("--states"), QStringLiteral("NonClient")}, true, true},  // the frame's panel lies under the client
        {{QStringLiteral("--states"), QStringLiteral("Client")}, false, false},   // the client area draws nothing of its own
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.states.join(' ').toStdString());
        const QString png = folder.File(QStringLiteral("dialog.png"));
        QProcess tool;
        tool.start(QStringLiteral(VELMORA_GAME_DIR "/velmora-tool"),
                   QStringList{QStringLiteral("skin"), skin, QStringLiteral("--object"), QStringLiteral("Dialog"),
                               QStringLiteral("--size"), QStringLiteral("300x200"), QStringLiteral("--png"), png}
                       + row.states);
        ASSERT_TRUE(tool.waitForFinished(60000));
        ASSERT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().constData();
        const QImage picture(png);
        ASSERT_EQ(picture.size(), QSize(300, 200));
        EXPECT_EQ(qAlpha(picture.pixel(150, 20)) == 255, row.frame);
        EXPECT_EQ(qAlpha(picture.pixel(150, 120)) == 255, row.client);
        EXPECT_EQ(qAlpha(picture.pixel(0, 0)), 0) << "outside the rounded corner";
    }
}
