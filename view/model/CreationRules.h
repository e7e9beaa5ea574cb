#pragma once

#include <QList>
#include <QSize>
#include <QString>

#include <functional>

class CGP_Puzzle;

// The rules of making a puzzle from a picture, as plain values: which pictures are taken, the
// ranges of the creation sliders, which names the name dialog refuses and the options a made
// puzzle leaves with.
namespace CreationRules {

// No side of a puzzle's picture is shorter than this.
constexpr int kMinPictureSide = 48;
constexpr int kMinPieceSize = 24;
// The curvature slider's positions; the chaos factor is the position / 1000.
constexpr int kCurvatureSteps = 1000;
// Name and author, in characters.
constexpr int kMaxNameLength = 40;
// Where a new creation starts.
constexpr int kNewPattern = 0;
constexpr float kNewChaos = 0.01f;

// An inclusive slider range.
struct Range
{
    int minimum = 0;
    int maximum = 0;
    bool operator==(const Range&) const = default;
    int Clamp(int value) const { return value < minimum ? minimum : value > maximum ? maximum : value; }
};

// A picture narrower or lower than 48 pixels is taken when its other side, scaled so that the
// short side becomes 48, still fits the area's corresponding side.
bool SmallPictureFits(const QSize& picture, const QSize& area);
// Whether a picture, as fitted into the area, keeps both sides at 48 pixels or more.
bool FittedPictureFits(const QSize& fitted);

// The image-size slider for a fitted picture: up to its width; down to 48, or for a picture
// wider than high to the width at which its height passes 48. Never wider than the picture.
Range ImageWidthRange(const QSize& picture);
// The picture at another width, its proportions kept (the height truncated).
QSize ScaledToWidth(const QSize& picture, int width);
// The piece-size slider: 24 to a quarter of the shorter side. A picture too small for 24-pixel
// pieces keeps its one size.
Range PieceSizeRange(const QSize& picture);
// The curvature slider's position for a chaos factor (the nearest), and back.
int CurvaturePosition(float chaos);
float ChaosAt(int position);

// The puzzle's name proposed for a picture file: its file name without the folder, cut before
// its first dot.
QString NameFromPictureFile(const QString& path);
// Where the file dialog starts next time after a file was chosen: its folder with the
// separator.
QString OpenPathOf(const QString& chosenFile);
// The file dialog's filters, in order: label and patterns.
struct PictureFilter
{
    const char* label;
    const char* patterns;
};
QList<PictureFilter> PictureFilters();

// Text length as a player counts it: characters, not UTF-16 units nor bytes.
int CharacterCount(const QString& text);
// A name the player may give a puzzle: one that names a library file (no folder separators,
// not "." or ".."), and neither a hidden one (a leading ".") nor one with control characters.
bool IsSafeFileName(const QString& name);
// The first check of the name dialog's input that fails, as its message number, or 0 when the
// input passes: too long (name, then author), empty, a calendar date's form, not a safe file
// name, already in the library (nameTaken).
int NameRefusal(const QString& name, const QString& author, const std::function<bool(const QString&)>& nameTaken);

// The options a made puzzle leaves with: bevelled edges on, rotation as chosen, the picture
// preview and the ghost allowed, no modification lock; shadows stay as they are.
void FixMadeOptions(CGP_Puzzle& puzzle, bool rotation);

} // namespace CreationRules
