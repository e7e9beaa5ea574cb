// Piece building of the puzzle: one piece as a group of its own, and every piece of a new cut
// or of a stored puzzle.
#include "engine/GP_Puzzle.h"

#include "engine/GP_EdgeCrossingTables.h"
#include "engine/GP_PuzzlePieceUnion.h"
#include "engine/PieceBuilderThread.h"
#include "shell/log/GP_LogFile.h"

#include <QIODevice>
#include <QtEndian>

#include <algorithm>

namespace {
// Edge width per 200 pixels of piece size.
constexpr float kEdgeWidthPer200 = 8.0f;
// Offsets of the cache's table that were never filled in.
constexpr quint32 kNoRecords = 0xFFFFFFFFu;

GP_PieceSource PieceSource(const CGP_Puzzle& puzzle, int row, int column, GP_EdgeCrossingTables* crossings)
{
    GP_PieceSource source;
    puzzle.GetPieceEdges(row, column, source.edges);
    source.crossingTables = crossings;
    source.pieceSize = puzzle.m_fPieceSize;
    source.brightness = puzzle.m_nBrightness;
    source.rotate = puzzle.m_bOptions[CGP_Puzzle::kOptionRotation];
    source.edgeWidth = puzzle.m_nEdgeWidth;
    source.bevel = puzzle.m_bOptions[CGP_Puzzle::kOptionBevel];
    source.picture = puzzle.m_pImage.get();
    return source;
}

// Positions the cache at the piece's image records; false when its table has none for it.
bool SeekPieceRecords(QIODevice* cache, int index)
{
    char offsetBytes[4];
    if (index < 0 || !cache->seek(static_cast<qint64>(index) * 4) || cache->read(offsetBytes, 4) != 4)
        return false;
    const quint32 offset = qFromLittleEndian<quint32>(offsetBytes);
    return offset != kNoRecords && cache->seek(offset);
}

// Rebuilds a stored piece: from the cache when it holds the piece, else from the picture.
bool RebuildPiece(const CGP_Puzzle& puzzle, CGP_PuzzlePiece& piece, QIODevice* cache, GP_EdgeCrossingTables* crossings)
{
    GP_PieceSource source = PieceSource(puzzle, piece.m_nRow, piece.m_nColumn, crossings);
    if (cache) {
        if (SeekPieceRecords(cache, piece.m_nIndex)) {
            source.cache = cache;
            if (piece.Build(source))
                return true;
        }
        // A damaged cache costs time, never pieces.
        GP_Log(QStringLiteral("BuildPieces: piece %1 not in the cache, built anew\n").arg(piece.m_nIndex));
        source.cache = nullptr;
    }
    return piece.Build(source);
}
} // namespace

void CGP_Puzzle::BuildPiece(int column, int row)
{
    if (!m_pGroups) {
        GP_Log(QStringLiteral("CGP_Puzzle::BuildPiece: no group deque for piece %1, %2\n").arg(column).arg(row));
        return;
    }
    auto piece = boost::shared_ptr<CGP_PuzzlePiece>(new CGP_PuzzlePiece());
    GP_PieceSource source = PieceSource(*this, row, column, m_pBuildCrossings.get());
    source.column = column;
    source.row = row;
    source.index = row * m_nColumns + column;
    if (!piece->Build(source))
        return;
    auto group = boost::shared_ptr<CGP_PuzzlePieceUnion>(new CGP_PuzzlePieceUnion());
    group->m_pieces.push_back(piece);
    group->m_nLocation = CGP_PuzzlePieceUnion::kField;
    group->m_bSelected = false;
    if (m_bOptions[kOptionShadows])
        CreateUnionShadow(this, group);
    m_pGroups->PushBack(group);
}

void CGP_Puzzle::BuildPieces(QIODevice* cache, const std::function<void()>& advanceProgress,
                             const std::vector<CPieceBuilderThread*>& builders)
{
    m_nEdgeWidth = static_cast<int32_t>(m_fPieceSize / 200 * kEdgeWidthPer200);
    auto advance = [&] {
        if (advanceProgress)
            advanceProgress();
    };
    // The tables live as long as this call: every builder is idle again before it returns.
    m_pBuildCrossings = std::make_shared<GP_EdgeCrossingTables>(AllEdges());
    struct Release
    {
        std::shared_ptr<GP_EdgeCrossingTables>& tables;
        ~Release() { tables.reset(); }
    } release{m_pBuildCrossings};

    if (!m_pGroups) {
        m_pGroups = boost::shared_ptr<GP_GroupDeque>(new GP_GroupDeque());
        std::vector<CPieceBuilderThread*> running;
        std::vector<CGP_Event*> idle;
        for (CPieceBuilderThread* builder : builders) {
            if (builder && builder->IsStarted()) {
                running.push_back(builder);
                idle.push_back(builder->IdleEvent());
            }
        }
        for (int row = 0; row < m_nRows; ++row) {
            for (int column = 0; column < m_nColumns; ++column) {
                if (running.empty()) {
                    // No worker to hand it to: build it here.
                    BuildPiece(column, row);
                    advance();
                    continue;
                }
                const uint32_t result = GP_WaitForAny(idle.data(), static_cast<int>(idle.size()), GP_INFINITE);
                if (result >= idle.size()) {
                    GP_Log(QStringLiteral("CGP_Puzzle::BuildPieces: wait result %1, piece %2, %3 skipped\n")
                               .arg(result).arg(column).arg(row));
                    continue;
                }
                CPieceBuilderThread* builder = running[result];
                builder->m_pPuzzle = this;
                builder->m_nColumn = column;
                builder->m_nRow = row;
                builder->Signal();
                advance();
            }
        }
        for (CGP_Event* event : idle)
            event->Wait();
        return;
    }

    for (const GP_GroupPtr& group : m_pGroups->Snapshot()) {
        std::vector<GP_PiecePtr>& pieces = group->m_pieces;
        for (auto it = pieces.begin(); it != pieces.end();) {
            const bool built = RebuildPiece(*this, **it, cache, m_pBuildCrossings.get());
            advance();
            if (built) {
                ++it;
                continue;
            }
            GP_Log(QStringLiteral("CGP_Puzzle::BuildPieces: piece %1 dropped\n").arg((*it)->m_nIndex));
            it = pieces.erase(it);
        }
        if (m_bOptions[kOptionShadows])
            CreateUnionShadow(this, group);
    }
}

std::vector<const CGP_Path*> CGP_Puzzle::AllEdges() const
{
    std::vector<const CGP_Path*> edges;
    edges.reserve(m_pHorizontalEdges.size() + m_pVerticalEdges.size());
    for (const auto* list : {&m_pHorizontalEdges, &m_pVerticalEdges}) {
        for (const std::unique_ptr<CGP_Path>& edge : *list) {
            if (edge && !edge->IsEmpty())
                edges.push_back(edge.get());
        }
    }
    return edges;
}
