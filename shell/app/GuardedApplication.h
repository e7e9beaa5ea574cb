#pragma once

#include <QApplication>

// The game's QApplication: every event is delivered inside the main thread's crash guard. An
// exception that escapes an event handler goes to the application object's crash path, and the
// process ends there with exit code 0; it never travels on through the event loop.
class CGuardedApplication : public QApplication
{
    Q_OBJECT

public:
    CGuardedApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};
