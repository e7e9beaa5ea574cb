#include "tools/velmora-tool/ToolFieldReplay.h"

#include "resources/StringTable.h"
#include "view/model/OpenForPlay.h"

#include <QRegularExpression>

namespace {
constexpr int kPauseBoxWidth = 320;
constexpr int kPauseBoxHeight = 150;
// A wait longer than a day is a mistake in the script.
constexpr uint32_t kLongestWaitMs = 24u * 3600u * 1000u;

bool IsNumber(const QString& text)
{
    bool ok = false;
    text.toInt(&ok);
    return ok;
}

// The commands of the game menu, the in-game panel and the picture window.
const QStringList kCommands{QStringLiteral("hint"), QStringLiteral("pull-apart"), QStringLiteral("ghost"),
                            QStringLiteral("picture"), QStringLiteral("zoom"), QStringLiteral("pause"),
                            QStringLiteral("exit")};
} // namespace

void HeadlessFieldHost::ShowPauseBox()
{
    if (session)
        session->SetPauseBox(true, QRect((view.width() - kPauseBoxWidth) / 2, (view.height() - kPauseBoxHeight) / 2,
                                         kPauseBoxWidth, kPauseBoxHeight));
}

void HeadlessFieldHost::StartViewTimer(int id, int periodMs)
{
    timers[id] = Timer{periodMs, now + uint32_t(periodMs)};
}

FieldReplay::FieldReplay(PlaySession& session, HeadlessFieldHost& host, const QSize& view)
    : m_session(session)
    , m_host(host)
    , m_view(view)
    , m_nextIdle(host.now)
{
    AddKinds();
}

QPoint FieldReplay::PointOf(const FieldEvent& event)
{
    return QPoint(event.args.value(0).toInt(), event.args.value(1).toInt());
}

void FieldReplay::AddKinds()
{
    const auto pointer = [this](std::function<void(const QPoint&, const FieldEvent&)> act) {
        return [this, act](const FieldEvent& event) {
            m_cursor = PointOf(event);
            act(m_cursor, event);
            return QString();
        };
    };
    m_kinds[QStringLiteral("press")] = {2, 3, pointer([this](const QPoint& p, const FieldEvent& e) {
        m_session.LeftPress(p, e.args.size() == 3);
    })};
    m_kinds[QStringLiteral("move")] = {2, 2, pointer([this](const QPoint& p, const FieldEvent&) { m_session.LeftMove(p); })};
    m_kinds[QStringLiteral("release")] = {2, 2, pointer([this](const QPoint& p, const FieldEvent&) {
        m_session.LeftRelease(p);
    })};
    m_kinds[QStringLiteral("rpress")] = {2, 2, pointer([this](const QPoint& p, const FieldEvent&) {
        m_session.RightPress(p, p);
    })};
    m_kinds[QStringLiteral("rrelease")] = {2, 2, pointer([this](const QPoint&, const FieldEvent&) {
        m_session.RightRelease(m_host.now);
    })};
    m_kinds[QStringLiteral("wait")] = {1, 1, [this](const FieldEvent& event) {
        Wait(uint32_t(event.args[0].toInt()));
        return QString();
    }};
    m_kinds[QStringLiteral("key")] = {1, 1, [this](const FieldEvent& event) {
        const QString& key = event.args[0];
        if (key == QLatin1String("G"))
            m_session.OnPlayGhost();
        else if (key == QLatin1String("P"))
            m_session.OnPlayPicture();
        else
            m_session.OnPlayPause();
        return QString();
    }};
    m_kinds[QStringLiteral("command")] = {1, 1, [this](const FieldEvent& event) { return RunCommand(event.args[0]); }};
}

QString FieldReplay::RunCommand(const QString& command)
{
    if (command == QLatin1String("hint")) {
        m_session.OnPlayHint();
    } else if (command == QLatin1String("pull-apart")) {
        m_session.OnPlayArrangeAtEdge();
    } else if (command == QLatin1String("ghost")) {
        m_session.OnPlayGhost();
    } else if (command == QLatin1String("picture")) {
        m_session.OnPlayPicture();
    } else if (command == QLatin1String("zoom")) {
        m_session.OnPlayZoom();
    } else if (command == QLatin1String("pause")) {
        m_session.OnPlayPause();
    } else if (command == QLatin1String("exit")) {
        m_bLeft = true;
        const CGameSaver::LeaveResult left = m_session.Leave(m_puzzleFile, OpenForPlay::CachePath(m_puzzleFile));
        if (!left.progressSaved)
            return GP_LoadString(IDS_DISK_FULL);
    }
    return QString();
}

