#pragma once

#include <QRect>
#include <QString>

#include <boost/shared_ptr.hpp>

#include <functional>

class CGP_Path;
class CGP_PieceWorkers;
class CGP_Puzzle;

// Opening a puzzle file for a game, for now the one way in: the file's header, settings,
// picture and saved pieces, the cut again from its stored corners, the piece images from the
// piece-image cache or built afresh, and a fresh game's first layout on the field.
class OpenForPlay
{
public:
    // The pattern of an index, or null when it is missing.
    using PatternSource = std::function<const CGP_Path*(int index)>;

    struct Request
    {
        QString path;
        PatternSource patterns;
        CGP_PieceWorkers* workers = nullptr;
        QRect field;
        // The trays' handles along the bottom of the field, which the first scattering keeps
        // clear of, and the shown picture window (empty when none).
        int handleSide = 0;
        QRect avoid;
    };

    struct Result
    {
        boost::shared_ptr<CGP_Puzzle> puzzle;  // null when the file could not be opened
        bool fromCache = false;
        QString error;                         // why not, for the log
    };

    // The piece-image cache of a puzzle file: "Puzzles/Cash/<name>.cash".
    static QString CachePath(const QString& puzzlePath);
    static Result Open(const Request& request);
};
