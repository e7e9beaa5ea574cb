#include "view/FieldPainter.h"

#include "engine/GP_Puzzle.h"
#include "engine/GP_PuzzlePieceUnion.h"
#include "resources/GP_Resources.h"
#include "skin/Bitmap.h"
#include "skin/Skin.h"
#include "view/HintHighlight.h"
#include "view/model/PlaySession.h"

#include <QPainter>

namespace {
// The frame picture's corners, kept whole while its sides stretch.
constexpr int kFrameBorder = 18;

QImage Resource(const char* name)
{
    GP_InitResources();
    return QImage(GP_BitmapPath(QLatin1String(name))).convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

// A drag held over an open tray: the held groups lose their lifted shadow while they hover.
bool TrayHover(const PlaySession& session)
{
    const FieldController& controller = session.Controller();
    return controller.IsLeftHeld() && controller.TargetAt(controller.LastPoint()) != CGP_PuzzlePieceUnion::kField;
}
} // namespace

FieldPainter::FieldPainter()
    : m_sparkle(Resource("sparkle"))
    , m_frame(Resource("tray_frame"))
    , m_handleEmpty(Resource("tray_empty"))
    , m_handleFull(Resource("tray_full"))
{
}

void FieldPainter::SetBackgrounds(const QImage& board, const QImage& trays)
{
    m_board = board;
    m_trays = trays;
}

QList<QImage> FieldPainter::SkinTextures(const WINSKIN::Skin* skin)
{
    QList<QImage> textures;
    WINSKIN::Rectangle* collection = skin ? skin->FindByName(QStringLiteral("Textures")) : nullptr;
    for (int i = 0; collection && i < collection->GetChildCount(); ++i) {
        WINSKIN::Bitmap* bitmap = collection->GetChild(i)->AsBitmap();
        textures.append(bitmap ? bitmap->Picture() : QImage());
    }
    return textures;
}

void FieldPainter::Tile(QPainter& painter, const QRect& rect, const QImage& tile)
{
    if (tile.isNull()) {
        painter.fillRect(rect, Qt::darkGreen);
        return;
    }
    QBrush brush(tile);
    painter.setBrushOrigin(0, 0);
    painter.fillRect(rect, brush);
}

void FieldPainter::PaintBand(QPainter& painter, const QRect& band)
{
    painter.save();
    painter.setBrush(Qt::NoBrush);
    const QRect outline = band.adjusted(0, 0, -1, -1);
    painter.setPen(QPen(Qt::white, 1, Qt::SolidLine));
    painter.drawRect(outline);
    painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
    painter.drawRect(outline);
    painter.restore();
}

void FieldPainter::PaintLocation(QPainter& painter, const PlaySession& session, int location, const QRect& clip) const
{
    CGP_Puzzle& puzzle = *session.Puzzle();
    const bool ghost = location == CGP_PuzzlePieceUnion::kField && session.IsGhostVisible();
    if (!session.IsPauseBoxShown())
        puzzle.DrawGroups(painter, session.Field(), clip, ghost, TrayHover(session), location);
    painter.save();
    painter.setClipRect(clip);
    if (!session.IsPauseBoxShown())
        CHintHighlight::Draw(painter, puzzle, location);
    if (const std::optional<int> frame = session.SparkleFrame()) {
        const int side = PlaySession::kSparkleSize;
        painter.drawImage(session.SparkleRect().topLeft(), m_sparkle, QRect(*frame * side, 0, side, side));
    }
    if (puzzle.m_band.active && puzzle.m_band.location == location)
        PaintBand(painter, puzzle.m_band.Rect());
    painter.restore();
}

void FieldPainter::PaintField(QPainter& painter, const PlaySession& session, const QRect& update) const
{
    Tile(painter, update, m_board);
    if (session.Puzzle())
        PaintLocation(painter, session, CGP_PuzzlePieceUnion::kField, update);
}

void FieldPainter::PaintTrayInside(QPainter& painter, const PlaySession& session, const CPocket& tray,
                                   const QRect& update) const
{
    const QRect clip = update.intersected(tray.OpenRect());
    if (clip.isEmpty())
        return;
    Tile(painter, clip, m_trays);
    if (session.Puzzle())
        PaintLocation(painter, session, tray.Location(), clip);
}

void FieldPainter::PaintTrayFrame(QPainter& painter, const QRect& rect) const
{
    if (m_frame.isNull())
        return;
    const int b = kFrameBorder;
    const int fw = m_frame.width(), fh = m_frame.height();
    const int l = rect.left(), t = rect.top(), r = rect.left() + rect.width(), bt = rect.top() + rect.height();
    const int xs[4] = {l, l + b, r - b, r};
    const int ys[4] = {t, t + b, bt - b, bt};
    const int sx[4] = {0, b, fw - b, fw};
    const int sy[4] = {0, b, fh - b, fh};
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            if (row == 1 && column == 1)
                continue;  // the inside shows the tray
            const QRect target(QPoint(xs[column], ys[row]), QPoint(xs[column + 1] - 1, ys[row + 1] - 1));
            const QRect source(QPoint(sx[column], sy[row]), QPoint(sx[column + 1] - 1, sy[row + 1] - 1));
            painter.drawImage(target, m_frame, source);
        }
    }
}

void FieldPainter::PaintHandle(QPainter& painter, const CPocket& tray) const
{
    const QImage& picture = tray.ShowsFull() ? m_handleFull : m_handleEmpty;
    painter.drawImage(tray.HandleRect(), picture);
}

void FieldPainter::PaintView(QPainter& painter, const PlaySession& session, const QRect& view) const
{
    PaintField(painter, session, view);
    for (CPocket* tray : session.Controller().Trays()) {
        if (tray->IsOpen()) {
            PaintTrayInside(painter, session, *tray, view);
            PaintTrayFrame(painter, tray->OpenRect());
        }
        PaintHandle(painter, *tray);
    }
}
