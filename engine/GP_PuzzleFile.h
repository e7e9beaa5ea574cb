#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>

class QIODevice;

#include <cstdint>
#include <functional>

// The layout of a puzzle file (".pzl"): a 16-byte header (magic, thumbnail size N, picture
// offset P, picture size M), the thumbnail as a BMP file, the settings, the picture as a JPEG
// file at P, and the piece groups after the picture. All numbers are little-endian.
namespace GP_PuzzleFile {
constexpr char kMagic[4] = {'y', 'd', 'j', 'p'};
// The first magic byte is the format version; files of a newer program carry a larger one.
constexpr uint8_t kVersion = 0x79;
constexpr int64_t kHeaderSize = 16;
constexpr int64_t kFixedSettingsSize = 269;
constexpr int kTitleFieldSize = 101;
constexpr int kTitleBytes = 100;
constexpr int kPieceRecordSize = 24;
constexpr uint32_t kMaxGroups = 10000;
// Grids and places beyond these are damage, not puzzles: no screen holds them.
constexpr int32_t kMaxGridSide = 10000;
constexpr int32_t kPlaceLimit = 20000000;
// Pictures are fitted to the field when a puzzle is made; nothing larger than the largest
// screen's worth is a picture of ours (nor a piece of one), and decoding one could take
// minutes and gigabytes.
constexpr int kMaxPictureSide = 16384;
constexpr int64_t kMaxPicturePixels = 40000000;
// An empty slot of the cache's offset table.
constexpr uint32_t kNoOffset = 0xFFFFFFFFu;

struct Header
{
    uint32_t magic = 0;
    uint32_t thumbnailSize = 0; // N
    uint32_t pictureOffset = 0; // P
    uint32_t pictureSize = 0;   // M
};

// Reads the header and checks that the thumbnail, the settings and the picture lie inside the
// file in their order; logs one line for who and returns false when they do not.
bool ReadCheckedHeader(QIODevice& file, Header& header, const char* who);

// The size a picture file's header declares, read without decoding it; invalid when unknown.
QSize PictureSize(const QByteArray& bytes);

// Bytes of the settings block (fields, corners and both direction arrays) for a grid.
int64_t SettingsSize(int32_t columns, int32_t rows);

// Text for a 101-byte title field: UTF-8 (the system code page here), cut to at most 100 bytes
// without splitting a character, zero-filled.
QByteArray EncodeTitle(const QString& text);
QString DecodeTitle(const char* field);
} // namespace GP_PuzzleFile

// Puts bytes into the file at path by writing them to a file beside it, flushing that to disk
// and renaming it over the old one. On any failure the old file is untouched, the file beside
// it is removed, one line is logged and the result is false.
bool GP_ReplaceFile(const QString& path, const QByteArray& bytes);

// For tests: asked before each step of GP_ReplaceFile ("open", "write" for every block of
// bytes, "sync", "rename"); answering true makes that step fail as a full disk would.
void GP_SetReplaceFileFault(std::function<bool(const char* step)> fault);
