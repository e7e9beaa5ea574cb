#pragma once

// The options and the cutting step that every command cutting a picture shares (cut, pieces, make).

#include "tools/velmora-tool/ToolPuzzleFile.h"

#include "engine/GP_Puzzle.h"
#include "engine/GP_Random.h"
#include "shell/log/GP_Exeption.h"

#include <QDir>
#include <QSize>
#include <QString>

#include <climits>
#include <optional>

struct ToolCutOptions
{
    QString picture;
    int pieceSize = 0; // 0: chosen from the picture
    int pieces = 0;    // instead of a piece size: about this many pieces
    int pattern = 0;
    float chaos = 0.01f;
    uint32_t seed = 1;
    bool hasFit = false;
    QSize fit;
    QString patterns;
};

// Takes a cut option and its value: nothing when the option is not a cut option, else an empty
// text, or what is wrong with the value.
inline std::optional<QString> ParseCutOption(const QString& arg, const QString& value, ToolCutOptions& options)
{
    bool ok = true;
    if (arg == QLatin1String("--piece-size")) {
        options.pieceSize = value.toInt(&ok);
        ok = ok && options.pieceSize >= 0;
    } else if (arg == QLatin1String("--pieces")) {
        options.pieces = value.toInt(&ok);
        ok = ok && options.pieces > 0;
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
    } else {
        return std::nullopt;
    }
    return ok ? QString() : QStringLiteral("bad value for %1: \"%2\"").arg(arg, value);
}

// The piece size, within the creation screen's range (24 to a quarter of the shorter side), whose
// grid comes closest to the wanted number of pieces; of two as close, the larger pieces.
inline int PieceSizeForCount(QSize picture, int pieces)
{
    constexpr int kSmallestPiece = 24;
    const int largest = qMin(picture.width(), picture.height()) / 4;
    int best = largest;
    int bestMiss = INT_MAX;
    for (int size = largest; size >= kSmallestPiece; --size) {
        const int miss = qAbs((picture.width() / size) * (picture.height() / size) - pieces);
        if (miss < bestMiss) {
            best = size;
            bestMiss = miss;
        }
    }
    return best;
}

// Loads the picture and cuts it as a new puzzle is cut, the generator seeded first; returns an
// empty text, or what went wrong.
inline QString CutPicture(const ToolCutOptions& options, CGP_Puzzle& puzzle)
{
    const QString folder = toolpuzzle::PatternFolder(options.patterns);
    if (!QDir(folder).exists())
        return QStringLiteral("no pattern folder %1").arg(folder);
    const CGP_Path* pattern = toolpuzzle::LoadedPattern(folder, options.pattern);
    if (!pattern)
        return QStringLiteral("pattern %1 (%2) missing or empty in %3")
            .arg(options.pattern).arg(GP_PatternFileName(options.pattern), folder);

    try {
        puzzle.LoadImage(options.picture, options.hasFit ? &options.fit : nullptr);
    } catch (const CGP_Exeption& error) {
        return QStringLiteral("%1: %2").arg(options.picture, QLatin1String(error.Message()));
    }
    if (!puzzle.m_pImage)
        return QStringLiteral("cannot read picture %1").arg(options.picture);
    const QSize size = puzzle.m_pImage->size();
    const int shorter = qMin(size.width(), size.height());
    const int pieceSize = options.pieces > 0 && options.pieceSize == 0 ? PieceSizeForCount(size, options.pieces)
                                                                       : options.pieceSize;
    if (pieceSize > shorter || (pieceSize == 0 && shorter < 4))
        return QStringLiteral("a %1 x %2 picture cannot hold pieces of size %3")
            .arg(size.width()).arg(size.height()).arg(pieceSize);

    puzzle.m_fPieceSize = static_cast<float>(pieceSize);
    puzzle.m_fChaos = options.chaos;
    puzzle.m_nPatternIndex = options.pattern;
    GP_srand(options.seed);
    puzzle.CreateGrid(pattern, GP_PatternHasRandomTabs(options.pattern), true);
    if (puzzle.m_pCorners.empty())
        return QStringLiteral("the picture could not be cut");
    return QString();
}
