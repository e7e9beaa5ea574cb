#pragma once

#include "view/model/CreationRules.h"

#include <QImage>
#include <QRect>
#include <QString>

#include <boost/shared_ptr.hpp>

#include <functional>

class CGP_Path;
class CGP_Puzzle;
struct GP_ViewSettings;

// One puzzle being made from a picture, or a library puzzle being cut anew: the picture and its
// size (step 1), the cut's parameters (step 2) and the make that writes it into the library.
// The creation dialogs only forward to it; every answer that is a refusal is the number of the
// message to show (0 when there is none).
class CCreationSession
{
public:
    using Range = CreationRules::Range;

    // What the game around a creation does for it.
    struct Host
    {
        // Piece work for the puzzle stops before its picture or cut changes.
        std::function<void()> stopWorkers;
        // The picture or the cut changed: step 2 refreshes, the preview repaints.
        std::function<void()> changed;
        // A library puzzle has this name.
        std::function<bool(const QString& name)> nameTaken;
        // The puzzle was written to its file: added is true for a new puzzle (it joins the
        // library selected), false for a changed one (the library is read again).
        std::function<void(const boost::shared_ptr<CGP_Puzzle>& puzzle, const QString& file, bool added)> puzzleMade;
    };

    // patterns: the sixteen outline patterns, kept by the caller for the session's life.
    CCreationSession(const CGP_Path* patterns, GP_ViewSettings& settings, Host host = {});
    ~CCreationSession();

    CCreationSession(const CCreationSession&) = delete;
    CCreationSession& operator=(const CCreationSession&) = delete;

    // Step 1: the picture file, fitted into the area of the field; refused with 194 (cannot be
    // read) or 195 (too thin for the field). A refused picture leaves the creation as it was.
    int LoadPicture(const QString& path, const QRect& field);
    // A library puzzle to cut anew (the name's library file holds its picture): refused with
    // 185 (locked), 194 (its picture cannot be read) or 186 (the field is too small for it).
    int BeginModify(const CGP_Puzzle& selected, const QRect& field);
    bool HasPicture() const;
    bool IsModification() const { return m_modification; }
    const QString& PictureFile() const { return m_pictureFile; }

    // The image-size slider: its range, its value, and a move (clamped into the range).
    Range ImageWidthRange() const;
    int ImageWidth() const;
    void ChangeImageWidth(int width);

    // Step 2's controls.
    Range PieceSizeRange() const;
    int PieceSizePosition() const;
    int CurvaturePosition() const;
    int PatternIndex() const;
    bool Rotation() const;
    void SetRotation(bool rotation);
    int PieceCount() const;
    // "Pieces: %d".
    QString PiecesText() const;
    // The three parameter changes: each writes its trace, stops the workers, stores the value
    // (clamped into its range) and cuts the picture anew.
    void ChangePathIndex(int index);
    void ChangePieceSize(int size);
    void ChangeChaotic(int position);

    // The name dialog's proposals and its check (0 when the input passes).
    QString ProposedName() const;
    QString ProposedAuthor() const;
    int CheckName(const QString& name, const QString& author) const;
    // Make of a new puzzle: the name checks again, then the puzzle is finished and written
    // whole to its library file. Answers 0, a name refusal, or 191 when it could not be
    // written (nothing is left behind then).
    int MakeNew(const QString& name, const QString& author, bool sendToFriend);
    // Make of a modification: written over its library file, which stays as it was when the
    // write fails (191).
    int MakeModified();
    bool SendToFriend() const { return m_sendToFriend; }
    // The file the last make wrote.
    const QString& MadeFile() const { return m_madeFile; }

    // The puzzle being built (null once made), and a number that changes with every new cut.
    const boost::shared_ptr<CGP_Puzzle>& Puzzle() const { return m_puzzle; }
    int CutRevision() const { return m_revision; }

private:
    void StopWorkers() const;
    void Changed() const;
    // The working picture at that width, from the fitted picture.
    void ApplyWidth(int width);
    void KeepPieceSizeInRange();
    void Recut();
    int Finish(const QString& name, bool added);
    // The stored picture of a library puzzle, or a null picture (traced).
    static QImage ReadLibraryPicture(const QString& name);

    const CGP_Path* m_patterns;
    GP_ViewSettings& m_settings;
    Host m_host;
    boost::shared_ptr<CGP_Puzzle> m_puzzle;
    // The picture as fitted into the field: the largest the image size may be.
    QImage m_fitted;
    QString m_pictureFile;
    bool m_modification = false;
    bool m_sendToFriend = false;
    QString m_madeFile;
    int m_revision = 0;
};
