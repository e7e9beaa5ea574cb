// The puzzle file's play state (the piece groups after the picture), the piece-image cache,
// and the whole-file operations built from the blocks.
#include "engine/GP_Puzzle.h"

#include "engine/GP_BmpWriter.h"
#include "engine/GP_PuzzleFile.h"
#include "engine/GP_PuzzlePieceUnion.h"
#include "shell/log/GP_LogFile.h"

#include <QBuffer>
#include <QFile>
#include <QtEndian>

#include <vector>

using namespace GP_PuzzleFile;

namespace {
QString LogSafe(const QString& text)
{
    QString doubled = text;
    return doubled.replace(QLatin1Char('%'), QStringLiteral("%%"));
}

void PutU32(QByteArray& bytes, uint32_t value)
{
    char le[4];
    qToLittleEndian(value, le);
    bytes.append(le, 4);
}

bool WriteU32(QIODevice& file, uint32_t value)
{
    char le[4];
    qToLittleEndian(value, le);
    return file.write(le, 4) == 4;
}

bool ReadU32(QIODevice& file, uint32_t& value)
{
    char le[4];
    if (file.read(le, 4) != 4)
        return false;
    value = qFromLittleEndian<uint32_t>(le);
    return true;
}

// Where the pieces block starts: right after the picture, as the header says.
bool SeekPiecesBlock(QIODevice& file, const char* who)
{
    char header[8];
    if (!file.seek(8) || file.read(header, 8) != 8) {
        GP_Log(QStringLiteral("CGP_Puzzle::%1: cannot read the picture block's place\n").arg(QLatin1String(who)));
        return false;
    }
    const int64_t end = int64_t(qFromLittleEndian<uint32_t>(header)) + qFromLittleEndian<uint32_t>(header + 4);
    if (end > file.size() || !file.seek(end)) {
        GP_Log(QStringLiteral("CGP_Puzzle::%1: the picture block ends past the file\n").arg(QLatin1String(who)));
        return false;
    }
    return true;
}

// One stored piece record, checked against the grid it claims to belong to.
QString ReadPieceRecord(QIODevice& file, const CGP_Puzzle& puzzle, std::vector<bool>& seen, GP_PiecePtr& piece)
{
    char record[kPieceRecordSize];
    if (file.read(record, kPieceRecordSize) != kPieceRecordSize)
        return QStringLiteral("piece records cut short");
    int32_t values[6];
    for (int i = 0; i < 6; ++i)
        values[i] = qFromLittleEndian<int32_t>(record + 4 * i);
    const int32_t x = values[0], y = values[1], column = values[2], row = values[3], index = values[4],
                  rotation = values[5];
    if (column < 0 || column >= puzzle.m_nColumns || row < 0 || row >= puzzle.m_nRows
        || index != row * puzzle.m_nColumns + column)
        return QStringLiteral("piece %1 at column %2, row %3").arg(index).arg(column).arg(row);
    const int32_t maxRotation = puzzle.m_bOptions[CGP_Puzzle::kOptionRotation] ? 3 : 0;
    if (rotation < 0 || rotation > maxRotation)
        return QStringLiteral("piece %1 turned %2 times").arg(index).arg(rotation);
    if (x < -kPlaceLimit || x > kPlaceLimit || y < -kPlaceLimit || y > kPlaceLimit)
        return QStringLiteral("piece %1 at %2, %3").arg(index).arg(x).arg(y);
    if (seen[static_cast<size_t>(index)])
        return QStringLiteral("piece %1 stored twice").arg(index);
    seen[static_cast<size_t>(index)] = true;
    piece = GP_PiecePtr(new CGP_PuzzlePiece());
    piece->m_nX = x;
    piece->m_nY = y;
    piece->m_nColumn = column;
    piece->m_nRow = row;
    piece->m_nIndex = index;
    piece->m_nRotation = rotation;
    return {};
}

QString ReadGroups(QIODevice& file, const CGP_Puzzle& puzzle, GP_GroupDeque& groups)
{
    uint32_t groupCount = 0;
    if (!ReadU32(file, groupCount))
        return QStringLiteral("no group count");
    if (groupCount > kMaxGroups)
        return QStringLiteral("%1 groups").arg(groupCount);
    std::vector<bool> seen(static_cast<size_t>(puzzle.m_nPieceCount), false);
    int64_t piecesLeft = puzzle.m_nPieceCount;
    for (uint32_t g = 0; g < groupCount; ++g) {
        uint32_t pieceCount = 0;
        uint32_t location = 0;
        if (!ReadU32(file, pieceCount) || !ReadU32(file, location))
            return QStringLiteral("group %1 cut short").arg(g);
        if (pieceCount == 0 || int64_t(pieceCount) > piecesLeft)
            return QStringLiteral("group %1 of %2 pieces").arg(g).arg(pieceCount);
        piecesLeft -= pieceCount;
        GP_GroupPtr group(new CGP_PuzzlePieceUnion());
        // Groups were once kept in a location 1 that is now the field itself.
        if (location != CGP_PuzzlePieceUnion::kRightTray && location != CGP_PuzzlePieceUnion::kLeftTray)
            location = CGP_PuzzlePieceUnion::kField;
        group->m_nLocation = static_cast<int32_t>(location);
        for (uint32_t k = 0; k < pieceCount; ++k) {
            GP_PiecePtr piece;
            const QString damage = ReadPieceRecord(file, puzzle, seen, piece);
            if (!damage.isEmpty())
                return damage;
            group->m_pieces.push_back(piece);
        }
        // A group's pieces all turn together; mixed steps could never be drawn as one.
        for (const GP_PiecePtr& piece : group->m_pieces) {
            if (piece->m_nRotation != group->m_pieces.front()->m_nRotation)
                return QStringLiteral("group %1 turned more than one way").arg(g);
        }
        groups.PushBack(group);
    }
    return {};
}
} // namespace

