// velmora-tool info: a puzzle file as JSON: its header, every settings field by name, the size
// of its lattice and its groups of pieces (null while the puzzle is fresh). A file the game
// would refuse is refused here too, with the reason in one line.
#include "tools/velmora-tool/ToolCommand.h"
#include "tools/velmora-tool/ToolPuzzleFile.h"

#include "engine/GP_PuzzleFile.h"
#include "shell/log/GP_Exeption.h"

#include <QJsonDocument>
#include <QtEndian>

#include <cstdio>
#include <cstring>

namespace {
QJsonObject HeaderJson(const QByteArray& bytes)
{
    return QJsonObject{{QStringLiteral("magic"), QString::fromLatin1(bytes.left(4).toHex())},
                       {QStringLiteral("N"), double(qFromLittleEndian<uint32_t>(bytes.constData() + 4))},
                       {QStringLiteral("P"), double(qFromLittleEndian<uint32_t>(bytes.constData() + 8))},
                       {QStringLiteral("M"), double(qFromLittleEndian<uint32_t>(bytes.constData() + 12))}};
}

// Field 5, the first copy of the piece size; the game keeps only the second.
float FirstPieceSize(const QByteArray& bytes)
{
    const int64_t at = GP_PuzzleFile::kHeaderSize + qFromLittleEndian<uint32_t>(bytes.constData() + 4) + 16;
    const uint32_t bits = qFromLittleEndian<uint32_t>(bytes.constData() + at);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

QJsonObject SettingsJson(const CGP_Puzzle& puzzle, float firstPieceSize)
{
    const char* const optionNames[CGP_Puzzle::kOptionCount] = {
        "bevelledEdges", "pieceShadows", "randomlyRotated", "hidePicture", "option5", "noGhost", "option7"};
    QJsonObject options;
    for (int i = 0; i < CGP_Puzzle::kOptionCount; ++i)
        options[QLatin1String(optionNames[i])] = puzzle.m_bOptions[i];
    return QJsonObject{
        {QStringLiteral("thumbnailX"), puzzle.m_nThumbX},
        {QStringLiteral("thumbnailY"), puzzle.m_nThumbY},
        {QStringLiteral("columns"), puzzle.m_nColumns},
        {QStringLiteral("rows"), puzzle.m_nRows},
        {QStringLiteral("pieceSize"), toolpuzzle::Decimal(firstPieceSize)},
        {QStringLiteral("cutWidth"), puzzle.m_nCutWidth},
        {QStringLiteral("cutHeight"), puzzle.m_nCutHeight},
        {QStringLiteral("patternIndex"), puzzle.m_nPatternIndex},
        {QStringLiteral("options"), options},
        {QStringLiteral("pieceSizeAgain"), toolpuzzle::Decimal(puzzle.m_fPieceSize)},
        {QStringLiteral("chaos"), toolpuzzle::Decimal(puzzle.m_fChaos)},
        {QStringLiteral("fresh"), puzzle.m_bFresh},
        {QStringLiteral("solved"), puzzle.m_bSolved},
        {QStringLiteral("solvingTime"), puzzle.m_nSolvingTime},
        {QStringLiteral("solvedPercent"), toolpuzzle::Decimal(puzzle.m_fSolvedPercent)},
        {QStringLiteral("solveDate"), QJsonObject{{QStringLiteral("year"), puzzle.m_nSolveYear},
                                                  {QStringLiteral("month"), puzzle.m_nSolveMonth},
                                                  {QStringLiteral("day"), puzzle.m_nSolveDay}}},
        {QStringLiteral("hintsUsed"), puzzle.m_nHintsUsed},
        {QStringLiteral("title"), puzzle.m_strStoredTitle},
        {QStringLiteral("creator"), puzzle.m_strCreator},
    };
}

int RunInfo(const QStringList& args)
{
    if (args.size() != 1 || args[0].startsWith(QLatin1Char('-')))
        return ToolFail(QStringLiteral("info: give one puzzle file"));
    const QString path = args[0];
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return ToolFail(QStringLiteral("info: cannot open %1").arg(path));
    const QByteArray head = file.read(GP_PuzzleFile::kHeaderSize);
    file.close();

    toolpuzzle::CapturedLog log;
    CGP_Puzzle puzzle;
    bool opened = false;
    try {
        opened = puzzle.OpenFile(path);
    } catch (const CGP_Exeption& error) {
        return ToolFail(QStringLiteral("info: %1 is damaged: %2").arg(path, QLatin1String(error.Message())));
    }
    if (!opened)
        return ToolFail(QStringLiteral("info: %1 is damaged: %2").arg(path, log.LastLine()));
    QFile again(path);
    again.open(QIODevice::ReadOnly);
    const QByteArray bytes = again.read(GP_PuzzleFile::kHeaderSize + qFromLittleEndian<uint32_t>(head.constData() + 4) + 20);

    QJsonObject info;
    info[QStringLiteral("header")] = HeaderJson(head);
    info[QStringLiteral("settings")] = SettingsJson(puzzle, FirstPieceSize(bytes));
    info[QStringLiteral("picture")] = QJsonObject{{QStringLiteral("width"), puzzle.m_pImage->width()},
                                                   {QStringLiteral("height"), puzzle.m_pImage->height()}};
    info[QStringLiteral("thumbnail")] = QJsonObject{{QStringLiteral("width"), puzzle.m_pThumbnail->width()},
                                                     {QStringLiteral("height"), puzzle.m_pThumbnail->height()}};
    info[QStringLiteral("corners")] = int(puzzle.m_pCorners.size());
    info[QStringLiteral("verticalDirections")] = int(puzzle.m_pVerticalDirections.size());
    info[QStringLiteral("horizontalDirections")] = int(puzzle.m_pHorizontalDirections.size());
    info[QStringLiteral("groups")] = toolpuzzle::GroupsJson(puzzle);
    std::fputs(QJsonDocument(info).toJson(QJsonDocument::Indented).constData(), stdout);
    return 0;
}
} // namespace

VELMORA_TOOL_COMMAND(info, "info", "info FILE.pzl", RunInfo);
