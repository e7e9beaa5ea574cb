// velmora-tool make: a new puzzle file from a picture, made as the creation screens make one:
// the picture fitted to the field, cut, given its thumbnail and options, and written whole.
#include "tools/velmora-tool/ToolCommand.h"
#include "tools/velmora-tool/ToolCutOptions.h"
#include "tools/velmora-tool/ToolPuzzleFile.h"

#include "engine/GP_Random.h"
#include "shell/log/GP_Exeption.h"

#include <QFileInfo>

#include <cstdio>

namespace {
// The area a new puzzle's picture is fitted into unless told otherwise.
constexpr int kDefaultFitWidth = 1728;
constexpr int kDefaultFitHeight = 972;

struct MakeOptions : ToolCutOptions
{
    MakeOptions()
    {
        hasFit = true;
        fit = QSize(kDefaultFitWidth, kDefaultFitHeight);
    }

    QString out;
    QString name;
    QString author;
    bool rotate = false;
    bool bevel = true;
    bool shadows = true;
};

QString ParseValue(const QString& arg, const QString& value, MakeOptions& options)
{
    if (const std::optional<QString> problem = ParseCutOption(arg, value, options))
        return *problem;
    if (arg == QLatin1String("-o")) {
        options.out = value;
    } else if (arg == QLatin1String("--name")) {
        options.name = value;
    } else if (arg == QLatin1String("--author")) {
        options.author = value;
    } else {
        return QStringLiteral("unknown option %1").arg(arg);
    }
    return QString();
}

QString ParseMakeOptions(const QStringList& args, MakeOptions& options)
{
    const QStringList flags{QStringLiteral("--rotate"), QStringLiteral("--no-bevel"), QStringLiteral("--no-shadows")};
    const QString problem = ToolParseArguments(args, QStringLiteral("picture"), options.picture,
                                               [&options](const QString& arg, const QString& value) {
        if (arg == QLatin1String("--rotate"))
            options.rotate = true;
        else if (arg == QLatin1String("--no-bevel"))
            options.bevel = false;
        else if (arg == QLatin1String("--no-shadows"))
            options.shadows = false;
        else
            return ParseValue(arg, value, options);
        return QString();
    }, flags);
    if (!problem.isEmpty())
        return problem;
    if (options.picture.isEmpty())
        return QStringLiteral("no picture given");
    if (options.out.isEmpty())
        return QStringLiteral("no output file given (-o FILE.pzl)");
    if (options.name.isEmpty())
        options.name = QFileInfo(options.picture).completeBaseName();
    return QString();
}

int RunMake(const QStringList& args)
{
    MakeOptions options;
    const QString problem = ParseMakeOptions(args, options);
    if (!problem.isEmpty())
        return ToolFail(QStringLiteral("make: %1").arg(problem));
    toolpuzzle::CapturedLog log;
    CGP_Puzzle puzzle;
    const QString failure = CutPicture(options, puzzle);
    if (!failure.isEmpty()) {
        const QString why = log.LastLine();
        return ToolFail(QStringLiteral("make: %1%2").arg(failure, why.isEmpty() ? QString() : QStringLiteral(": ") + why.trimmed()));
    }
    const QSize size = puzzle.m_pImage->size();
    puzzle.MakeThumbnail();

    // The options the creation screens leave a new puzzle with.
    std::fill(std::begin(puzzle.m_bOptions), std::end(puzzle.m_bOptions), false);
    puzzle.m_bOptions[CGP_Puzzle::kOptionBevel] = options.bevel;
    puzzle.m_bOptions[CGP_Puzzle::kOptionShadows] = options.shadows;
    puzzle.m_bOptions[CGP_Puzzle::kOptionRotation] = options.rotate;
    puzzle.m_strTitle = puzzle.m_strStoredTitle = options.name;
    puzzle.m_strCreator = options.author;
    puzzle.m_bFresh = true;
    puzzle.m_bSolved = false;
    puzzle.m_nSolvingTime = 0;
    puzzle.m_nHintsUsed = 0;
    puzzle.m_fSolvedPercent = 0;
    puzzle.m_nCutWidth = size.width();
    puzzle.m_nCutHeight = size.height();

    if (!puzzle.WriteNewFile(options.out))
        return ToolFail(QStringLiteral("make: cannot write %1: %2").arg(options.out, log.LastLine()));
    std::printf("%s: %d x %d picture, %d x %d pieces of %g pixels, pattern %d%s%s%s\n", qPrintable(options.out),
                size.width(), size.height(), puzzle.m_nColumns, puzzle.m_nRows, double(puzzle.m_fPieceSize),
                options.pattern, options.rotate ? ", rotated" : "", options.bevel ? ", bevelled" : "",
                options.shadows ? ", shadows" : "");
    return 0;
}
} // namespace

VELMORA_TOOL_COMMAND(make, "make",
                     "make PICTURE -o FILE.pzl [--name N] [--author A] [--piece-size N | --pieces N] [--pattern I] [--chaos F] "
                     "[--seed S] [--fit WxH] [--patterns DIR] [--rotate] [--no-bevel] [--no-shadows]",
                     RunMake);
