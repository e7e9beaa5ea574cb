#pragma once

#include <QByteArray>
#include <QImage>
#include <QPoint>
#include <QString>

#include <vector>

// One picture of a cursor and the pixel of it that points.
struct GP_CursorFrame
{
    QImage image;
    QPoint hotSpot;
};

// The game's cursor files. Qt reads the picture of a .cur file but not its hot spot, and does
// not read animated cursors (.ani, a RIFF "ACON" file of .cur frames with a header, per-step
// rates and an optional sequence) at all: this reads both.
class AniCursor
{
public:
    // A step of the animation: which frame, for how long.
    struct Step
    {
        int frame = 0;
        int durationMs = 0;
    };

    // Animations larger than this are refused as damaged.
    static constexpr int kMaxFrames = 256;
    static constexpr int kMaxSteps = 1024;
    // Rates are counted in sixtieths of a second.
    static constexpr int kJiffiesPerSecond = 60;

    // A .cur file: its first picture and the hot spot kept at bytes 10 and 12.
    static bool ReadCur(const QByteArray& bytes, GP_CursorFrame& frame);

    // An animated cursor file; false (with the reason in Error) when it is not one or damaged.
    bool Read(const QByteArray& bytes);
    bool Load(const QString& path);

    const std::vector<GP_CursorFrame>& Frames() const { return m_frames; }
    const std::vector<Step>& Steps() const { return m_steps; }
    const QString& Error() const { return m_error; }

private:
    bool Fail(const QString& why);
    bool ReadHeader(const QByteArray& chunk);
    bool ReadFrames(const QByteArray& list);
    static bool ReadNumbers(const QByteArray& chunk, int count, std::vector<quint32>& numbers);

    std::vector<GP_CursorFrame> m_frames;
    std::vector<Step> m_steps;
    QString m_error;
    int m_frameCount = 0;
    int m_stepCount = 0;
    int m_defaultJiffies = 0;
};
