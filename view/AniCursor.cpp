#include "view/AniCursor.h"

#include <QFile>

#include <algorithm>

namespace {
constexpr int kChunkHeader = 8;
constexpr int kHeaderBytes = 36;
// The header's flag: frames are icon or cursor files (not raw bitmaps).
constexpr quint32 kFramesAreIcons = 1;
// Where a .cur directory's first entry keeps the hot spot, and the smallest file that has one.
constexpr int kCurHotX = 10;
constexpr int kCurHotY = 12;
constexpr int kCurDirectory = 22;

quint32 U32(const QByteArray& bytes, qsizetype at)
{
    return quint32(quint8(bytes[at])) | quint32(quint8(bytes[at + 1])) << 8 | quint32(quint8(bytes[at + 2])) << 16
           | quint32(quint8(bytes[at + 3])) << 24;
}

quint16 U16(const QByteArray& bytes, qsizetype at)
{
    return quint16(quint8(bytes[at]) | quint8(bytes[at + 1]) << 8);
}

struct Chunk
{
    QByteArray id;
    QByteArray body;
};

// The chunks one after another in a RIFF body; false when one claims more than is there.
bool SplitChunks(const QByteArray& body, std::vector<Chunk>& chunks)
{
    qsizetype at = 0;
    while (at + kChunkHeader <= body.size()) {
        const quint32 size = U32(body, at + 4);
        if (size > quint32(body.size() - at - kChunkHeader))
            return false;
        chunks.push_back({body.mid(at, 4), body.mid(at + kChunkHeader, qsizetype(size))});
        // Chunks start on even offsets.
        at += kChunkHeader + qsizetype(size) + qsizetype(size & 1);
    }
    return true;
}
} // namespace

bool AniCursor::ReadCur(const QByteArray& bytes, GP_CursorFrame& frame)
{
    // A cursor directory: reserved 0, type 2, at least one image.
    if (bytes.size() < kCurDirectory || U16(bytes, 0) != 0 || U16(bytes, 2) != 2 || U16(bytes, 4) == 0)
        return false;
    QImage image = QImage::fromData(bytes, "CUR");
    if (image.isNull())
        return false;
    frame.image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    frame.hotSpot = QPoint(U16(bytes, kCurHotX), U16(bytes, kCurHotY));
    return true;
}

bool AniCursor::Fail(const QString& why)
{
    m_error = why;
    m_frames.clear();
    m_steps.clear();
    return false;
}

bool AniCursor::Load(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Fail(QStringLiteral("cannot open %1").arg(path));
    return Read(file.readAll());
}

bool AniCursor::ReadNumbers(const QByteArray& chunk, int count, std::vector<quint32>& numbers)
{
    if (chunk.size() < qsizetype(count) * 4)
        return false;
    numbers.resize(size_t(count));
    for (int i = 0; i < count; ++i)
        numbers[size_t(i)] = U32(chunk, qsizetype(i) * 4);
    return true;
}

bool AniCursor::ReadHeader(const QByteArray& chunk)
{
    if (chunk.size() < kHeaderBytes || U32(chunk, 0) < quint32(kHeaderBytes))
        return false;
    const quint32 frames = U32(chunk, 4);
    const quint32 steps = U32(chunk, 8);
    const quint32 flags = U32(chunk, 32);
    if (frames == 0 || frames > quint32(kMaxFrames) || steps == 0 || steps > quint32(kMaxSteps) || !(flags & kFramesAreIcons))
        return false;
    m_frameCount = int(frames);
    m_stepCount = int(steps);
    m_defaultJiffies = int(std::min<quint32>(U32(chunk, 28), 600));
    return true;
}

bool AniCursor::ReadFrames(const QByteArray& list)
{
    std::vector<Chunk> chunks;
    if (!SplitChunks(list.mid(4), chunks))
        return false;
    for (const Chunk& chunk : chunks) {
        if (chunk.id != "icon")
            continue;
        GP_CursorFrame frame;
        if (!ReadCur(chunk.body, frame))
            return false;
        m_frames.push_back(frame);
    }
    return true;
}

bool AniCursor::Read(const QByteArray& bytes)
{
    m_frames.clear();
    m_steps.clear();
    m_error.clear();
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "ACON")
        return Fail(QStringLiteral("not an animated cursor"));
    const quint32 riffSize = U32(bytes, 4);
    if (riffSize < 4 || riffSize > quint32(bytes.size() - kChunkHeader))
        return Fail(QStringLiteral("the file is shorter than it says"));
    std::vector<Chunk> chunks;
    if (!SplitChunks(bytes.mid(12, qsizetype(riffSize) - 4), chunks))
        return Fail(QStringLiteral("a chunk runs past the end"));
    bool header = false;
    QByteArray rates, sequence;
    for (const Chunk& chunk : chunks) {
        if (chunk.id == "anih") {
            if (!ReadHeader(chunk.body))
                return Fail(QStringLiteral("bad header"));
            header = true;
        } else if (chunk.id == "rate") {
            rates = chunk.body;
        } else if (chunk.id == "seq ") {
            sequence = chunk.body;
        } else if (chunk.id == "LIST" && chunk.body.startsWith("fram")) {
            if (!ReadFrames(chunk.body))
                return Fail(QStringLiteral("a frame is not a cursor"));
        }
    }
    if (!header || int(m_frames.size()) != m_frameCount)
        return Fail(QStringLiteral("the frames do not match the header"));

    std::vector<quint32> order, jiffies;
    if (!sequence.isEmpty() && !ReadNumbers(sequence, m_stepCount, order))
        return Fail(QStringLiteral("short sequence"));
    if (!rates.isEmpty() && !ReadNumbers(rates, m_stepCount, jiffies))
        return Fail(QStringLiteral("short rates"));
    // Without a sequence the frames play in order, one step each.
    if (order.empty() && m_stepCount != m_frameCount)
        return Fail(QStringLiteral("steps without a sequence"));
    for (int i = 0; i < m_stepCount; ++i) {
        const quint32 frame = order.empty() ? quint32(i) : order[size_t(i)];
        if (frame >= quint32(m_frameCount))
            return Fail(QStringLiteral("the sequence names a missing frame"));
        const quint32 rate = jiffies.empty() ? quint32(m_defaultJiffies) : std::min<quint32>(jiffies[size_t(i)], 600);
        m_steps.push_back({int(frame), std::max(1, int(rate) * 1000 / kJiffiesPerSecond)});
    }
    return true;
}
