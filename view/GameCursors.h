#pragma once

#include "view/AniCursor.h"
#include "view/model/FieldController.h"

#include <QBasicTimer>
#include <QCursor>
#include <QObject>
#include <QPointer>

#include <optional>
#include <vector>

class QWidget;

// The field's pointers on a window: cursors 104 (open hand), 181 (closed hand) and 182
// (cross-hair) from the program's resources, and the animated push cursor from its file, whose
// frames the window wears in turn.
class CGameCursors : public QObject
{
public:
    static constexpr int kOpenHand = 104;
    static constexpr int kClosedHand = 181;
    static constexpr int kCrossHair = 182;

    explicit CGameCursors(QWidget* target);

    // Reads the three cursors and the push animation; what cannot be read falls back to a
    // system cursor of the same kind (logged).
    void Load(const QString& pushAnimationPath);
    void Show(FieldCursor cursor);
    // The window's own cursor again (outside the field).
    void Clear();

    std::optional<FieldCursor> Shown() const { return m_shown; }
    int PushFrameCount() const { return int(m_push.size()); }

protected:
    void timerEvent(QTimerEvent* event) override;

private:
    static QCursor FromFrame(const GP_CursorFrame& frame);
    QCursor ResourceCursor(int number, Qt::CursorShape fallback) const;
    void ShowPushStep();

    QPointer<QWidget> m_target;
    QCursor m_cursors[3];
    std::vector<QCursor> m_push;
    std::vector<AniCursor::Step> m_pushSteps;
    size_t m_pushStep = 0;
    QBasicTimer m_pushTimer;
    std::optional<FieldCursor> m_shown;
};
