// velmora-tool field: opens a puzzle as the game opens it for play, replays a script of pointer
// events, keys and waits against the game's own field classes in a view of the given size, and
// writes the field as JSON and as a picture.
#include "tools/velmora-tool/ToolCommand.h"
#include "tools/velmora-tool/ToolFieldReplay.h"
#include "tools/velmora-tool/ToolPuzzleFile.h"

#include "engine/GP_PieceWorkers.h"
#include "engine/GP_Random.h"
#include "skin/Skin.h"
#include "view/FieldPainter.h"
#include "view/model/BoardBackgrounds.h"
#include "view/model/FieldGeometry.h"
#include "view/model/GP_SettingsStore.h"
#include "view/model/OpenForPlay.h"
#include "view/model/ThumbGeometry.h"

#include <QPainter>
#include <QRegularExpression>
#include <QSaveFile>

#include <algorithm>
#include <cstdio>

namespace {
constexpr QSize kDefaultView(1280, 800);
constexpr char kSkinFile[] = "Advanced.skn";

struct FieldOptions
{
    QString file;
    QString events;
    QSize view = kDefaultView;
    uint32_t seed = 1;
    QString json;
    QString png;
};

QString ParseFieldOptions(const QStringList& args, FieldOptions& options)
{
    const QString problem = ToolParseArguments(args, QStringLiteral("puzzle file"), options.file,
                                               [&options](const QString& arg, const QString& value) {
        bool ok = true;
        if (arg == QLatin1String("--events")) {
            options.events = value;
        } else if (arg == QLatin1String("--size")) {
            static const QRegularExpression size(QStringLiteral("^(\\d{1,5})x(\\d{1,5})$"));
            const QRegularExpressionMatch match = size.match(value);
            options.view = match.hasMatch() ? QSize(match.captured(1).toInt(), match.captured(2).toInt()) : QSize();
            ok = options.view.width() >= 320 && options.view.height() >= 240;
        } else if (arg == QLatin1String("--seed")) {
            options.seed = value.toUInt(&ok);
        } else if (arg == QLatin1String("--json")) {
            options.json = value;
        } else if (arg == QLatin1String("--png")) {
            options.png = value;
        } else {
            return QStringLiteral("unknown option %1").arg(arg);
        }
        return ok ? QString() : QStringLiteral("bad value for %1: \"%2\"").arg(arg, value);
    });
    if (!problem.isEmpty())
        return problem;
    if (options.file.isEmpty())
        return QStringLiteral("no puzzle file given");
    return options.events.isEmpty() ? QStringLiteral("no --events file given") : QString();
}

// The JSON keys come in the order the game's tools document, so the text is written by hand.
QString Edges(const QRect& r)
{
    return QStringLiteral("[%1,%2,%3,%4]").arg(r.left()).arg(r.top()).arg(r.left() + r.width()).arg(r.top() + r.height());
}

QString Flag(bool on)
{
    return on ? QStringLiteral("true") : QStringLiteral("false");
}

QString PiecesJson(const GP_GroupPtr& group)
{
    QStringList pieces;
    for (const GP_PiecePtr& p : group->m_pieces) {
        pieces << QStringLiteral("{\"index\":%1,\"column\":%2,\"row\":%3,\"x\":%4,\"y\":%5,\"rotation\":%6,\"width\":%7,"
                                 "\"height\":%8}")
                      .arg(p->m_nIndex).arg(p->m_nColumn).arg(p->m_nRow).arg(p->m_nX).arg(p->m_nY).arg(p->m_nRotation)
                      .arg(p->Width()).arg(p->Height());
    }
    return QLatin1Char('[') + pieces.join(QLatin1Char(',')) + QLatin1Char(']');
}

// The play tools' state: the hint pair by the groups' places in the drawing order, the clock,
// the ghost, the picture window and the pause box.
QString ToolsJson(const PlaySession& session)
{
    CGP_Puzzle& puzzle = *session.Puzzle();
    QString hint = QStringLiteral("null");
    if (puzzle.m_pHintGroup1) {
        const std::deque<GP_GroupPtr> groups = puzzle.m_pGroups->Snapshot();
        const auto z = [&groups](const GP_GroupPtr& group) {
            return int(std::find(groups.begin(), groups.end(), group) - groups.begin());
        };
        hint = QStringLiteral("{\"groups\":[%1,%2],\"countdown\":%3}")
                   .arg(z(puzzle.m_pHintGroup1)).arg(z(puzzle.m_pHintGroup2)).arg(puzzle.m_nHintBlinkCount);
    }
    const double zoom = session.PictureZoom() < 0 ? CThumbGeometry::kFirstDivisor : CThumbGeometry::kDivisors[session.PictureZoom()];
    return QStringLiteral(",\"hint\":%1,\"hintsUsed\":%2,\"seconds\":%3,\"ghost\":%4,"
                          "\"picture\":{\"shown\":%5,\"rect\":%6,\"zoom\":%7},\"paused\":%8")
        .arg(hint).arg(puzzle.m_nHintsUsed).arg(session.Seconds())
        .arg(Flag(session.IsGhostVisible()), Flag(session.IsPictureShown()), Edges(session.PictureRect()),
             QString::number(zoom), Flag(session.IsPauseBoxShown()));
}

QString FieldJson(const PlaySession& session, bool left)
{
    CGP_Puzzle& puzzle = *session.Puzzle();
    QStringList trays;
    for (const CPocket* tray : session.Controller().Trays()) {
        trays << QStringLiteral("{\"location\":%1,\"open\":%2,\"autoOpened\":%3,\"openRect\":%4,\"handle\":%5}")
                     .arg(tray->Location()).arg(Flag(tray->IsOpen()), Flag(tray->IsAutoOpened()), Edges(tray->OpenRect()),
                          Edges(tray->HandleRect()));
    }
    QStringList groups;
    int z = 0;
    for (const GP_GroupPtr& group : puzzle.m_pGroups->Snapshot()) {
        groups << QStringLiteral("{\"z\":%1,\"location\":%2,\"selected\":%3,\"held\":%4,\"bounds\":%5,\"pieces\":%6}")
                      .arg(z++).arg(group->m_nLocation)
                      .arg(Flag(group->m_bSelected), Flag(group == puzzle.m_pHeldGroup),
                           Edges(puzzle.GroupBounds(group, false)), PiecesJson(group));
    }
    // A game left with "command exit" is back on the library screen.
    return QStringLiteral("{\"mode\":\"%1\",\"solved\":%2,\"percent\":%3,\"field\":%4,\"trays\":[%5],\"groups\":[%6]%7}\n")
        .arg(QLatin1String(left ? "MyPuzzles" : "Play"), Flag(puzzle.m_bSolved),
             QString::number(toolpuzzle::Decimal(puzzle.m_fSolvedPercent)), Edges(session.Field()),
             trays.join(QLatin1Char(',')), groups.join(QLatin1Char(',')), ToolsJson(session));
}

bool WriteText(const QString& path, const QString& text)
{
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) >= 0 && file.commit();
}

