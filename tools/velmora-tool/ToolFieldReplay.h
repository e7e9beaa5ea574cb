#pragma once

// The event script of velmora-tool field and the headless window it is played against: the
// game's own PlaySession driven by pointer events, keys and a game clock that only moves when
// the script waits.
#include "view/model/PlaySession.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <vector>

// One line of a script: "press 100 200 ctrl", "wait 400", ...
struct FieldEvent
{
    int line = 0;
    QString name;
    QStringList args;
};

// A window without pixels: it keeps the view's timers and the pause box for the game and lets
// the clock run them.
class HeadlessFieldHost : public CPlaySessionHost
{
public:
    void RepaintNow(const QRect&) override {}
    void Invalidate() override {}
    void PlaySound(int wave) override { sounds.push_back(wave); }
    void SetFieldCursor(FieldCursor cursor) override { this->cursor = cursor; }
    void SetCapture(bool) override {}
    void SetTrayButtonFull(bool full) override { trayButtonFull = full; }
    void TraysChanged() override {}
    void StartViewTimer(int id, int periodMs) override;
    void StopViewTimer(int id) override { timers.erase(id); }
    void ClosePauseBox() override {}
    void PuzzleSolved() override { ++solvedCount; }
    // The pause box of a window without pixels sits in the middle of the view at the message
    // box's least size.
    void ShowPauseBox() override;
    void ShowPictureWindow(bool, const QRect&) override {}
    void ShowTime(int) override {}

    struct Timer
    {
        int periodMs = 0;
        uint32_t due = 0;
    };
    uint32_t now = 1000;
    std::map<int, Timer> timers;
    std::vector<int> sounds;
    std::optional<FieldCursor> cursor;
    bool trayButtonFull = false;
    int solvedCount = 0;
    PlaySession* session = nullptr;
    QSize view;
};

// Reads and plays a script against a game. Each event kind is one entry of the table, so that
// new kinds of events join as new entries.
class FieldReplay
{
public:
    // The idle step runs this often while the clock moves (the game's idle pass in play).
    static constexpr uint32_t kIdleStepMs = 10;

    FieldReplay(PlaySession& session, HeadlessFieldHost& host, const QSize& view);

    // The script's events; false with "line N: ..." in error when a line is not an event.
    bool Parse(const QString& text, std::vector<FieldEvent>& events, QString& error) const;
    // Plays the events in order; false with the line's problem in error.
    bool Play(const std::vector<FieldEvent>& events, QString& error);

    // The puzzle file that "command exit" saves the game into, as leaving the game does.
    void SetPuzzleFile(const QString& path) { m_puzzleFile = path; }
    // Whether the script left the game.
    bool HasLeft() const { return m_bLeft; }

private:
    using Handler = std::function<QString(const FieldEvent& event)>;
    struct Kind
    {
        int minArgs;
        int maxArgs;
        Handler handler;
    };

    void AddKinds();
    QString RunCommand(const QString& command);
    QString CheckArgs(const FieldEvent& event, const Kind& kind) const;
    static QPoint PointOf(const FieldEvent& event);
    void Wait(uint32_t ms);

    PlaySession& m_session;
    HeadlessFieldHost& m_host;
    QSize m_view;
    QPoint m_cursor;
    uint32_t m_nextIdle = 0;
    std::map<QString, Kind> m_kinds;
    QString m_puzzleFile;
    bool m_bLeft = false;
};
