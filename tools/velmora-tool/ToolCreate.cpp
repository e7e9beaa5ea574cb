// velmora-tool create: the creation screens without their windows. Takes a picture as step 1
// takes it for a field of the given size, moves the sliders as told and, with a name, makes the
// puzzle into the library of the application folder, as "Make" does.
#include "tools/velmora-tool/ToolCommand.h"
#include "tools/velmora-tool/ToolPuzzleFile.h"

#include "engine/GP_Folders.h"
#include "engine/GP_Path.h"
#include "view/model/CreationSession.h"
#include "view/model/GP_SettingsStore.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>

#include <cstdio>
#include <optional>

namespace {
// A 1280 x 800 view less its caption band.
constexpr QSize kDefaultField(1280, 750);

struct CreateOptions
{
    QString picture;
    QString app;
    QSize field = kDefaultField;
    std::optional<int> width;
    std::optional<int> pieceSize;
    std::optional<int> curvature;
    std::optional<int> pattern;
    bool rotate = false;
    std::optional<QString> name;
    std::optional<QString> author;
};

// A whole number in [low, high], or a text saying what is wrong.
QString ParseNumber(const QString& arg, const QString& value, int low, int high, std::optional<int>& into)
{
    bool ok = false;
    const int number = value.toInt(&ok);
    if (!ok || number < low || number > high)
        return QStringLiteral("%1 takes a number from %2 to %3, not \"%4\"").arg(arg).arg(low).arg(high).arg(value);
    into = number;
    return {};
}

QString ParseField(const QString& value, QSize& field)
{
    const QStringList parts = value.split(QLatin1Char('x'));
    bool okW = false, okH = false;
    if (parts.size() == 2)
        field = QSize(parts[0].toInt(&okW), parts[1].toInt(&okH));
    if (!okW || !okH || field.width() <= 0 || field.height() <= 0)
        return QStringLiteral("--field takes WxH, not \"%1\"").arg(value);
    return {};
}

QString ParseOption(const QString& arg, const QString& value, CreateOptions& options)
{
    constexpr int kLarge = 1 << 20;
    if (arg == QLatin1String("--rotate"))
        options.rotate = true;
    else if (arg == QLatin1String("--app"))
        options.app = value;
    else if (arg == QLatin1String("--field"))
        return ParseField(value, options.field);
    else if (arg == QLatin1String("--width"))
        return ParseNumber(arg, value, 1, kLarge, options.width);
    else if (arg == QLatin1String("--piece-size"))
        return ParseNumber(arg, value, 1, kLarge, options.pieceSize);
    else if (arg == QLatin1String("--curvature"))
        return ParseNumber(arg, value, 0, CreationRules::kCurvatureSteps, options.curvature);
    else if (arg == QLatin1String("--pattern"))
        return ParseNumber(arg, value, 0, kPatternCount - 1, options.pattern);
    else if (arg == QLatin1String("--name"))
        options.name = value;
    else if (arg == QLatin1String("--author"))
        options.author = value;
    else
        return QStringLiteral("unknown option %1").arg(arg);
    return {};
}

QString ParseCreateOptions(const QStringList& args, CreateOptions& options)
{
    const QString problem = ToolParseArguments(args, QStringLiteral("picture"), options.picture,
                                               [&options](const QString& arg, const QString& value) {
        return ParseOption(arg, value, options);
    }, {QStringLiteral("--rotate")});
    if (!problem.isEmpty())
        return problem;
    if (options.picture.isEmpty())
        return QStringLiteral("no picture given");
    if (options.app.isEmpty())
        return QStringLiteral("no application folder given (--app DIR)");
    if (!QDir(options.app).exists())
        return QStringLiteral("no application folder %1").arg(options.app);
    return {};
}

// One JSON value as compact text.
QByteArray Json(const QJsonValue& value)
{
    const QByteArray array = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return array.mid(1, array.size() - 2);
}

QJsonValue RangeJson(const CCreationSession::Range& range)
{
    return QJsonArray{range.minimum, range.maximum};
}

struct Outcome
{
    int message = 0;
    QJsonValue imageWidthRange = QJsonValue::Null;
    QJsonValue pieceSizeRange = QJsonValue::Null;
    QJsonValue pieces = QJsonValue::Null;
    QJsonValue file = QJsonValue::Null;
};

// Step 1, the sliders of both steps, then Make when a name is given.
Outcome Create(const CreateOptions& options, const CGP_Path* patterns)
{
    GP_ViewSettings settings;
    CCreationSession session(patterns, settings);
    Outcome outcome;
    outcome.message = session.LoadPicture(options.picture, QRect(QPoint(0, 0), options.field));
    if (outcome.message != 0)
        return outcome;
    if (options.width)
        session.ChangeImageWidth(*options.width);
    if (options.pattern)
        session.ChangePathIndex(*options.pattern);
    if (options.pieceSize)
        session.ChangePieceSize(*options.pieceSize);
    if (options.curvature)
        session.ChangeChaotic(*options.curvature);
    session.SetRotation(options.rotate);
    outcome.imageWidthRange = RangeJson(session.ImageWidthRange());
    outcome.pieceSizeRange = RangeJson(session.PieceSizeRange());
    outcome.pieces = session.PieceCount();
    if (!options.name)
        return outcome;
    outcome.message = session.MakeNew(*options.name, options.author.value_or(session.ProposedAuthor()), false);
    if (outcome.message == 0)
        outcome.file = QDir(GP_AppFolder()).relativeFilePath(session.MadeFile());
    return outcome;
}

int RunCreate(const QStringList& args)
{
    CreateOptions options;
    const QString problem = ParseCreateOptions(args, options);
    if (!problem.isEmpty())
        return ToolFail(QStringLiteral("create: %1").arg(problem));
    // The picture is named from where the tool was started, the rest from the application folder.
    options.picture = QDir::current().absoluteFilePath(options.picture);
    GP_SetAppFolder(options.app);
    static CGP_Path patterns[kPatternCount];
    const QString folder = toolpuzzle::PatternFolder(QString());
    if (LoadPatterns(patterns, folder) == 0)
        return ToolFail(QStringLiteral("create: no patterns in %1").arg(folder));

    toolpuzzle::CapturedLog log;
    const Outcome outcome = Create(options, patterns);
    const QByteArray json = "{\"accepted\":" + Json(outcome.message == 0)
        + ",\"message\":" + (outcome.message == 0 ? QByteArray("null") : QByteArray::number(outcome.message))
        + ",\"imageWidthRange\":" + Json(outcome.imageWidthRange) + ",\"pieceSizeRange\":"
        + Json(outcome.pieceSizeRange) + ",\"pieces\":" + Json(outcome.pieces) + ",\"file\":" + Json(outcome.file) + "}\n";
    std::fputs(json.constData(), stdout);
    return outcome.message == 0 ? 0 : 1;
}
} // namespace

VELMORA_TOOL_COMMAND(create, "create",
                     "create PICTURE --app DIR [--field WxH] [--width W] [--piece-size N] [--curvature C] "
                     "[--pattern I] [--rotate] [--name N] [--author A]",
                     RunCreate);
