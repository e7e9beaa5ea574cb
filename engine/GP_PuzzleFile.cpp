#include "engine/GP_PuzzleFile.h"

#include "engine/GP_Folders.h"
#include "engine/GP_Puzzle.h"
#include "shell/log/GP_Exeption.h"
#include "shell/log/GP_LogFile.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QtEndian>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <new>

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

using namespace GP_PuzzleFile;

namespace {
// Bytes written to the new file in one go; each is one place a full disk can stop a save.
constexpr int64_t kWriteBlock = 64 * 1024;
// Preview target: 370 x 255, the shape of the preview panel.
constexpr int kPreviewWidth = 370;
constexpr int kPreviewHeight = 255;
constexpr double kPreviewAspect = 1.4509804;
// Corners lie on the picture; anything this far off is damage.
constexpr double kCornerLimit = 1e6;

std::function<bool(const char*)>& ReplaceFault()
{
    static std::function<bool(const char*)> fault;
    return fault;
}

bool Faulted(const char* step)
{
    const auto& fault = ReplaceFault();
    return fault && fault(step);
}

QString ErrnoText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// The file's own error text when it has one, else the run-time library's.
QString DeviceError(const QIODevice& file, int error)
{
    const QString text = file.errorString();
    return text.isEmpty() || text == QLatin1String("Unknown error") ? ErrnoText(error) : text;
}

QString LogSafe(const QString& text)
{
    QString doubled = text;
    return doubled.replace(QLatin1Char('%'), QStringLiteral("%%"));
}

// Little-endian values appended to a byte array.
class ByteWriter
{
public:
    template <typename T>
    void Put(T value)
    {
        char bytes[sizeof(T)];
        qToLittleEndian(value, bytes);
        m_bytes.append(bytes, sizeof(T));
    }
    void PutFloat(float value)
    {
        uint32_t bits;
        std::memcpy(&bits, &value, sizeof bits);
        Put(bits);
    }
    void PutDouble(double value)
    {
        uint64_t bits;
        std::memcpy(&bits, &value, sizeof bits);
        Put(bits);
    }
    void PutBytes(const QByteArray& bytes) { m_bytes.append(bytes); }
    const QByteArray& Bytes() const { return m_bytes; }

private:
    QByteArray m_bytes;
};

// Little-endian values taken from a byte array whose size the caller has checked.
class ByteReader
{
public:
    explicit ByteReader(const QByteArray& bytes) : m_data(bytes.constData()) {}
    template <typename T>
    T Get()
    {
        const T value = qFromLittleEndian<T>(m_data + m_at);
        m_at += sizeof(T);
        return value;
    }
    float GetFloat()
    {
        const uint32_t bits = Get<uint32_t>();
        float value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    double GetDouble()
    {
        const uint64_t bits = Get<uint64_t>();
        double value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    const char* Take(int size)
    {
        const char* at = m_data + m_at;
        m_at += size;
        return at;
    }

private:
    const char* m_data;
    size_t m_at = 0;
};

bool ReadExactly(QIODevice& file, char* into, int64_t size)
{
    return file.read(into, size) == size;
}

bool ReadU32(QIODevice& file, uint32_t& value)
{
    char bytes[4];
    if (!ReadExactly(file, bytes, 4))
        return false;
    value = qFromLittleEndian<uint32_t>(bytes);
    return true;
}

bool WriteU32(QIODevice& file, uint32_t value)
{
    char bytes[4];
    qToLittleEndian(value, bytes);
    return file.write(bytes, 4) == 4;
}

bool WriteAll(QIODevice& file, const QByteArray& bytes)
{
    return file.write(bytes) == bytes.size();
}

bool ReadHeader(QIODevice& file, Header& header)
{
    char bytes[kHeaderSize];
    if (!file.seek(0) || !ReadExactly(file, bytes, kHeaderSize))
        return false;
    header.magic = qFromLittleEndian<uint32_t>(bytes);
    header.thumbnailSize = qFromLittleEndian<uint32_t>(bytes + 4);
    header.pictureOffset = qFromLittleEndian<uint32_t>(bytes + 8);
    header.pictureSize = qFromLittleEndian<uint32_t>(bytes + 12);
    return true;
}

// Whether the blocks the header names lie inside the file in their order: thumbnail, at
// least the fixed settings, then the picture. Sizes are summed in 64 bits, so no value can
// wrap round into a small one.
QString HeaderDamage(const Header& header, int64_t fileSize)
{
    const int64_t settingsStart = kHeaderSize + header.thumbnailSize;
    if (settingsStart + kFixedSettingsSize > fileSize)
        return QStringLiteral("thumbnail size %1 beyond the end of the file").arg(header.thumbnailSize);
    if (header.pictureOffset < settingsStart + kFixedSettingsSize)
        return QStringLiteral("picture offset %1 inside the thumbnail or settings").arg(header.pictureOffset);
    if (header.pictureSize == 0 || int64_t(header.pictureOffset) + header.pictureSize > fileSize)
        return QStringLiteral("picture block %1 + %2 beyond the end of the file")
            .arg(header.pictureOffset).arg(header.pictureSize);
    return {};
}

QByteArray Encode(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (!writer.write(image)) {
        GP_Log(QStringLiteral("CGP_Puzzle: cannot encode a %1 picture: %2\n")
                   .arg(QLatin1String(format), LogSafe(writer.errorString())));
        return {};
    }
    return bytes;
}

// The picture kinds a puzzle file may carry, told by their first bytes: the kinds the game
// reads as a player's picture. Naming the kind keeps damaged or hostile bytes away from every
// other decoder the image library has.
QByteArray PictureKind(const QByteArray& bytes)
{
    if (bytes.startsWith("\xFF\xD8\xFF"))
        return "jpeg";
    if (bytes.startsWith("\x89PNG\r\n\x1A\n"))
        return "png";
    if (bytes.startsWith("GIF87a") || bytes.startsWith("GIF89a"))
        return "gif";
    if (bytes.startsWith("BM"))
        return "bmp";
    return {};
}

// A reader bound to one picture kind; none (it reads nothing) for bytes of another kind.
struct PictureReader
{
    explicit PictureReader(const QByteArray& bytes)
        : kind(PictureKind(bytes))
    {
        buffer.setData(bytes);
        buffer.open(QIODevice::ReadOnly);
        reader.setDevice(&buffer);
        reader.setFormat(kind);
        reader.setAutoDetectImageFormat(false);
    }

    QByteArray kind;
    QBuffer buffer;
    QImageReader reader;
};

QImage Decode(const QByteArray& bytes)
{
    PictureReader picture(bytes);
    return picture.kind.isEmpty() ? QImage() : picture.reader.read();
}

// The settings fields after the grid's size is known: corners, then both direction arrays.
struct Lattice
{
    std::vector<GP_Corner> corners;
    std::vector<uint8_t> vertical;
    std::vector<uint8_t> horizontal;
};

QString ReadLattice(QIODevice& file, int32_t columns, int32_t rows, Lattice& lattice)
{
    const int64_t cornerCount = int64_t(columns + 1) * (rows + 1);
    const int64_t verticalCount = int64_t(columns + 1) * rows;
    const int64_t horizontalCount = int64_t(rows + 1) * columns;
    const QByteArray bytes = file.read(SettingsSize(columns, rows) - kFixedSettingsSize);
    if (bytes.size() != SettingsSize(columns, rows) - kFixedSettingsSize)
        return QStringLiteral("corners and tab directions cut short");
    ByteReader reader(bytes);
    lattice.corners.resize(static_cast<size_t>(cornerCount));
    for (GP_Corner& corner : lattice.corners) {
        corner.x = reader.GetDouble();
        corner.y = reader.GetDouble();
        if (!std::isfinite(corner.x) || !std::isfinite(corner.y) || std::fabs(corner.x) > kCornerLimit
            || std::fabs(corner.y) > kCornerLimit)
            return QStringLiteral("a corner lies off any picture");
    }
    auto directions = [&](std::vector<uint8_t>& into, int64_t count) {
        const char* at = reader.Take(static_cast<int>(count));
        into.assign(at, at + count);
        for (uint8_t direction : into) {
            if (direction > 1)
                return false;
        }
        return true;
    };
    if (!directions(lattice.vertical, verticalCount) || !directions(lattice.horizontal, horizontalCount))
        return QStringLiteral("a tab direction other than 0 or 1");
    return {};
}

// A file in memory holding the bytes, readable by path: the picture decoder of LoadImage reads
// it as it would a file on disk, and nothing is left behind on disk.
class MemoryFile
{
public:
    MemoryFile() : m_fd(memfd_create("velmora-picture", MFD_CLOEXEC)) {}
    ~MemoryFile()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;

    bool IsOpen() const { return m_fd >= 0; }
    bool Write(const QByteArray& bytes)
    {
        int64_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::write(m_fd, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
            if (n <= 0)
                return false;
            done += n;
        }
        return true;
    }
    QString Path() const { return QStringLiteral("/proc/self/fd/%1").arg(m_fd); }

private:
    int m_fd;
};
} // namespace

bool GP_PuzzleFile::ReadCheckedHeader(QIODevice& file, Header& header, const char* who)
{
    if (!ReadHeader(file, header)) {
        GP_Log(QStringLiteral("CGP_Puzzle::%1: cannot read the header\n").arg(QLatin1String(who)));
        return false;
    }
    const QString damage = HeaderDamage(header, file.size());
    if (!damage.isEmpty()) {
        GP_Log(QStringLiteral("CGP_Puzzle::%1: damaged file: %2\n").arg(QLatin1String(who), damage));
        return false;
    }
    return true;
}

QSize GP_PuzzleFile::PictureSize(const QByteArray& bytes)
{
    PictureReader picture(bytes);
    return picture.kind.isEmpty() ? QSize() : picture.reader.size();
}

int64_t GP_PuzzleFile::SettingsSize(int32_t columns, int32_t rows)
{
    const int64_t c = columns;
    const int64_t r = rows;
    return kFixedSettingsSize + (c + 1) * (r + 1) * 16 + (c + 1) * r + c * (r + 1);
}

QByteArray GP_PuzzleFile::EncodeTitle(const QString& text)
{
    QByteArray bytes = text.toUtf8();
    if (bytes.size() > kTitleBytes) {
        int cut = kTitleBytes;
        // Back up over continuation bytes so the cut falls before a character, not inside it.
        while (cut > 0 && (static_cast<uint8_t>(bytes[cut]) & 0xC0) == 0x80)
            --cut;
        bytes.truncate(cut);
    }
    // A NUL inside the text would end it early; it ends where the text does.
    const int nul = bytes.indexOf('\0');
    if (nul >= 0)
        bytes.truncate(nul);
    bytes.append(QByteArray(kTitleFieldSize - bytes.size(), '\0'));
    return bytes;
}

QString GP_PuzzleFile::DecodeTitle(const char* field)
{
    int length = 0;
    while (length < kTitleBytes && field[length] != '\0')
        ++length;
    return QString::fromUtf8(field, length);
}

bool CGP_Puzzle::WriteThumbnailBlock(QIODevice& file)
{
    // A file without its header could never be read again: refuse instead of writing nothing.
    if (!m_pThumbnail || m_pThumbnail->isNull()) {
        GP_Log(QStringLiteral("CGP_Puzzle::WriteThumbnailBlock: no thumbnail\n"));
        return false;
    }
    const QByteArray bmp = Encode(m_pThumbnail->convertToFormat(QImage::Format_RGB888), "bmp");
    if (bmp.isEmpty())
        return false;
    const uint32_t size = static_cast<uint32_t>(bmp.size());
    // P and M stand in until the picture is written.
    return file.write(kMagic, 4) == 4 && WriteU32(file, size) && WriteU32(file, size) && WriteU32(file, size)
        && WriteAll(file, bmp);
}

bool CGP_Puzzle::ReadThumbnailBlock(QIODevice& file)
{
    m_pThumbnail.reset();
    Header header;
    if (!ReadHeader(file, header)) {
        GP_Log(QStringLiteral("CGP_Puzzle::ReadThumbnailBlock: cannot read the header\n"));
        return false;
    }
    m_nMagic = header.magic;
    char magic[4];
    qToLittleEndian(header.magic, magic);
    // The first byte is the format version: only the other three mark a puzzle file.
    if (std::memcmp(magic + 1, kMagic + 1, 3) != 0) {
        GP_Log(QStringLiteral("CGP_Puzzle::ReadThumbnailBlock: not a puzzle file\n"));
        return false;
    }
    const QString damage = HeaderDamage(header, file.size());
    if (!damage.isEmpty()) {
        GP_Log(QStringLiteral("CGP_Puzzle::ReadThumbnailBlock: damaged file: %1\n").arg(damage));
        return false;
    }
    const QByteArray bmp = file.read(header.thumbnailSize);
    if (bmp.size() != int64_t(header.thumbnailSize)) {
        GP_Log(QStringLiteral("CGP_Puzzle::ReadThumbnailBlock: thumbnail cut short\n"));
        return false;
    }
    const QImage thumbnail = Decode(bmp);
    if (thumbnail.isNull()) {
        GP_Log(QStringLiteral("CGP_Puzzle::ReadThumbnailBlock: the thumbnail does not decode\n"));
        return false;
    }
    m_pThumbnail = boost::shared_ptr<QImage>(new QImage(thumbnail));
    return true;
}

bool CGP_Puzzle::WriteSettings(QIODevice& file)
{
    uint32_t thumbnailSize = 0;
    if (!file.seek(4) || !ReadU32(file, thumbnailSize) || kHeaderSize + int64_t(thumbnailSize) > file.size()
        || !file.seek(kHeaderSize + thumbnailSize)) {
        GP_Log(QStringLiteral("CGP_Puzzle::WriteSettings: cannot find the settings\n"));
        return false;
    }
    const size_t corners = static_cast<size_t>(m_nColumns + 1) * static_cast<size_t>(m_nRows + 1);
    const size_t vertical = static_cast<size_t>(m_nColumns + 1) * static_cast<size_t>(m_nRows);
    const size_t horizontal = static_cast<size_t>(m_nColumns) * static_cast<size_t>(m_nRows + 1);
    // A grid that does not match its own lattice would write a block no reader can follow.
    if (m_nColumns < 1 || m_nRows < 1 || m_pCorners.size() != corners || m_pVerticalDirections.size() != vertical
        || m_pHorizontalDirections.size() != horizontal) {
        GP_Log(QStringLiteral("CGP_Puzzle::WriteSettings: the puzzle is not cut\n"));
        return false;
    }

    ByteWriter out;
    out.Put<int32_t>(m_nThumbX);
    out.Put<int32_t>(m_nThumbY);
    out.Put<int32_t>(m_nColumns);
    out.Put<int32_t>(m_nRows);
    out.PutFloat(m_fPieceSize);
    out.Put<int32_t>(m_nCutWidth);
    out.Put<int32_t>(m_nCutHeight);
    out.Put<int32_t>(m_nPatternIndex);
    for (bool option : m_bOptions)
        out.Put<uint8_t>(option ? 1 : 0);
    out.PutFloat(m_fPieceSize);
    out.PutFloat(m_fChaos);
    out.Put<uint8_t>(m_bFresh ? 1 : 0);
    out.Put<uint8_t>(m_bSolved ? 1 : 0);
    out.Put<int32_t>(m_nSolvingTime);
    out.PutFloat(m_fSolvedPercent);
    out.Put<uint16_t>(m_nSolveYear);
    out.Put<uint16_t>(m_nSolveMonth);
    out.Put<uint16_t>(m_nSolveDay);
    out.Put<int32_t>(m_nHintsUsed);
    out.PutBytes(EncodeTitle(m_strStoredTitle));
    out.PutBytes(EncodeTitle(m_strCreator));
    for (const GP_Corner& corner : m_pCorners) {
        out.PutDouble(corner.x);
        out.PutDouble(corner.y);
    }
    out.PutBytes(QByteArray(reinterpret_cast<const char*>(m_pVerticalDirections.data()), int(vertical)));
    out.PutBytes(QByteArray(reinterpret_cast<const char*>(m_pHorizontalDirections.data()), int(horizontal)));
    if (!WriteAll(file, out.Bytes())) {
        GP_Log(QStringLiteral("CGP_Puzzle::WriteSettings: write error %1\n").arg(LogSafe(file.errorString())));
        return false;
    }
    return true;
}

bool CGP_Puzzle::ReadSettings(QIODevice& file)
{
    Header header;
    if (!ReadCheckedHeader(file, header, "ReadSettings") || !file.seek(kHeaderSize + header.thumbnailSize))
        return false;
    const QByteArray fixed = file.read(kFixedSettingsSize);
    if (fixed.size() != kFixedSettingsSize) {
        GP_Log(QStringLiteral("CGP_Puzzle::ReadSettings: settings cut short\n"));
        return false;
    }
    ByteReader in(fixed);
    const int32_t thumbX = in.Get<int32_t>();
    const int32_t thumbY = in.Get<int32_t>();
    const int32_t columns = in.Get<int32_t>();
    const int32_t rows = in.Get<int32_t>();
    in.GetFloat(); // the piece size again after the options; that copy is the one kept
    const int32_t cutWidth = in.Get<int32_t>();
    const int32_t cutHeight = in.Get<int32_t>();
    const int32_t patternIndex = in.Get<int32_t>();
    bool options[kOptionCount];
    for (bool& option : options)
        option = in.Get<uint8_t>() != 0;
    const float pieceSize = in.GetFloat();
    const float chaos = in.GetFloat();
    const bool fresh = in.Get<uint8_t>() != 0;
    const bool solved = in.Get<uint8_t>() != 0;
    const int32_t solvingTime = in.Get<int32_t>();
    const float solvedPercent = in.GetFloat();
    const uint16_t year = in.Get<uint16_t>();
    const uint16_t month = in.Get<uint16_t>();
    const uint16_t day = in.Get<uint16_t>();
    const int32_t hints = in.Get<int32_t>();
    const QString title = DecodeTitle(in.Take(kTitleFieldSize));
    const QString creator = DecodeTitle(in.Take(kTitleFieldSize));

    QString damage;
    if (columns < 1 || rows < 1 || columns > kMaxGridSide || rows > kMaxGridSide)
        damage = QStringLiteral("a grid of %1 x %2").arg(columns).arg(rows);
    else if (kHeaderSize + header.thumbnailSize + SettingsSize(columns, rows) > header.pictureOffset)
        damage = QStringLiteral("a %1 x %2 grid runs into the picture").arg(columns).arg(rows);
    else if (patternIndex < 0 || patternIndex >= kPatternCount)
        damage = QStringLiteral("pattern %1").arg(patternIndex);
    else if (!std::isfinite(pieceSize) || pieceSize < 1 || pieceSize > kMaxPictureSide)
        damage = QStringLiteral("piece size %1").arg(pieceSize);
    Lattice lattice;
    if (damage.isEmpty())
        damage = ReadLattice(file, columns, rows, lattice);
    if (!damage.isEmpty()) {
        GP_Log(QStringLiteral("CGP_Puzzle::ReadSettings: damaged file: %1\n").arg(damage));
        return false;
    }

    m_nThumbX = thumbX;
    m_nThumbY = thumbY;
    m_nColumns = columns;
    m_nRows = rows;
    m_nPieceCount = columns * rows;
    m_nCutWidth = cutWidth;
    m_nCutHeight = cutHeight;
    m_nPatternIndex = patternIndex;
    std::copy(std::begin(options), std::end(options), std::begin(m_bOptions));
    m_fPieceSize = pieceSize;
    m_fChaos = chaos;
    m_bFresh = fresh;
    m_bSolved = solved;
    m_nSolvingTime = solvingTime;
    m_fSolvedPercent = std::isfinite(solvedPercent) ? solvedPercent : 0;
    m_nSolveYear = year;
    m_nSolveMonth = month;
    m_nSolveDay = day;
    m_nHintsUsed = hints;
    m_strTitle = title;
    m_strStoredTitle = title;
    m_strCreator = creator;
    m_nVerticalEdgeCount = (columns + 1) * rows;
    m_nHorizontalEdgeCount = (rows + 1) * columns;
    ReleaseGrid(false);
    m_pCorners = std::move(lattice.corners);
    m_pVerticalDirections = std::move(lattice.vertical);
    m_pHorizontalDirections = std::move(lattice.horizontal);
    return true;
}

bool CGP_Puzzle::WritePictureBlock(QIODevice& file)
{
    if (!m_pImage || m_pImage->isNull())
        return true;
    const qint64 pictureOffset = file.pos();
    // JPEG has no alpha: the picture goes in as the opaque picture it is.
    const QByteArray jpeg = Encode(m_pImage->convertToFormat(QImage::Format_RGB32), "jpeg");
    if (jpeg.isEmpty() || pictureOffset > qint64(UINT32_MAX) - jpeg.size())
        return false;
    if (!WriteAll(file, jpeg) || !file.seek(8) || !WriteU32(file, static_cast<uint32_t>(pictureOffset))
        || !WriteU32(file, static_cast<uint32_t>(jpeg.size()))) {
        GP_Log(QStringLiteral("CGP_Puzzle::WritePictureBlock: write error %1\n").arg(LogSafe(file.errorString())));
        return false;
    }
    return true;
}

bool CGP_Puzzle::LoadPicture(QIODevice& file)
{
    // Each failing step says which it was; none goes on with values it could not read.
    auto fail = [&file](const char* step) {
        const int error = errno;
        GP_Log(QStringLiteral("CGP_Puzzle::LoadPicture: %1 error errno=%2 %3 \n")
                   .arg(QLatin1String(step)).arg(error).arg(LogSafe(DeviceError(file, error))));
        return false;
    };
    errno = 0;
    uint32_t pictureOffset = 0;
    uint32_t pictureSize = 0;
    if (!file.seek(8))
        return fail("fseek1");
    if (!ReadU32(file, pictureOffset))
        return fail("fread1");
    if (!ReadU32(file, pictureSize))
        return fail("fread2");
    // Never trust M: a size past the end of the file is damage, not a reason to allocate.
    QByteArray buffer;
    if (pictureSize == 0 || int64_t(pictureOffset) + pictureSize > file.size()) {
        GP_Log(QStringLiteral("CGP_Puzzle::LoadPicture: Buffer == NULL \n"));
        return false;
    }
    try {
        buffer.resize(pictureSize);
    } catch (const std::bad_alloc&) {
        GP_Log(QStringLiteral("CGP_Puzzle::LoadPicture: Buffer == NULL \n"));
        return false;
    }
    if (!file.seek(pictureOffset))
        return fail("fseek2");
    if (!ReadExactly(file, buffer.data(), pictureSize))
        return fail("fread3");

    const QSize size = PictureSize(buffer);
    if (!size.isValid() || size.width() > kMaxPictureSide || size.height() > kMaxPictureSide
        || int64_t(size.width()) * size.height() > kMaxPicturePixels) {
        GP_Log(QStringLiteral("CGP_Puzzle::LoadPicture: a picture of %1 x %2 is refused\n").arg(size.width()).arg(size.height()));
        return false;
    }

    MemoryFile picture;
    if (!picture.IsOpen()) {
        const int error = errno;
        GP_Log(QStringLiteral("CGP_Puzzle::LoadPicture: FTmp == NULL %1 %2 \n").arg(error).arg(ErrnoText(error)));
        return false;
    }
    if (!picture.Write(buffer)) {
        const int error = errno;
        GP_Log(QStringLiteral("CGP_Puzzle::LoadPicture: fwrite error errno=%1 %2 \n").arg(error).arg(ErrnoText(error)));
        return false;
    }
    buffer.clear();
    LoadImage(picture.Path());
    return m_pImage && !m_pImage->isNull();
}

bool CGP_Puzzle::LoadPreview(QImage& target)
{
    QFile file(GP_FilePath(GP_Folder::PuzzlesSimple, m_strTitle + QStringLiteral(".pzl")));
    if (!file.open(QIODevice::ReadOnly)) {
        GP_Log(QStringLiteral("CGP_Puzzle::LoadPreview: cannot open %1\n").arg(LogSafe(file.fileName())));
        return false;
    }
    Header header;
    if (!ReadCheckedHeader(file, header, "LoadPreview") || !file.seek(header.pictureOffset))
        return false;
    const QByteArray jpeg = file.read(header.pictureSize);
    file.close();
    const QImage picture = Decode(jpeg);
    if (jpeg.size() != int64_t(header.pictureSize) || picture.isNull()) {
        GP_Log(QStringLiteral("CGP_Puzzle::LoadPreview: the picture does not decode\n"));
        return false;
    }
    const int W = picture.width();
    const int H = picture.height();
    QSize size;
    if (double(W) / H < kPreviewAspect)
        size = QSize(std::max(1, int(int64_t(W) * kPreviewHeight / H)), kPreviewHeight);
    else
        size = QSize(kPreviewWidth, std::max(1, int(int64_t(H) * kPreviewWidth / W)));
    QImage preview(size, QImage::Format_RGB888);
    if (preview.isNull())
        throw CGP_Exeption("Error CImage::CreateCloud", __LINE__, "GP_Puzzle");
    {
        QPainter painter(&preview);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(QRect(QPoint(0, 0), size), picture);
    }
    target = preview;
    return true;
}

void GP_SetReplaceFileFault(std::function<bool(const char* step)> fault)
{
    ReplaceFault() = std::move(fault);
}

bool GP_ReplaceFile(const QString& path, const QByteArray& bytes)
{
    const QByteArray target = QFile::encodeName(path);
    const QByteArray beside = target + ".new";
    auto fail = [&](const char* step, int fd) {
        const int error = errno ? errno : ENOSPC;
        if (fd >= 0)
            ::close(fd);
        ::unlink(beside.constData());
        GP_Log(QStringLiteral("GP_ReplaceFile: %1 %2 failed errno=%3 %4\n")
                   .arg(QLatin1String(step), LogSafe(path)).arg(error).arg(ErrnoText(error)));
        return false;
    };
    errno = 0;
    const int fd = Faulted("open") ? -1 : ::open(beside.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return fail("open", -1);
    for (int64_t done = 0; done < bytes.size();) {
        const size_t block = static_cast<size_t>(std::min<int64_t>(kWriteBlock, bytes.size() - done));
        const ssize_t n = Faulted("write") ? -1 : ::write(fd, bytes.constData() + done, block);
        if (n <= 0)
            return fail("write", fd);
        done += n;
    }
    // The bytes must be on the disk before the name points at them.
    if (Faulted("sync") || ::fsync(fd) != 0)
        return fail("sync", fd);
    if (::close(fd) != 0)
        return fail("close", -1);
    if (Faulted("rename") || ::rename(beside.constData(), target.constData()) != 0)
        return fail("rename", -1);
    return true;
}
