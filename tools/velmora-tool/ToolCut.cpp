// velmora-tool cut: cuts a picture as the game does when a puzzle is made, and writes the cut as
// JSON numbers and as a PNG of the picture with the cut lines drawn over it.
#include "tools/velmora-tool/ToolCommand.h"

#include "engine/GP_Folders.h"
#include "engine/GP_Puzzle.h"
#include "engine/GP_Random.h"
#include "shell/GP_Exeption.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>

#include <cstdio>

namespace {
struct CutOptions
{
    QString picture;
    int pieceSize = 0;
    int pattern = 0;
    float chaos = 0.01f;
    uint32_t seed = 1;
    bool hasFit = false;
    QSize fit;
    QString patterns;
    QString json;
    QString png;
};

// Parses the arguments; returns an empty text or what was wrong with them.
QString ParseCutOptions(const QStringList& args, CutOptions& options)
{
    for (int i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (!arg.startsWith(QLatin1String("--"))) {
            if (!options.picture.isEmpty())
                return QStringLiteral("more than one picture given");
            options.picture = arg;
            continue;
        }
        if (i + 1 >= args.size())
            return QStringLiteral("%1 needs a value").arg(arg);
        const QString value = args[++i];
        bool ok = true;
        if (arg == QLatin1String("--piece-size")) {
            options.pieceSize = value.toInt(&ok);
            ok = ok && options.pieceSize >= 0;
        } else if (arg == QLatin1String("--pattern")) {
            options.pattern = value.toInt(&ok);
            ok = ok && options.pattern >= 0 && options.pattern < kPatternCount;
        } else if (arg == QLatin1String("--chaos")) {
            options.chaos = value.toFloat(&ok);
            ok = ok && options.chaos >= 0 && options.chaos <= 1;
        } else if (arg == QLatin1String("--seed")) {
            options.seed = value.toUInt(&ok);
        } else if (arg == QLatin1String("--fit")) {
            const QStringList parts = value.split(QLatin1Char('x'));
            bool okW = false, okH = false;
            if (parts.size() == 2)
                options.fit = QSize(parts[0].toInt(&okW), parts[1].toInt(&okH));
            ok = okW && okH && options.fit.width() > 0 && options.fit.height() > 0;
            options.hasFit = true;
        } else if (arg == QLatin1String("--patterns")) {
            options.patterns = value;
        } else if (arg == QLatin1String("--json")) {
            options.json = value;
        } else if (arg == QLatin1String("--png")) {
            options.png = value;
        } else {
            return QStringLiteral("unknown option %1").arg(arg);
        }
        if (!ok)
            return QStringLiteral("bad value for %1: \"%2\"").arg(arg, value);
    }
    if (options.picture.isEmpty())
        return QStringLiteral("no picture given");
    return QString();
}

// The PATTERNS folder of the current folder, or else the one beside the tool.
QString DefaultPatternFolder()
{
    const QString here = GP_FolderPath(GP_Folder::Patterns);
    if (QDir(here).exists())
        return here;
    return QCoreApplication::applicationDirPath() + QLatin1Char('/') + QLatin1String(GP_FolderName(GP_Folder::Patterns));
}

QJsonObject CutToJson(const CGP_Puzzle& puzzle)
{
    QJsonArray corners;
    for (const GP_Corner& corner : puzzle.m_pCorners)
        corners.append(QJsonArray{corner.x, corner.y});
    QJsonArray vdirs, hdirs;
    for (uint8_t d : puzzle.m_pVerticalDirections)
        vdirs.append(int(d));
    for (uint8_t d : puzzle.m_pHorizontalDirections)
        hdirs.append(int(d));
    QJsonObject cut;
    cut[QStringLiteral("width")] = puzzle.m_pImage->width();
    cut[QStringLiteral("height")] = puzzle.m_pImage->height();
    cut[QStringLiteral("columns")] = puzzle.m_nColumns;
    cut[QStringLiteral("rows")] = puzzle.m_nRows;
    cut[QStringLiteral("pieceSize")] = double(puzzle.m_fPieceSize);
    cut[QStringLiteral("margins")] = QJsonArray{double(puzzle.m_fLeft), double(puzzle.m_fRight),
                                                double(puzzle.m_fTop), double(puzzle.m_fBottom)};
    cut[QStringLiteral("brightness")] = puzzle.m_nBrightness;
    cut[QStringLiteral("maxTabAngle")] = puzzle.m_pPattern ? puzzle.m_pPattern->m_maxTabAngle : 0.0;
    cut[QStringLiteral("corners")] = corners;
    cut[QStringLiteral("vdirs")] = vdirs;
    cut[QStringLiteral("hdirs")] = hdirs;
    return cut;
}

bool WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
}

