#include "shell/GuardedApplication.h"

#include "shell/ROruzoz.h"

#include <cstdlib>

CGuardedApplication::CGuardedApplication(int& argc, char** argv)
    : QApplication(argc, argv)
{
}

bool CGuardedApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        const int result = g_pTheApp ? g_pTheApp->HandleCrash() : 0;
        // The log is not closed on this path: a crashed session has no END SESSION line.
        std::_Exit(result);
    }
}
