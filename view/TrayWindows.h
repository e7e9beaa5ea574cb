#pragma once

#include "skin/SkinableButton.h"
#include "view/TrayWindow.h"

#include <QObject>
#include <QPointer>

#include <functional>

class CPocket;
class FieldPainter;
class PlaySession;
class QWidget;

// The three windows of one tray on the view: the "empty" and the "full" handle buttons
// (exactly one shows while the tray is shown) and the open tray's window.
class CTrayWindows : public QObject
{
public:
    static constexpr int kEmptyHandle = 1;
    static constexpr int kFullHandle = 2;

    // painter and session are read at each paint; clicked runs when a handle is clicked.
    CTrayWindows(QWidget* view, int location, const FieldPainter& painter,
                 std::function<const PlaySession*()> session, std::function<void(int location)> clicked);
    // The three windows go with their tray.
    ~CTrayWindows() override;

    int Location() const { return m_location; }
    // The windows follow the tray; shown is false outside the field.
    void Follow(const CPocket& tray, bool shown);
    void Hide();

    CSkinableButton* EmptyHandle() const { return m_empty; }
    CSkinableButton* FullHandle() const { return m_full; }
    CTrayWindow* OpenWindow() const { return m_open; }

private:
    CSkinableButton* MakeHandle(QWidget* view, int controlId, const char* picture);

    int m_location;
    QPointer<CSkinableButton> m_empty;
    QPointer<CSkinableButton> m_full;
    QPointer<CTrayWindow> m_open;
    std::function<void(int)> m_clicked;
};
