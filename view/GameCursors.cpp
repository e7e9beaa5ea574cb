#include "view/GameCursors.h"

#include "resources/GP_Resources.h"
#include "shell/log/GP_LogFile.h"

#include <QFile>
#include <QPixmap>
#include <QTimerEvent>
#include <QWidget>

CGameCursors::CGameCursors(QWidget* target)
    : QObject(target)
    , m_target(target)
{
    m_cursors[0] = QCursor(Qt::OpenHandCursor);
    m_cursors[1] = QCursor(Qt::ClosedHandCursor);
    m_cursors[2] = QCursor(Qt::CrossCursor);
}

QCursor CGameCursors::FromFrame(const GP_CursorFrame& frame)
{
    return QCursor(QPixmap::fromImage(frame.image), frame.hotSpot.x(), frame.hotSpot.y());
}

QCursor CGameCursors::ResourceCursor(int number, Qt::CursorShape fallback) const
{
    QFile file(GP_CursorPath(number));
    GP_CursorFrame frame;
    if (file.open(QIODevice::ReadOnly) && AniCursor::ReadCur(file.readAll(), frame))
        return FromFrame(frame);
    GP_Log(QStringLiteral("CGameCursors: cursor %1 could not be read; a system cursor stands in\n").arg(number));
    return QCursor(fallback);
}

void CGameCursors::Load(const QString& pushAnimationPath)
{
    GP_InitResources();
    m_cursors[0] = ResourceCursor(kOpenHand, Qt::OpenHandCursor);
    m_cursors[1] = ResourceCursor(kClosedHand, Qt::ClosedHandCursor);
    m_cursors[2] = ResourceCursor(kCrossHair, Qt::CrossCursor);
    AniCursor animation;
    m_push.clear();
    m_pushSteps.clear();
    if (!animation.Load(pushAnimationPath)) {
        GP_Log(QStringLiteral("CGameCursors: %1: %2; the push shows a plain cursor\n").arg(pushAnimationPath, animation.Error()));
        m_push.push_back(QCursor(Qt::SizeAllCursor));
        m_pushSteps.push_back({0, 0});
        return;
    }
    for (const GP_CursorFrame& frame : animation.Frames())
        m_push.push_back(FromFrame(frame));
    m_pushSteps = animation.Steps();
}

void CGameCursors::Show(FieldCursor cursor)
{
    if (!m_target)
        return;
    m_shown = cursor;
    m_pushTimer.stop();
    switch (cursor) {
    case FieldCursor::Normal:
        m_target->setCursor(m_cursors[0]);
        return;
    case FieldCursor::Grab:
        m_target->setCursor(m_cursors[1]);
        return;
    case FieldCursor::Band:
        m_target->setCursor(m_cursors[2]);
        return;
    case FieldCursor::Push:
        m_pushStep = 0;
        ShowPushStep();
        return;
    }
}

void CGameCursors::Clear()
{
    m_pushTimer.stop();
    m_shown.reset();
    if (m_target)
        m_target->unsetCursor();
}

void CGameCursors::ShowPushStep()
{
    if (m_pushSteps.empty() || !m_target)
        return;
    const AniCursor::Step& step = m_pushSteps[m_pushStep % m_pushSteps.size()];
    m_target->setCursor(m_push[size_t(step.frame)]);
    if (m_pushSteps.size() > 1)
        m_pushTimer.start(step.durationMs, this);
}

void CGameCursors::timerEvent(QTimerEvent* event)
{
    if (event->timerId() != m_pushTimer.timerId())
        return;
    m_pushTimer.stop();
    ++m_pushStep;
    ShowPushStep();
}
