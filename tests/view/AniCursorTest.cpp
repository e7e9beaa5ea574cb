// The cursor files the game reads itself: the push animation and the hot spots of .cur files,
// and animations damaged in the ways a file can be.
#include "resources/GP_Resources.h"
#include "tests/support/TestFolder.h"
#include "view/AniCursor.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {
QByteArray ShippedPush()
{
    QFile file(SourceFile(QStringLiteral("resources/game/SKINS Nox/push.ani")));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void PutU32(QByteArray& bytes, qsizetype at, quint32 value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = char((value >> (8 * i)) & 0xFF);
}

qsizetype ChunkAt(const QByteArray& bytes, const char* id)
{
    return bytes.indexOf(QByteArray(id));
}
} // namespace

TEST(AniCursor, ThePushAnimationPlaysItsEightFramesWithTheirHotSpot)
{
    AniCursor push;
    ASSERT_TRUE(push.Read(ShippedPush())) << qPrintable(push.Error());
    ASSERT_EQ(push.Frames().size(), 8u);
    for (const GP_CursorFrame& frame : push.Frames()) {
        EXPECT_EQ(frame.image.size(), QSize(32, 32));
        EXPECT_EQ(frame.hotSpot, QPoint(15, 14));
    }
    ASSERT_EQ(push.Steps().size(), 8u);
    for (size_t i = 0; i < push.Steps().size(); ++i) {
        EXPECT_EQ(push.Steps()[i].frame, int(i));
        EXPECT_EQ(push.Steps()[i].durationMs, 100);  // 6 sixtieths of a second
    }
    // The three .cur cursors keep their hot spots at bytes 10 and 12.
    GP_InitResources();
    for (int number : {104, 181, 182}) {
        QFile file(GP_CursorPath(number));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        GP_CursorFrame frame;
        ASSERT_TRUE(AniCursor::ReadCur(bytes, frame)) << number;
        EXPECT_EQ(frame.hotSpot, QPoint(quint8(bytes[10]) | quint8(bytes[11]) << 8, quint8(bytes[12]) | quint8(bytes[13]) << 8));
    }
}

TEST(AniCursor, DamagedAnimationsAreRefusedWithoutReadingPastTheirEnd)
{
    const QByteArray good = ShippedPush();
    ASSERT_FALSE(good.isEmpty());
    struct Row
    {
        const char* fault;
        std::function<void(QByteArray&)> damage;
    } rows[] = {
        {"not a RIFF file", [](QByteArray& b) { b[0] = 'X'; }},
        {"a RIFF file of another kind", [](QByteArray& b) { b.replace(8, 4, "WAVE"); }},
        {"cut short", [](QByteArray& b) { b.truncate(b.size() / 2); }},
        {"a chunk claiming more than the file holds", [](QByteArray& b) { PutU32(b, ChunkAt(b, "anih") + 4, 0x7FFFFFF0); }},
        {"more frames in the header than in the file", [](QByteArray& b) { PutU32(b, ChunkAt(b, "anih") + 12, 9); }},
        {"frames that are raw bitmaps", [](QByteArray& b) { PutU32(b, ChunkAt(b, "anih") + 8 + 32, 0); }},
        {"a frame that is not a cursor", [](QByteArray& b) { b[ChunkAt(b, "icon") + 8 + 2] = 7; }},
        {"steps without a sequence", [](QByteArray& b) { PutU32(b, ChunkAt(b, "anih") + 16, 9); }},
        {"no frames at all", [](QByteArray& b) { PutU32(b, ChunkAt(b, "anih") + 12, 0); }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.fault);
        QByteArray bytes = good;
        row.damage(bytes);
        AniCursor cursor;
        EXPECT_FALSE(cursor.Read(bytes));
        EXPECT_TRUE(cursor.Frames().empty());
        EXPECT_FALSE(cursor.Error().isEmpty());
    }
}