// The board patterns of the default skin in the application folder, else beside the tool.
QList<QImage> SkinTextures()
{
    QString path = GP_FilePath(GP_Folder::SkinNox, QLatin1String(kSkinFile));
    if (!QFile::exists(path))
        path = QCoreApplication::applicationDirPath() + QLatin1Char('/') + GP_FolderName(GP_Folder::SkinNox) + QLatin1Char('/')
               + QLatin1String(kSkinFile);
    WINSKIN::Skin skin;
    return skin.Load(path) ? FieldPainter::SkinTextures(&skin) : QList<QImage>();
}

bool WritePicture(const PlaySession& session, const QSize& view, const QString& path)
{
    const int skin = 0;
    const QList<QImage> textures = SkinTextures();
    CBoardBackgrounds backgrounds;
    backgrounds.Rebuild(CGP_SettingsStore::DefaultColor(skin, GP_Table::Board),
                        CBoardBackgrounds::TextureAt(textures, CGP_SettingsStore::DefaultTexture(skin, GP_Table::Board)),
                        CGP_SettingsStore::DefaultColor(skin, GP_Table::Trays),
                        CBoardBackgrounds::TextureAt(textures, CGP_SettingsStore::DefaultTexture(skin, GP_Table::Trays)));
    FieldPainter painter;
    painter.SetBackgrounds(backgrounds.Board(), backgrounds.Trays());
    QImage picture(view, QImage::Format_ARGB32_Premultiplied);
    {
        QPainter dc(&picture);
        painter.PaintView(dc, session, picture.rect());
    }
    return picture.save(path, "PNG");
}

