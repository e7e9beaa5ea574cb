// velmora-tool pieces: cuts a picture as `cut` does and builds every piece image and group
// shadow on the piece workers; writes them as PNGs with their numbers in pieces.json, or, with
// --bench, only times the building.
#include "tools/velmora-tool/ToolCommand.h"
#include "tools/velmora-tool/ToolCutOptions.h"

#include "engine/GP_Folders.h"
#include "engine/GP_PieceWorkers.h"
#include "engine/GP_Puzzle.h"
#include "engine/GP_PuzzlePieceUnion.h"
#include "engine/GP_Random.h"
#include "engine/PieceBuilderThread.h"
#include "shell/log/GP_Exeption.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {
struct PiecesOptions : ToolCutOptions
{
    // The puzzle's own defaults: bevel and shadows on, rotation off.
    bool bevel = true;
    bool rotate = false;
    bool shadows = true;
    int threads = 0; // 0: one per processor
    QString out;
    int benchRuns = 0;
};

struct Switch
{
    const char* name;
    bool PiecesOptions::*flag;
    bool value;
};
const Switch kSwitches[] = {{"--bevel", &PiecesOptions::bevel, true},     {"--no-bevel", &PiecesOptions::bevel, false},
                            {"--rotate", &PiecesOptions::rotate, true},   {"--no-rotate", &PiecesOptions::rotate, false},
                            {"--shadows", &PiecesOptions::shadows, true}, {"--no-shadows", &PiecesOptions::shadows, false}};

QStringList SwitchNames()
{
    QStringList names;
    for (const Switch& s : kSwitches)
        names << QLatin1String(s.name);
    return names;
}

// One option with its value (none for a switch); answers an empty text or what is wrong with it.
QString TakePiecesOption(const QString& arg, const QString& value, PiecesOptions& options)
{
    for (const Switch& s : kSwitches) {
        if (arg == QLatin1String(s.name)) {
            options.*s.flag = s.value;
            return QString();
        }
    }
    if (const std::optional<QString> problem = ParseCutOption(arg, value, options))
        return *problem;
    bool ok = true;
    if (arg == QLatin1String("--threads")) {
        options.threads = value.toInt(&ok);
        ok = ok && options.threads >= 1 && options.threads <= 64;
    } else if (arg == QLatin1String("--out")) {
        options.out = value;
    } else if (arg == QLatin1String("--bench")) {
        options.benchRuns = value.toInt(&ok);
        ok = ok && options.benchRuns >= 1;
    } else {
        return QStringLiteral("unknown option %1").arg(arg);
    }
    return ok ? QString() : QStringLiteral("bad value for %1: \"%2\"").arg(arg, value);
}

// Parses the arguments; returns an empty text or what was wrong with them.
QString ParsePiecesOptions(const QStringList& args, PiecesOptions& options)
{
    const QString problem = ToolParseArguments(
        args, QStringLiteral("picture"), options.picture,
        [&options](const QString& arg, const QString& value) { return TakePiecesOption(arg, value, options); },
        SwitchNames());
    if (!problem.isEmpty())
        return problem;
    if (options.picture.isEmpty())
        return QStringLiteral("no picture given");
    if (options.benchRuns == 0 && options.out.isEmpty())
        return QStringLiteral("--out DIR or --bench N is needed");
    return QString();
}

QJsonArray Four(const int32_t values[4])
{
    return QJsonArray{values[0], values[1], values[2], values[3]};
}

QJsonObject PieceToJson(const CGP_PuzzlePiece& piece)
{
    QJsonArray cores;
    for (const GP_CoreRect& core : piece.m_rcCores)
        cores.append(QJsonArray{core.left, core.top, core.right, core.bottom});
    QJsonObject json;
    json[QStringLiteral("index")] = piece.m_nIndex;
    json[QStringLiteral("column")] = piece.m_nColumn;
    json[QStringLiteral("row")] = piece.m_nRow;
    json[QStringLiteral("x")] = piece.m_nX;
    json[QStringLiteral("y")] = piece.m_nY;
    json[QStringLiteral("widths")] = Four(piece.m_nWidths);
    json[QStringLiteral("heights")] = Four(piece.m_nHeights);
    json[QStringLiteral("homeX")] = Four(piece.m_nHomeX);
    json[QStringLiteral("homeY")] = Four(piece.m_nHomeY);
    json[QStringLiteral("cores")] = cores;
    return json;
}

// Straight alpha, as every viewer expects of a PNG.
bool SavePng(const QImage& image, const QString& path)
{
    return image.convertToFormat(QImage::Format_ARGB32).save(path, "PNG");
}

