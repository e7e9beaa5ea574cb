#pragma once

#include "skin/LDialog.h"

#include <QPointer>

class QProcess;
class QProgressBar;

// "Creating...": waits for an outside program (the installer compiler) while a bar runs round,
// and closes with OK once the program has ended. It wears the current skin, else the plain look.
// One exists at a time.
class CWaitDialog : public CLDialog
{
    Q_OBJECT

public:
    static constexpr int kTemplateId = 250;
    static constexpr int kProgressControl = 1038;
    static constexpr int kTimerId = 250;
    static constexpr int kTickMs = 120;
    // The window behind is repainted whole on every this-many ticks, else only under the dialog.
    static constexpr int kFullRepaintEvery = 3;

    // process: the program to wait for; window: the window to keep repainted meanwhile.
    CWaitDialog(QProcess* process, QWidget* window, QWidget* parent = nullptr);
    ~CWaitDialog() override;

    bool IsDone() const { return m_bDone; }
    int Position() const;
    int Ticks() const { return m_ticks; }

protected:
    void OnInitDialog() override;
    void timerEvent(QTimerEvent* event) override;

private:
    bool ProcessRunning() const;
    void RepaintWindowBehind();

    QPointer<QProcess> m_pProcess;
    QPointer<QWidget> m_pWindow;
    QProgressBar* m_pProgress = nullptr;
    int m_timer = 0;
    int m_ticks = 0;
    bool m_bDone = false;
};

extern CWaitDialog* g_pWaitDialog;
