#pragma once

#include "engine/GP_Path.h"
#include "engine/GP_ThreadSafeDeque.h"

#include <QImage>
#include <QRect>
#include <QString>

#include <boost/shared_ptr.hpp>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QPainter;

class CGP_PuzzlePieceUnion;
class CPieceBuilderThread;
class GP_EdgeCrossingTables;
class QIODevice;

using GP_GroupPtr = boost::shared_ptr<CGP_PuzzlePieceUnion>;
using GP_GroupDeque = CGP_ThreadSafeDeque<GP_GroupPtr>;

// Where the groups of each location may lie: the field, and the open rectangles of the right
// tray (location 3) and the left tray (location 4), with the side of the trays' handle button.
struct GP_FieldAreas
{
    QRect field;
    QRect rightTray;
    QRect leftTray;
    int trayButtonWidth = 0;
};

// The selection band: drawn from the point where a press met no piece to where the pointer is,
// in the location of that press.
struct GP_SelectionBand
{
    bool active = false;
    int location = 0;
    QPoint anchor;
    QPoint corner;

    // The band as a rectangle; it is never narrower or lower than one pixel.
    QRect Rect() const;
};

// What a press on the field picked up.
enum class GP_Pick { Held, Selection, Band };

// A corner of the piece lattice, in picture pixels.
struct GP_Corner
{
    double x = 0;
    double y = 0;
};

// One puzzle: the picture, the options it was made with, the lattice of piece corners, the
// outlines between neighbouring pieces, the play progress and the piece groups. Always held by
// a shared pointer; every call comes from the view's thread except piece building.
class CGP_Puzzle
{
public:
    // Option flags, in their stored order.
    enum Option
    {
        kOptionBevel = 0,        // "beveled piece edges"
        kOptionShadows = 1,      // "piece shadows"
        kOptionRotation = 2,     // "randomly rotated pieces"
        kOptionHidePicture = 3,  // the thumbnail's place is taken by a placeholder until solved
        kOptionNoModify = 4,     // the player may not change the cut (puzzles that came made)
        kOptionNoGhost = 5,      // the ghost picture is not offered
        kOptionCount = 7
    };

    // Longer side of a thumbnail; where a thumbnail sits until the player moves it.
    static constexpr int kThumbnailSide = 140;
    static constexpr int kDefaultThumbX = 200;
    static constexpr int kDefaultThumbY = 200;

    CGP_Puzzle();
    ~CGP_Puzzle();

    CGP_Puzzle(const CGP_Puzzle&) = delete;
    CGP_Puzzle& operator=(const CGP_Puzzle&) = delete;

    // Loads a picture file into the working picture, fitted into fit when given. On failure the
    // working picture is left empty and the reason logged.
    void LoadImage(const QString& path, const QSize* fit = nullptr);
    // The same for a picture already decoded (a null one leaves the working picture empty).
    void LoadImage(const QImage& loaded, const QSize* fit);
    // Decodes a picture file; a null image, and one line in the log, when it cannot.
    static QImage DecodeImage(const QString& path);
    // The working picture becomes the source drawn at that size (smoothly when the size
    // differs), every pixel opaque; the brightness and the untouched copy follow it.
    void UsePicture(const QImage& source, const QSize& size);

    // Cuts the picture with the pattern: a new cut (new corners and tab directions) when
    // generate is true, else the edges again from the corners and directions already present.
    void CreateGrid(const CGP_Path* pattern, bool randomTabs, bool generate);
    // Deletes every edge; without keepLattice also the corners and the tab directions.
    void ReleaseGrid(bool keepLattice);

    // The four sides of the piece in row, column: top, right, bottom, left. Null is a straight
    // border side (or a side of a cut that has no edges yet).
    void GetPieceEdges(int row, int column, const CGP_Path* edges[4]) const;
    const GP_Corner& Corner(int row, int column) const { return m_pCorners[static_cast<size_t>(row * (m_nColumns + 1) + column)]; }

    void MakeThumbnail();
    // Drops the pictures and the edges (the lattice stays); pieces, groups and places remain.
    void ReleaseImages();
    QRect GetThumbnailRect(const QImage* placeholder);
    void MakeProgressOverlay();

    // Piece building, done with the piece images: BuildPiece makes the piece in column, row as
    // a one-piece group at the back of the group deque; BuildPieces builds or rebuilds every
    // piece, on the builder workers for a new cut.
    void BuildPiece(int column, int row);
    void BuildPieces(QIODevice* cache, const std::function<void()>& advanceProgress,
                     const std::vector<CPieceBuilderThread*>& builders);