QString WriteOutput(const CGP_Puzzle& puzzle, const QString& out)
{
    if (!QDir().mkpath(out))
        return QStringLiteral("cannot make %1").arg(out);
    QDir dir(out);
    std::vector<GP_PiecePtr> pieces;
    for (const GP_GroupPtr& group : puzzle.m_pGroups->Snapshot()) {
        for (const GP_PiecePtr& piece : group->m_pieces)
            pieces.push_back(piece);
        if (group->m_pShadow && !group->m_pieces.empty()) {
            const QString name = QStringLiteral("shadow-%1.png").arg(group->m_pieces.front()->m_nIndex);
            if (!SavePng(*group->m_pShadow, dir.filePath(name)))
                return QStringLiteral("cannot write %1").arg(dir.filePath(name));
        }
    }
    std::sort(pieces.begin(), pieces.end(), [](const GP_PiecePtr& a, const GP_PiecePtr& b) { return a->m_nIndex < b->m_nIndex; });
    QJsonArray list;
    for (const GP_PiecePtr& piece : pieces) {
        for (int step = 0; step < CGP_PuzzlePiece::kSteps; ++step) {
            if (!piece->m_pImages[step])
                continue;
            const QString name = QStringLiteral("piece-%1-%2.png").arg(piece->m_nIndex).arg(step);
            if (!SavePng(*piece->m_pImages[step], dir.filePath(name)))
                return QStringLiteral("cannot write %1").arg(dir.filePath(name));
        }
        list.append(PieceToJson(*piece));
    }
    QJsonObject json;
    json[QStringLiteral("brightness")] = puzzle.m_nBrightness;
    json[QStringLiteral("pieceSize")] = double(puzzle.m_fPieceSize);
    json[QStringLiteral("edgeWidth")] = puzzle.m_nEdgeWidth;
    json[QStringLiteral("pieces")] = list;
    QFile file(dir.filePath(QStringLiteral("pieces.json")));
    const QByteArray bytes = QJsonDocument(json).toJson(QJsonDocument::Indented);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush())
        return QStringLiteral("cannot write %1").arg(file.fileName());
    return QString();
}

double BuildOnce(CGP_Puzzle& puzzle, CGP_PieceWorkers& workers)
{
    puzzle.m_pGroups.reset();
    const auto start = std::chrono::steady_clock::now();
    workers.BuildPieces(puzzle, nullptr);
    const auto end = std::chrono::steady_clock::now();
    return std::chrono::duration<double, std::milli>(end - start).count();
}

long PeakMemoryKb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

int RunPieces(const QStringList& args)
{
    PiecesOptions options;
    const QString problem = ParsePiecesOptions(args, options);
    if (!problem.isEmpty())
        return ToolFail(QStringLiteral("pieces: %1").arg(problem));

    CGP_Puzzle puzzle;
    const QString cutFailure = CutPicture(options, puzzle);
    if (!cutFailure.isEmpty())
        return ToolFail(QStringLiteral("pieces: %1").arg(cutFailure));
    const QSize size = puzzle.m_pImage->size();
    puzzle.m_bOptions[CGP_Puzzle::kOptionBevel] = options.bevel;
    puzzle.m_bOptions[CGP_Puzzle::kOptionShadows] = options.shadows;
    puzzle.m_bOptions[CGP_Puzzle::kOptionRotation] = options.rotate;

    CGP_PieceWorkers workers(options.threads > 0 ? options.threads : GP_PieceBuilderCount());
    const int threads = static_cast<int>(workers.Builders().size());
    if (options.benchRuns > 0) {
        std::vector<double> times;
        for (int run = 0; run < options.benchRuns; ++run)
            times.push_back(BuildOnce(puzzle, workers));
        std::sort(times.begin(), times.end());
        for (double ms : times)
            std::printf("run %.1f ms\n", ms);
        std::printf("%d pieces of %g pixels, %d x %d picture, bevel %d rotate %d shadows %d, %d threads, peak %ld KB, "
                    "median ms %.1f\n",
                    static_cast<int>(puzzle.m_pGroups->Size()), double(puzzle.m_fPieceSize), size.width(), size.height(),
                    options.bevel, options.rotate, options.shadows, threads, PeakMemoryKb(), times[times.size() / 2]);
        return 0;
    }
    const double ms = BuildOnce(puzzle, workers);
    const QString failure = WriteOutput(puzzle, options.out);
    if (!failure.isEmpty())
        return ToolFail(QStringLiteral("pieces: %1").arg(failure));
    std::printf("%d pieces (%d x %d) of %g pixels built in %.1f ms on %d threads, written to %s\n",
                static_cast<int>(puzzle.m_pGroups->Size()), puzzle.m_nColumns, puzzle.m_nRows,
                double(puzzle.m_fPieceSize), ms, threads, qPrintable(options.out));
    return 0;
}
} // namespace

VELMORA_TOOL_COMMAND(pieces, "pieces",
                     "pieces PICTURE [--piece-size N | --pieces N] [--pattern I] [--chaos F] [--seed S] [--fit WxH] "
                     "[--patterns DIR] [--bevel|--no-bevel] [--rotate] [--shadows|--no-shadows] [--threads N] "
                     "[--out DIR] [--bench N]",
                     RunPieces);