int RunField(const QStringList& args)
{
    FieldOptions options;
    const QString problem = ParseFieldOptions(args, options);
    if (!problem.isEmpty())
        return ToolFail(QStringLiteral("field: %1").arg(problem));
    QFile script(options.events);
    if (!script.open(QIODevice::ReadOnly))
        return ToolFail(QStringLiteral("field: cannot read %1").arg(options.events));
    toolpuzzle::CapturedLog log;

    const QRect view(QPoint(0, 0), options.view);
    const QRect field = FieldGeometry::FieldRect(view, GameMode::Play, 0);
    const int handleSide = FieldGeometry::HandleSide(FieldGeometry::LayoutRect(view));
    // One builder, so that every piece draws its push speed from the same generator in order.
    CGP_PieceWorkers workers(1);
    OpenForPlay::Request request;
    request.path = options.file;
    request.patterns = [](int index) { return toolpuzzle::LoadedPattern(toolpuzzle::PatternFolder(QString()), index); };
    request.workers = &workers;
    request.field = field;
    request.handleSide = handleSide;
    GP_srand(options.seed);
    const OpenForPlay::Result opened = OpenForPlay::Open(request);
    if (!opened.puzzle)
        return ToolFail(QStringLiteral("field: %1: %2").arg(opened.error, log.LastLine()));

    HeadlessFieldHost host;
    PlaySession session(opened.puzzle, host);
    host.session = &session;
    host.view = options.view;
    session.SetGeometry(field, handleSide);
    // The picture window is shown, as for a player who never hid it.
    session.StartPlay(true, view);
    if (!opened.fromCache && !opened.puzzle->m_bSolved)
        session.SpreadClearOfPicture();
    session.ResetIdleClock(host.now);
    session.ShowTrays();
    CGP_Puzzle* puzzle = opened.puzzle.get();
    session.Controller().SetShadowRequest([&workers, puzzle](const boost::shared_ptr<GP_GroupDeque>& groups) {
        const std::deque<GP_GroupPtr> list = groups->Snapshot();
        workers.RequestShadows(puzzle, std::vector<GP_GroupPtr>(list.begin(), list.end()));
    });
    FieldReplay replay(session, host, options.view);
    replay.SetPuzzleFile(options.file);
    std::vector<FieldEvent> events;
    QString error;
    if (!replay.Parse(QString::fromUtf8(script.readAll()), events, error) || !replay.Play(events, error))
        return ToolFail(QStringLiteral("field: %1: %2").arg(options.events, error));
    workers.WaitForShadows();

    const QString json = FieldJson(session, replay.HasLeft());
    if (!options.json.isEmpty() && !WriteText(options.json, json))
        return ToolFail(QStringLiteral("field: cannot write %1").arg(options.json));
    if (!options.png.isEmpty() && !WritePicture(session, options.view, options.png))
        return ToolFail(QStringLiteral("field: cannot write %1").arg(options.png));
    if (options.json.isEmpty())
        std::fputs(json.toUtf8().constData(), stdout);
    return 0;
}
} // namespace

VELMORA_TOOL_COMMAND(field, "field",
                     "field FILE.pzl --events FILE [--size WxH] [--seed S] [--json OUT] [--png OUT]", RunField);