int RunCut(const QStringList& args)
{
    CutOptions options;
    const QString problem = ParseCutOptions(args, options);
    if (!problem.isEmpty())
        return ToolFail(QStringLiteral("cut: %1").arg(problem));

    const QString folder = options.patterns.isEmpty() ? DefaultPatternFolder() : options.patterns;
    if (!QDir(folder).exists())
        return ToolFail(QStringLiteral("cut: no pattern folder %1").arg(folder));
    static CGP_Path patterns[kPatternCount];
    LoadPatterns(patterns, folder);
    const CGP_Path& pattern = patterns[options.pattern];
    if (pattern.IsEmpty())
        return ToolFail(QStringLiteral("cut: pattern %1 (%2) missing or empty in %3")
                            .arg(options.pattern).arg(GP_PatternFileName(options.pattern), folder));

    CGP_Puzzle puzzle;
    try {
        puzzle.LoadImage(options.picture, options.hasFit ? &options.fit : nullptr);
    } catch (const CGP_Exeption& error) {
        return ToolFail(QStringLiteral("cut: %1: %2").arg(options.picture, QLatin1String(error.Message())));
    }
    if (!puzzle.m_pImage)
        return ToolFail(QStringLiteral("cut: cannot read picture %1").arg(options.picture));
    const QSize size = puzzle.m_pImage->size();
    const int shorter = qMin(size.width(), size.height());
    if (options.pieceSize > shorter || (options.pieceSize == 0 && shorter < 4))
        return ToolFail(QStringLiteral("cut: a %1 x %2 picture cannot hold pieces of size %3")
                            .arg(size.width()).arg(size.height()).arg(options.pieceSize));

    puzzle.m_fPieceSize = static_cast<float>(options.pieceSize);
    puzzle.m_fChaos = options.chaos;
    puzzle.m_nPatternIndex = options.pattern;
    GP_srand(options.seed);
    puzzle.CreateGrid(&pattern, GP_PatternHasRandomTabs(options.pattern), true);
    if (puzzle.m_pCorners.empty())
        return ToolFail(QStringLiteral("cut: the picture could not be cut"));

    if (!options.json.isEmpty()
        && !WriteFile(options.json, QJsonDocument(CutToJson(puzzle)).toJson(QJsonDocument::Indented)))
        return ToolFail(QStringLiteral("cut: cannot write %1").arg(options.json));
    if (!options.png.isEmpty()) {
        QImage drawn = puzzle.m_pImage->convertToFormat(QImage::Format_RGB32);
        {
            QPainter painter(&drawn);
            DrawCutLines(puzzle, painter, 0, 0);
        }
        if (!drawn.save(options.png, "PNG"))
            return ToolFail(QStringLiteral("cut: cannot write %1").arg(options.png));
    }
    std::printf("%d x %d picture, %d x %d pieces of %g pixels, pattern %d, brightness %d\n", size.width(),
                size.height(), puzzle.m_nColumns, puzzle.m_nRows, double(puzzle.m_fPieceSize), options.pattern,
                puzzle.m_nBrightness);
    return 0;
}
} // namespace

VELMORA_TOOL_COMMAND(cut, "cut",
                     "cut PICTURE [--piece-size N] [--pattern I] [--chaos F] [--seed S] [--fit WxH] "
                     "[--patterns DIR] [--json FILE] [--png FILE]",
                     RunCut);