bool CGP_Puzzle::WritePieces(QIODevice& file)
{
    if (!SeekPiecesBlock(file, "WritePieces"))
        return false;
    QByteArray block;
    std::deque<GP_GroupPtr> groups;
    if (m_pGroups)
        groups = m_pGroups->Snapshot();
    PutU32(block, static_cast<uint32_t>(groups.size()));
    for (const GP_GroupPtr& group : groups) {
        PutU32(block, static_cast<uint32_t>(group->m_pieces.size()));
        PutU32(block, static_cast<uint32_t>(group->m_nLocation));
        for (const GP_PiecePtr& piece : group->m_pieces) {
            for (int32_t value : {piece->m_nX, piece->m_nY, piece->m_nColumn, piece->m_nRow, piece->m_nIndex,
                                  piece->m_nRotation})
                PutU32(block, static_cast<uint32_t>(value));
        }
    }
    if (file.write(block) != block.size()) {
        GP_Log(QStringLiteral("CGP_Puzzle::WritePieces: write error %1\n").arg(LogSafe(file.errorString())));
        return false;
    }
    return true;
}

bool CGP_Puzzle::ReadPieces(QIODevice& file)
{
    Header header;
    if (!ReadCheckedHeader(file, header, "ReadPieces") || !SeekPiecesBlock(file, "ReadPieces"))
        return false;
    // The groups are read aside and only replace the puzzle's when all of them are whole.
    boost::shared_ptr<GP_GroupDeque> groups(new GP_GroupDeque());
    const QString damage = ReadGroups(file, *this, *groups);
    if (!damage.isEmpty()) {
        GP_Log(QStringLiteral("CGP_Puzzle::ReadPieces: damaged file: %1\n").arg(damage));
        return false;
    }
    m_pGroups = groups;
    return true;
}