    // The puzzle file, block by block. Each takes the open file positioned as its block needs
    // and returns true when every read, write and seek succeeded; readers never trust a size
    // or a count they have not checked against the file.
    bool WriteThumbnailBlock(QIODevice& file);
    bool ReadThumbnailBlock(QIODevice& file);
    bool WriteSettings(QIODevice& file);
    bool ReadSettings(QIODevice& file);
    bool WritePictureBlock(QIODevice& file);
    bool LoadPicture(QIODevice& file);
    bool WritePieces(QIODevice& file);
    bool ReadPieces(QIODevice& file);
    // The piece-image cache: offset table, then every piece's images in group order.
    bool WritePieceCache(QIODevice& cache, const std::function<void()>& advanceProgress = {});
    // The library puzzle's picture, scaled into 370 x 255, for the preview panel.
    bool LoadPreview(QImage& target);

    // Whole files. Both write the new file beside the old one and rename it over it, so a
    // failure leaves the old file as it was. WriteNewFile: thumbnail, settings and picture;
    // SaveProgress: the existing file with new settings and pieces. OpenFile reads header,
    // settings, picture, and the pieces unless the puzzle is fresh.
    bool WriteNewFile(const QString& path);
    bool SaveProgress(const QString& path);
    bool OpenFile(const QString& path);

    // Joining and solving, on the view's thread. TryJoin is the join pass after a drop and
    // returns whether anything joined; groups left without a shadow by a join are handed to
    // requestShadows (the shadow worker) when shadows are on. DropHeldGroup ends a drag: the
    // join pass, then keepInside for every group (the view keeps groups inside their area).
    using ShadowRequest = std::function<void(const boost::shared_ptr<GP_GroupDeque>&)>;
    using GroupStep = std::function<void(const GP_GroupPtr&)>;
    bool TryJoin(const ShadowRequest& requestShadows = {});
    void UpdateSolved();
    bool DropHeldGroup(const GroupStep& keepInside = {}, const ShadowRequest& requestShadows = {});
    // The group's pieces' rectangles together, or its shadow's when useShadow and shadows are on.
    QRect GroupBounds(const GP_GroupPtr& group, bool useShadow) const;
    void RotateGroup(const GP_GroupPtr& group, int steps, int cx, int cy);
    // The first layout of a fresh puzzle: every field group somewhere in area, turned at random
    // when pieces rotate, and the drawing order shuffled.
    void SpreadPieces(const QRect& area);
    void SeparateGroups();
    void CentreSolved(const QRect& area);

    // The field's operations, each in the location the player acts in (0 field, 3 and 4 the
    // trays). Pick takes up the group under the point (the whole selection when that group is
    // part of one), or starts a selection band; keepSelection (Ctrl) adds to the selection
    // instead of replacing it. MoveBy moves what is held, or the band's moving corner, and
    // answers the rectangle to repaint. Drop ends the drag: the join pass, every group kept in
    // its area, the held group refiled by its size; answers whether pieces joined.
    GP_Pick Pick(const QPoint& point, int location, bool keepSelection = false);
    GP_GroupPtr GroupAt(const QPoint& point, int location) const;
    void Retarget(int location);
    QRect MoveBy(int dx, int dy);
    bool Drop(const GP_FieldAreas& areas, const ShadowRequest& requestShadows = {});
    // Turns the held group a quarter about its middle when the puzzle's pieces turn; answers
    // whether it did.
    bool RotateHeld();
    // One push tick: loose single pieces of the location near the point flee from it. Answers
    // the rectangle to repaint.
    QRect PushStep(const QPointF& point, int location, const GP_FieldAreas& areas);
    bool LocationEmpty(int location) const;
    bool AnyOutsideField() const;
    // Shifts a group that has no piece wholly inside its area by the least that brings one
    // piece inside; answers the rectangle to repaint (empty when it stayed).
    QRect KeepInArea(const GP_GroupPtr& group, const GP_FieldAreas& areas);
    // The area groups of the location keep to.
    QRect AreaOf(int location, const GP_FieldAreas& areas) const;
    // The first scattering of a fresh game: every loose piece of the field somewhere in it,
    // clear of the trays' handles along the bottom and of the avoided rectangle.
    void SpreadInitial(const QRect& field, int handleHeight, const QRect& avoid);
    // What the field repaints for a group: its pieces and its shadow.
    QRect PaintBounds(const GP_GroupPtr& group) const;