QString FieldReplay::CheckArgs(const FieldEvent& event, const Kind& kind) const
{
    const qsizetype count = event.args.size();
    if (count < kind.minArgs || count > kind.maxArgs)
        return QStringLiteral("\"%1\" takes %2 values").arg(event.name).arg(kind.minArgs == kind.maxArgs
            ? QString::number(kind.minArgs) : QStringLiteral("%1 to %2").arg(kind.minArgs).arg(kind.maxArgs));
    if (event.name == QLatin1String("command"))
        return kCommands.contains(event.args[0]) ? QString() : QStringLiteral("unknown command \"%1\"").arg(event.args[0]);
    if (event.name == QLatin1String("key")) {
        static const QStringList keys{QStringLiteral("G"), QStringLiteral("P"), QStringLiteral("Pause")};
        return keys.contains(event.args[0]) ? QString() : QStringLiteral("unknown key \"%1\"").arg(event.args[0]);
    }
    if (event.name == QLatin1String("press") && count == 3 && event.args[2] != QLatin1String("ctrl"))
        return QStringLiteral("\"%1\" is not \"ctrl\"").arg(event.args[2]);
    for (qsizetype i = 0; i < std::min<qsizetype>(count, 2); ++i) {
        if (!IsNumber(event.args[i]))
            return QStringLiteral("\"%1\" is not a number").arg(event.args[i]);
    }
    if (event.name == QLatin1String("wait")) {
        const int ms = event.args[0].toInt();
        if (ms < 0 || uint32_t(ms) > kLongestWaitMs)
            return QStringLiteral("a wait of %1 ms").arg(ms);
    }
    return QString();
}

bool FieldReplay::Parse(const QString& text, std::vector<FieldEvent>& events, QString& error) const
{
    static const QRegularExpression spaces(QStringLiteral("\\s+"));
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString content = lines[i].section(QLatin1Char('#'), 0, 0).trimmed();
        if (content.isEmpty())
            continue;
        QStringList words = content.split(spaces);
        FieldEvent event{int(i + 1), words.takeFirst(), words};
        const auto kind = m_kinds.find(event.name);
        const QString problem = kind == m_kinds.end() ? QStringLiteral("unknown event \"%1\"").arg(content)
                                                      : CheckArgs(event, kind->second);
        if (!problem.isEmpty()) {
            error = QStringLiteral("line %1: %2").arg(event.line).arg(problem);
            return false;
        }
        events.push_back(event);
    }
    return true;
}

bool FieldReplay::Play(const std::vector<FieldEvent>& events, QString& error)
{
    for (const FieldEvent& event : events) {
        // The game was left: the field has nothing more to play.
        const QString problem = m_bLeft ? QStringLiteral("the game was left before this line")
                                        : m_kinds.at(event.name).handler(event);
        if (!problem.isEmpty()) {
            error = QStringLiteral("line %1: %2").arg(event.line).arg(problem);
            return false;
        }
    }
    return true;
}

void FieldReplay::Wait(uint32_t ms)
{
    const uint32_t end = m_host.now + ms;
    for (;;) {
        // The next thing due: a timer, or the idle step.
        uint32_t due = m_nextIdle;
        int timer = 0;
        for (const auto& [id, entry] : m_host.timers) {
            if (entry.due < due) {
                due = entry.due;
                timer = id;
            }
        }
        if (due > end)
            break;
        m_host.now = due;
        if (timer == 0) {
            m_session.IdleStep(due, true);
            m_nextIdle = due + kIdleStepMs;
            continue;
        }
        m_host.timers[timer].due = due + uint32_t(m_host.timers[timer].periodMs);
        m_session.OnTimer(timer, due, m_cursor);
    }
    m_host.now = end;
}
