#include "shell/app/CrashQuestion.h"
#include "shell/app/GuardedApplication.h"
#include "shell/app/ROruzoz.h"

int main(int argc, char** argv)
{
    CGuardedApplication application(argc, argv);
    // The desktop entry the game's window belongs to (its name and icon in task bars).
    QGuiApplication::setDesktopFileName(QStringLiteral("com.quorvik.Velmora"));
    if (CrashQuestion::IsQuestionProcess())
        return CrashQuestion::RunQuestion();
    CROruzozApp app;
    if (!app.InitInstance(application.arguments()))
        return app.ExitInstance();
    return app.Run();
}
