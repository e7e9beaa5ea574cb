#pragma once

// What the puzzle-file and piece-cache fuzzers do with one input, shared with the test that
// runs their corpora: open the bytes as the game opens a puzzle, or rebuild a puzzle's pieces
// with the bytes as its piece-image cache. Nothing may crash, read out of bounds, hang or
// allocate without bound, whatever the bytes say.
#include "engine/GP_Path.h"
#include "engine/GP_Puzzle.h"
#include "engine/GP_PuzzlePieceUnion.h"
#include "shell/log/GP_Exeption.h"

#include <QBuffer>
#include <QtEndian>
#include <QString>

#include <sys/mman.h>
#include <unistd.h>

namespace puzzlefuzz {

// The bytes as a file with a path, kept in memory.
class BytesFile
{
public:
    explicit BytesFile(const QByteArray& bytes) : m_fd(memfd_create("velmora-fuzz", MFD_CLOEXEC))
    {
        for (qsizetype done = 0; m_fd >= 0 && done < bytes.size();) {
            const ssize_t n = ::write(m_fd, bytes.constData() + done, size_t(bytes.size() - done));
            if (n <= 0)
                break;
            done += n;
        }
    }
    ~BytesFile()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    QString Path() const { return QStringLiteral("/proc/self/fd/%1").arg(m_fd); }

private:
    int m_fd;
};

inline const CGP_Path* Patterns(const QString& folder)
{
    static CGP_Path patterns[kPatternCount];
    static bool loaded = false;
    if (!loaded) {
        loaded = true;
        LoadPatterns(patterns, folder);
    }
    return patterns;
}

// Opens the bytes as a puzzle file and rebuilds its cut, as opening a puzzle for play does;
// what was read must also write back and read again the same. True when the file was accepted.
inline bool ExercisePuzzleFile(const QByteArray& bytes, const CGP_Path* patterns)
{
    BytesFile file(bytes);
    CGP_Puzzle puzzle;
    try {
        if (!puzzle.OpenFile(file.Path()))
            return false;
    } catch (const CGP_Exeption&) {
        return false; // the game's guard reports it; a refusal all the same
    }
    const int pattern = puzzle.m_nPatternIndex;
    puzzle.CreateGrid(&patterns[pattern], GP_PatternHasRandomTabs(pattern), false);
    for (int row = 0; row < puzzle.m_nRows; ++row) {
        for (int column = 0; column < puzzle.m_nColumns; ++column) {
            const CGP_Path* edges[4];
            puzzle.GetPieceEdges(row, column, edges);
        }
    }
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadWrite);
    if (!puzzle.WriteSettings(buffer) || (!puzzle.m_bFresh && !puzzle.WritePieces(buffer)))
        __builtin_trap();
    CGP_Puzzle again;
    if (!again.ReadSettings(buffer) || again.m_nColumns != puzzle.m_nColumns || again.m_pCorners.size() != puzzle.m_pCorners.size())
        __builtin_trap();
    if (!puzzle.m_bFresh && (!again.ReadPieces(buffer) || again.m_pGroups->Size() != puzzle.m_pGroups->Size()))
        __builtin_trap();
    return true;
}

// A stored puzzle whose pieces are rebuilt, again and again, from caches.
class CacheBench
{
public:
    bool Open(const QString& puzzlePath, const CGP_Path* patterns)
    {
        if (!m_puzzle.OpenFile(puzzlePath) || !m_puzzle.m_pGroups)
            return false;
        m_puzzle.CreateGrid(&patterns[m_puzzle.m_nPatternIndex], GP_PatternHasRandomTabs(m_puzzle.m_nPatternIndex), false);
        m_stored = m_puzzle.m_pGroups;
        return true;
    }

    // Rebuilds every piece with the bytes as the cache (a piece the cache lacks is built from
    // the picture); returns how many pieces were built.
    int Rebuild(const QByteArray& cache)
    {
        // Fresh copies of the stored groups: a rebuild fills in the pieces it is given.
        boost::shared_ptr<GP_GroupDeque> groups(new GP_GroupDeque());
        for (const GP_GroupPtr& stored : m_stored->Snapshot()) {
            GP_GroupPtr group(new CGP_PuzzlePieceUnion(*stored));
            for (GP_PiecePtr& piece : group->m_pieces)
                piece = GP_PiecePtr(new CGP_PuzzlePiece(*piece));
            groups->PushBack(group);
        }
        m_puzzle.m_pGroups = groups;
        QByteArray bytes = cache;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        int built = 0;
        try {
            m_puzzle.BuildPieces(&buffer, [&] { ++built; }, {});
        } catch (const CGP_Exeption&) {
            return 0;
        }
        return built;
    }

    // Only the cache's side of a rebuild: each stored piece's table entry, then its image
    // records, read as the piece builder reads them when the cache has the piece. Returns how
    // many pieces the cache held whole.
    int ReadCached(const QByteArray& cache)
    {
        QByteArray bytes = cache;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        int whole = 0;
        for (const GP_GroupPtr& group : m_stored->Snapshot()) {
            for (const GP_PiecePtr& stored : group->m_pieces) {
                char offset[4];
                if (!buffer.seek(qint64(stored->m_nIndex) * 4) || buffer.read(offset, 4) != 4)
                    continue;
                const quint32 at = qFromLittleEndian<quint32>(offset);
                if (at == 0xFFFFFFFFu || !buffer.seek(at))
                    continue;
                CGP_PuzzlePiece piece(*stored);
                GP_PieceSource source;
                m_puzzle.GetPieceEdges(piece.m_nRow, piece.m_nColumn, source.edges);
                source.pieceSize = m_puzzle.m_fPieceSize;
                source.rotate = m_puzzle.m_bOptions[CGP_Puzzle::kOptionRotation];
                source.bevel = m_puzzle.m_bOptions[CGP_Puzzle::kOptionBevel];
                source.picture = m_puzzle.m_pImage.get();
                source.cache = &buffer;
                try {
                    whole += piece.Build(source) ? 1 : 0;
                } catch (const CGP_Exeption&) {
                }
            }
        }
        return whole;
    }

    CGP_Puzzle& Puzzle() { return m_puzzle; }

private:
    CGP_Puzzle m_puzzle;
    boost::shared_ptr<GP_GroupDeque> m_stored;
};

} // namespace puzzlefuzz
