#pragma once

#include "view/model/PuzzleLibrary.h"

#include <QRect>
#include <QSize>
#include <QString>

class CGP_Path;
class CGP_PieceWorkers;

// What opening a puzzle asks of whoever shows the game: its questions, messages and the
// progress of the long load. The view answers with its skinned dialogs; tools and tests answer
// in code.
class CPuzzleOpeningHost
{
public:
    enum class SolvedAnswer { StartOver, PlaySolved, Cancel };

    virtual ~CPuzzleOpeningHost() = default;
    // "Puzzle is already solved. Do you want to scatter it and start over?" (Yes, No, Cancel).
    virtual SolvedAnswer AskAlreadySolved(const CGP_Puzzle& puzzle) = 0;
    // Scatters the solved puzzle and writes its reset progress into its file.
    virtual void StartOver(const GP_PuzzlePtr& puzzle, const QString& path) = 0;
    // A message of the string table, or a text of its own.
    virtual void ShowMessage(int messageId) = 0;
    virtual void ShowText(const QString& text) = 0;
    // The loading dialog: message messageId filled with the name, steps steps long.
    virtual void BeginProgress(int messageId, const QString& name, int steps) = 0;
    virtual void StepProgress() = 0;
    virtual void EndProgress() = 0;
};

struct GP_OpenRequest
{
    GP_PuzzlePtr puzzle;  // the one selected puzzle
    bool fromCalendar = false;
    QRect field;          // the field rectangle in play
    QSize fittingArea;    // the field geometry's fitting area (the field less 5 % on each side)
    const CGP_Path* patterns = nullptr; // the sixteen outline patterns
};

struct GP_OpenResult
{
    enum class Outcome {
        Opened,
        Cancelled,     // the player answered Cancel
        Unreadable,    // the file could not be opened or read (left where it is)
        Deleted,       // the file proved damaged and is gone: the caller drops it from the list
        NewerVersion,  // made by a newer version of the game
        ScreenTooSmall,// the picture cannot be re-cut for this screen
        SaveFailed,    // the re-cut could not be written; the file stays as it was
        BuildFailed,   // the pieces could not be built
    };
    Outcome outcome = Outcome::Unreadable;
    bool recut = false;
    // No piece-image cache was there: the caller spreads the loose pieces of an unsolved puzzle.
    bool cacheExisted = false;
    // Where the solving clock starts.
    int startSeconds = 0;

    bool Opened() const { return outcome == Outcome::Opened; }
};

// Opening a library or calendar puzzle for play: re-cutting a puzzle too large for the screen,
// the solved question, the checks of the file, the picture, saved pieces and cut, the piece
// images from the cache or the workers, and the first layout of a fresh puzzle. The puzzle is
// the list's own object, loaded in place.
class CPuzzleOpening
{
public:
    // The text shown for a puzzle of a newer version until the game can update itself.
    static QString NewerVersionText();

    CPuzzleOpening(CPuzzleOpeningHost& host, CGP_PieceWorkers& workers);

    GP_OpenResult Open(const GP_OpenRequest& request);

    // Whether the recorded picture is wider or higher than the area.
    static bool NeedsRecut(const CGP_Puzzle& puzzle, const QSize& area);
    // A picture under 48 pixels on a side fits when its other side, scaled to make the short
    // side 48, fits the area's side of that direction.
    static bool PictureFitsArea(const QSize& picture, const QSize& area);
    // The piece size of a picture scaled from oldWidth to newWidth, truncated.
    static float RecutPieceSize(float pieceSize, int oldWidth, int newWidth);

private:
    GP_OpenResult::Outcome Recut(const GP_OpenRequest& request, const QString& path);
    GP_OpenResult::Outcome CheckFile(const QString& path);
    GP_OpenResult::Outcome Load(const GP_OpenRequest& request, const QString& path);
    GP_OpenResult::Outcome BuildPieces(const GP_OpenRequest& request, bool& cacheExisted);
    static void Release(CGP_Puzzle& puzzle);

    CPuzzleOpeningHost& m_host;
    CGP_PieceWorkers& m_workers;
};
