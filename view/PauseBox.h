#pragma once

#include <QObject>
#include <QPointer>
#include <QRect>

#include <functional>

class CMessageBoxDialog;
class QWidget;

// The pause box: "Game is paused." in the game's message box, shown without blocking the
// game's windows. It lives only while shown; its OK, a click on the field inside it and every
// play command close it. The frame and the play keys see it through the game's process-wide
// pause-box pointer and shown flag, which this keeps up to date.
class CPauseBox : public QObject
{
    Q_OBJECT

public:
    // A field click closes the box inside its rectangle less this much at the top and bottom.
    static constexpr int kCloseInset = 30;

    // The box comes up over the parent's window; the object itself belongs to its owner.
    explicit CPauseBox(QWidget* parent);
    ~CPauseBox() override;

    bool IsShown() const;
    // Shows the box over the parent's window; onClosed runs when the player closes it (its OK).
    void Show(std::function<void()> onClosed);
    void Close();

    // The box's rectangle on the screen (empty while it is not shown).
    QRect Rect() const;
    // Whether a field click at that screen point closes the box.
    bool ClosesAt(const QPoint& globalPos) const;
    static QRect CloseArea(const QRect& box);

private:
    QWidget* m_pParent;
    QPointer<CMessageBoxDialog> m_pBox;
    bool m_bClosingItself = false;
};
