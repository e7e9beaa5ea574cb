#pragma once

#include <QImage>
#include <QRect>

#include <QList>

class CPocket;
class PlaySession;
class QPainter;

namespace WINSKIN {
class Skin;
}

// Paints a game: the board tiled with its background, the ghost picture, the pieces, the join
// sparkle, the trays with their own background and the selection band. The view and its tray
// windows paint through it, and so does the tool that draws the field without windows.
class FieldPainter
{
public:
    FieldPainter();

    // The tiles of the board and of the trays (from the skin's colours and patterns).
    void SetBackgrounds(const QImage& board, const QImage& trays);
    const QImage& BoardTile() const { return m_board; }

    // The field: board, ghost, the field's pieces, the sparkle and a band drawn on the field.
    // While the pause box is up the board stays empty.
    void PaintField(QPainter& painter, const PlaySession& session, const QRect& update) const;
    // Inside an open tray (view coordinates): its background, its pieces, sparkle and band.
    void PaintTrayInside(QPainter& painter, const PlaySession& session, const CPocket& tray, const QRect& update) const;
    // A tray's frame and handle as drawn without a skin.
    void PaintTrayFrame(QPainter& painter, const QRect& rect) const;
    void PaintHandle(QPainter& painter, const CPocket& tray) const;
    // The whole view of a game as its windows show it, for a picture made without windows.
    void PaintView(QPainter& painter, const PlaySession& session, const QRect& view) const;

    // The pictures of a skin's "Textures" collection, pattern by pattern (none without a skin).
    static QList<QImage> SkinTextures(const WINSKIN::Skin* skin);
    // The board's tile laid from the view's origin, so neighbouring repaints meet seamlessly.
    static void Tile(QPainter& painter, const QRect& rect, const QImage& tile);
    // The selection band: a dotted outline that shows on any background.
    static void PaintBand(QPainter& painter, const QRect& band);

private:
    void PaintLocation(QPainter& painter, const PlaySession& session, int location, const QRect& clip) const;

    QImage m_board;
    QImage m_trays;
    QImage m_sparkle;
    QImage m_frame;
    QImage m_handleEmpty;
    QImage m_handleFull;
};