    // The model's draw for the view's paint: the ghost (when ghost is on and the puzzle allows
    // it), then the groups of the location back to front, clipped to the update rectangle.
    void DrawGroups(QPainter& painter, const QRect& field, const QRect& update, bool ghost, bool trayHover,
                    int location);

    // The play tools, on the view's thread. Hint picks two groups of the location that belong
    // side by side, makes them the blinking hint pair and counts the hint; with fewer than two
    // groups or no such pair it counts nothing and answers false. BlinkHint advances the blink
    // by the elapsed milliseconds and answers what to redraw (empty while nothing changed); the
    // pair goes after six phases. ArrangeAtEdge lays every loose piece of the field along the
    // edges of the field shrunk by 10, never over avoid (an empty rectangle avoids nothing).
    static constexpr int kHintBlinks = 7;
    static constexpr int kHintBlinkMs = 300;
    bool Hint(int location);
    QRect BlinkHint(int elapsedMs);
    void ClearHint();
    void ArrangeAtEdge(const QRect& field, const QRect& avoid);

    boost::shared_ptr<QImage> m_pImage;
    int32_t m_nBrightness = 0;
    boost::shared_ptr<QImage> m_pThumbnail;
    int32_t m_nThumbX = kDefaultThumbX;
    int32_t m_nThumbY = kDefaultThumbY;
    boost::shared_ptr<QImage> m_pProgressOverlay;
    bool m_bFlag = false;
    QString m_strTitle;
    QString m_strCreator;
    QString m_strText1;
    QString m_strStoredTitle;
    uint32_t m_nMagic = 0;
    QString m_strText2;
    const CGP_Path* m_pPattern = nullptr;
    std::vector<GP_Corner> m_pCorners;                           // empty = absent
    std::vector<std::unique_ptr<CGP_Path>> m_pVerticalEdges;
    std::vector<std::unique_ptr<CGP_Path>> m_pHorizontalEdges;
    std::vector<uint8_t> m_pVerticalDirections;                  // empty = absent
    std::vector<uint8_t> m_pHorizontalDirections;                // empty = absent
    int32_t m_nVerticalEdgeCount = 0;
    int32_t m_nHorizontalEdgeCount = 0;
    int32_t m_nPieceCount = 4;
    int32_t m_nColumns = 2;
    int32_t m_nRows = 2;
    int32_t m_nCutWidth = 0;
    int32_t m_nCutHeight = 0;
    int32_t m_nEdgeWidth = 0;
    int32_t m_nPatternIndex = 0;
    bool m_bOptions[kOptionCount] = {true, true, false, false, false, false, false};
    uint16_t m_nSolveYear = 0;
    uint16_t m_nSolveMonth = 0;
    uint16_t m_nSolveDay = 0;
    float m_fLeft = 0;
    float m_fRight = 0;
    float m_fTop = 0;
    float m_fBottom = 0;
    float m_fPieceSize = 0;
    float m_fChaos = 0.01f;
    bool m_bFresh = true;
    bool m_bSolved = false;
    int32_t m_nSolvingTime = 0;
    float m_fSolvedPercent = 0;
    int32_t m_nHintsUsed = 0;
    bool m_bSkipDrop = false;
    GP_GroupPtr m_pHeldGroup;
    GP_GroupPtr m_pHintGroup1;
    GP_GroupPtr m_pHintGroup2;
    int32_t m_nHintBlinkCount = 0;
    int32_t m_nHintBlinkTimer = 0;
    boost::shared_ptr<GP_GroupDeque> m_pGroups;
    boost::shared_ptr<QImage> m_pImageCopy;
    GP_SelectionBand m_band;
    // What was selected when a Ctrl band began; the band adds to it.
    std::vector<GP_GroupPtr> m_bandKeeps;

private:
    // Every edge of the cut, for the crossing tables its pieces share while they are built.
    std::vector<const CGP_Path*> AllEdges() const;

    // Made for the time BuildPieces runs and read by the builders it starts.
    std::shared_ptr<GP_EdgeCrossingTables> m_pBuildCrossings;

    bool MakeCorners(double pieceSize);
    void MakeVerticalEdges(bool randomTabs, bool generate);
    void MakeHorizontalEdges(bool randomTabs, bool generate);
    int NextDirection(std::vector<uint8_t>& directions, size_t index, bool randomTabs, bool generate);
    QString GridErrorText(const char* stage) const;
};

// The random-tab flag of each pattern index: patterns 5 and 8 always cut every tab one way.
bool GP_PatternHasRandomTabs(int patternIndex);

// The group's soft shadow, made with the piece images.
void CreateUnionShadow(CGP_Puzzle* puzzle, const GP_GroupPtr& group);
