#include "shell/app/GuardedApplication.h"

#include "shell/app/ROruzoz.h"

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
        int result = 0;
        try {
            result = g_pTheApp ? g_pTheApp->HandleCrash() : 0;
        } catch (...) {
            // The crash path itself failed (memory is gone): the dump or notice came first.
        }
        // The log is not closed on this path: a crashed session has no END SESSION line.
        std::_Exit(result);
    }
}
