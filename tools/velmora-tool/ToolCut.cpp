// velmora-tool cut: cuts a picture as the game does when a puzzle is made, and writes the cut as
// JSON numbers and as a PNG of the picture with the cut lines drawn over it.
#include "tools/velmora-tool/ToolCommand.h"
#include "tools/velmora-tool/ToolCutOptions.h"

#include "engine/GP_Folders.h"
#include "engine/GP_Puzzle.h"
#include "engine/GP_Random.h"
#include "shell/log/GP_Exeption.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>

#include <cstdio>

namespace {
struct CutOptions : ToolCutOptions
{
    QString json;
    QString png;
};

// Parses the arguments; returns an empty text or what was wrong with them.
QString ParseCutOptions(const QStringList& args, CutOptions& options)
{
    const QString problem = ToolParseArguments(args, QStringLiteral("picture"), options.picture,
                                               [&options](const QString& arg, const QString& value) {
        if (const std::optional<QString> cutProblem = ParseCutOption(arg, value, options))
            return *cutProblem;
        if (arg == QLatin1String("--json"))
            options.json = value;
        else if (arg == QLatin1String("--png"))
            options.png = value;
        else
            return QStringLiteral("unknown option %1").arg(arg);
        return QString();
    });
    if (!problem.isEmpty())
        return problem;
    if (options.picture.isEmpty())
        return QStringLiteral("no picture given");
    return QString();
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

    CGP_Puzzle puzzle;
    const QString failure = CutPicture(options, puzzle);
    if (!failure.isEmpty())
        return ToolFail(QStringLiteral("cut: %1").arg(failure));
    const QSize size = puzzle.m_pImage->size();

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
                     "cut PICTURE [--piece-size N | --pieces N] [--pattern I] [--chaos F] [--seed S] [--fit WxH] "
                     "[--patterns DIR] [--json FILE] [--png FILE]",
                     RunCut);