bool CGP_Puzzle::WritePieceCache(QIODevice& cache, const std::function<void()>& advanceProgress)
{
    auto fail = [&cache](const QString& what) {
        GP_Log(QStringLiteral("CGP_Puzzle::WritePieceCache: %1 %2\n").arg(what, LogSafe(cache.errorString())));
        return false;
    };
    if (m_nPieceCount < 1 || !m_pGroups)
        return fail(QStringLiteral("no pieces"));
    const QByteArray table(static_cast<qsizetype>(m_nPieceCount) * 4, '\xFF');
    if (!cache.seek(0) || cache.write(table) != table.size())
        return fail(QStringLiteral("cannot write the offset table"));
    int64_t dataPosition = table.size();
    for (const GP_GroupPtr& group : m_pGroups->Snapshot()) {
        for (const GP_PiecePtr& piece : group->m_pieces) {
            if (piece->m_nIndex < 0 || piece->m_nIndex >= m_nPieceCount)
                return fail(QStringLiteral("piece %1 outside the table").arg(piece->m_nIndex));
            if (dataPosition > int64_t(kNoOffset) - 1)
                return fail(QStringLiteral("cache larger than its offsets can say"));
            if (!cache.seek(int64_t(piece->m_nIndex) * 4) || !WriteU32(cache, static_cast<uint32_t>(dataPosition))
                || !cache.seek(dataPosition))
                return fail(QStringLiteral("cannot file piece %1").arg(piece->m_nIndex));
            QByteArray records;
            for (const auto& image : piece->m_pImages) {
                if (!image || image->isNull())
                    continue;
                const QByteArray bmp = GP_EncodeBmp32(*image);
                PutU32(records, static_cast<uint32_t>(bmp.size()));
                records.append(bmp);
            }
            if (cache.write(records) != records.size())
                return fail(QStringLiteral("cannot write piece %1").arg(piece->m_nIndex));
            dataPosition += records.size();
            if (advanceProgress)
                advanceProgress();
        }
    }
    return true;
}
bool CGP_Puzzle::WriteNewFile(const QString& path)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadWrite);
    if (!WriteThumbnailBlock(buffer) || !WriteSettings(buffer) || !WritePictureBlock(buffer))
        return false;
    // A played puzzle is not fresh: its file needs the groups its settings promise.
    if (!m_bFresh && !WritePieces(buffer))
        return false;
    buffer.close();
    return GP_ReplaceFile(path, bytes);
}

bool CGP_Puzzle::SaveProgress(const QString& path)
{
    QFile old(path);
    if (!old.open(QIODevice::ReadOnly)) {
        GP_Log(QStringLiteral("CGP_Puzzle::SaveProgress: cannot open %1\n").arg(LogSafe(path)));
        return false;
    }
    Header header;
    if (!ReadCheckedHeader(old, header, "SaveProgress"))
        return false;
    // Everything up to the end of the picture stays; the pieces after it are written anew.
    if (!old.seek(0))
        return false;
    QByteArray bytes = old.read(int64_t(header.pictureOffset) + header.pictureSize);
    old.close();
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadWrite);
    if (!WriteSettings(buffer) || !WritePieces(buffer))
        return false;
    bytes.truncate(buffer.pos());
    buffer.close();
    return GP_ReplaceFile(path, bytes);
}

bool CGP_Puzzle::OpenFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        GP_Log(QStringLiteral("CGP_Puzzle::OpenFile: cannot open %1\n").arg(LogSafe(path)));
        return false;
    }
    if (!ReadThumbnailBlock(file) || !ReadSettings(file))
        return false;
    // The picture is checked against the grid before it is decoded: a header that claims a
    // picture the stored grid was never cut from is damage, and may be a costly one.
    Header header;
    if (!ReadCheckedHeader(file, header, "OpenFile") || !file.seek(header.pictureOffset))
        return false;
    const QSize size = PictureSize(file.read(header.pictureSize));
    const int cellSide = static_cast<int>(m_fPieceSize);
    if (!size.isValid() || size.width() / cellSide != m_nColumns || size.height() / cellSide != m_nRows) {
        GP_Log(QStringLiteral("CGP_Puzzle::OpenFile: the %1 x %2 grid does not fit the %3 x %4 picture\n")
                   .arg(m_nColumns).arg(m_nRows).arg(size.width()).arg(size.height()));
        return false;
    }
    if (!LoadPicture(file))
        return false;
    // The grid must be the one its picture is cut into, or reopening would cut it afresh under
    // pieces that belong to the stored grid; and its corners must lie on the picture.
    const int cell = static_cast<int>(m_fPieceSize);
    const double reach = m_fPieceSize;
    bool fits = m_nColumns == m_pImage->width() / cell && m_nRows == m_pImage->height() / cell;
    for (size_t i = 0; fits && i < m_pCorners.size(); ++i) {
        const GP_Corner& corner = m_pCorners[i];
        fits = corner.x >= -reach && corner.y >= -reach && corner.x <= m_pImage->width() + reach
            && corner.y <= m_pImage->height() + reach;
    }
    if (!fits) {
        GP_Log(QStringLiteral("CGP_Puzzle::OpenFile: the %1 x %2 grid does not fit the %3 x %4 picture\n")
                   .arg(m_nColumns).arg(m_nRows).arg(m_pImage->width()).arg(m_pImage->height()));
        return false;
    }
    if (!m_bFresh && !ReadPieces(file))
        return false;
    return true;
}

