#include "view/model/CreationRules.h"

#include "engine/GP_Puzzle.h"
#include "engine/GP_PuzzleFile.h"
#include "resources/StringTable.h"
#include "view/model/PuzzlePaths.h"

#include <QFileInfo>

#include <algorithm>
#include <cstdint>
#include <cmath>

namespace CreationRules {

namespace {
// A calendar puzzle is named by its date, "2009-09-01": ten characters from the year 2000 on.
constexpr int kDateNameLength = 10;
constexpr QChar kDateNameStart = QLatin1Char('2');
} // namespace

bool SmallPictureFits(const QSize& picture, const QSize& area)
{
    const int w = picture.width();
    const int h = picture.height();
    if (w <= 0 || h <= 0)
        return false;
    if (w >= kMinPictureSide && h >= kMinPictureSide)
        return true;
    // Wide multiplications: a picture may be tens of thousands of pixels long.
    if (w < h)
        return int64_t(h) * kMinPictureSide / w <= area.height();
    return int64_t(w) * kMinPictureSide / h <= area.width();
}

bool FittedPictureFits(const QSize& fitted)
{
    return fitted.width() >= kMinPictureSide && fitted.height() >= kMinPictureSide;
}

Range ImageWidthRange(const QSize& picture)
{
    const int w = picture.width();
    const int h = picture.height();
    if (h <= 0)
        return {w, w};
    const int minimum = h >= w ? kMinPictureSide : int(int64_t(kMinPictureSide) * w / h) + 1;
    // A picture exactly 48 high is already at its smallest.
    return {std::min(minimum, w), w};
}

QSize ScaledToWidth(const QSize& picture, int width)
{
    if (picture.width() <= 0)
        return {};
    return {width, int(int64_t(picture.height()) * width / picture.width())};
}

Range PieceSizeRange(const QSize& picture)
{
    const int largest = std::min(picture.width() / 4, picture.height() / 4);
    return {std::min(kMinPieceSize, largest), largest};
}

int CurvaturePosition(float chaos)
{
    // Rounded: 0.007 in single precision is a hair under it, and the slider set to 7 must show 7.
    return static_cast<int>(std::lround(double(chaos) * kCurvatureSteps));
}

float ChaosAt(int position)
{
    return static_cast<float>(position) / kCurvatureSteps;
}

QString NameFromPictureFile(const QString& path)
{
    const QString file = QFileInfo(path).fileName();
    const qsizetype dot = file.indexOf(QLatin1Char('.'));
    return dot < 0 ? file : file.left(dot);
}

QString OpenPathOf(const QString& chosenFile)
{
    const qsizetype slash = chosenFile.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : chosenFile.left(slash + 1);
}

QList<PictureFilter> PictureFilters()
{
    return {
        {"All supported formats", "*.JPEG;*.JPG;*.GIF;*.BMP;*.PNG"},
        {"JPEG (*.JPEG;*.JPG)", "*.JPEG;*.JPG"},
        {"BMP (*.BMP)", "*.BMP"},
        {"PNG (*.PNG)", "*.PNG"},
        {"GIF (*.GIF)", "*.GIF"},
        {"All files (*.*)", "*.*"},
    };
}

int CharacterCount(const QString& text)
{
    int count = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        // The second half of a surrogate pair belongs to the character before it.
        if (!(text.at(i).isLowSurrogate() && i > 0 && text.at(i - 1).isHighSurrogate()))
            ++count;
    }
    return count;
}

bool IsSafeFileName(const QString& name)
{
    if (!GP_PuzzlePaths::IsSafeName(name) || name.startsWith(QLatin1Char('.')))
        return false;
    return std::none_of(name.begin(), name.end(), [](QChar c) { return c.category() == QChar::Other_Control; });
}

int NameRefusal(const QString& name, const QString& author, const std::function<bool(const QString&)>& nameTaken)
{
    // The stored title holds 100 bytes: a name that would be cut there could not find its own
    // file again.
    if (CharacterCount(name) > kMaxNameLength || name.toUtf8().size() > GP_PuzzleFile::kTitleBytes)
        return IDS_NAME_TOO_LONG;
    if (CharacterCount(author) > kMaxNameLength)
        return IDS_AUTHOR_TOO_LONG;
    if (name.isEmpty())
        return IDS_NAME_EMPTY;
    if (CharacterCount(name) == kDateNameLength && name.startsWith(kDateNameStart))
        return IDS_DIFFERENT_NAME;
    if (!IsSafeFileName(name))
        return IDS_NAME_UNSAFE;
    if ((nameTaken && nameTaken(name)) || QFileInfo::exists(GP_PuzzlePaths::LibraryFile(name)))
        return IDS_NAME_EXISTS;
    return 0;
}

void FixMadeOptions(CGP_Puzzle& puzzle, bool rotation)
{
    puzzle.m_bOptions[CGP_Puzzle::kOptionBevel] = true;
    puzzle.m_bOptions[CGP_Puzzle::kOptionRotation] = rotation;
    for (int option : {int(CGP_Puzzle::kOptionHidePicture), int(CGP_Puzzle::kOptionNoModify),
                       int(CGP_Puzzle::kOptionNoGhost), int(CGP_Puzzle::kOptionCount) - 1})
        puzzle.m_bOptions[option] = false;
}

} // namespace CreationRules
