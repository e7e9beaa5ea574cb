#pragma once

#include "skin/LDialog.h"

#include <QImage>

class CPlayCommands;
class QCloseEvent;

// The picture window ("Picture"): the cut part of the puzzle's picture, scaled to the window.
// "X" hides it as the menu's "Picture" does, "Z" asks for the next zoom; the game decides the
// window's size and place. The window system's close does nothing.
class CThumbWnd : public CLDialog
{
    Q_OBJECT

public:
    static constexpr int kTemplateId = 1004;
    static constexpr int kClose = 1149;
    static constexpr int kZoom = 1150;

    CThumbWnd(CPlayCommands* commands, QWidget* parent);

    void SetPicture(const QImage& picture);
    const QImage& Picture() const { return m_picture; }

    void reject() override {}

signals:
    // The window moved (the player dragged it, or the game placed it).
    void Moved();

protected:
    void OnInitDialog() override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    void PlaceControls();

    CPlayCommands* m_pCommands;
    QImage m_picture;
    QWidget* m_pView = nullptr;
};
