#include "shell/dialogs/ModalRunner.h"

#include <QDialog>
#include <QTimer>

#include <cstdio>

namespace {

constexpr int kSelfAnswerDelayMs = 300;

GP_ModalRunner& Runner()
{
    static GP_ModalRunner runner;
    return runner;
}

int ExecDialog(QDialog& dialog)
{
    bool hasAnswer = false;
    const int answer = qEnvironmentVariableIntValue("VELMORA_TEST_ANSWER", &hasAnswer);
    if (hasAnswer) {
        std::fprintf(stderr, "velmora: dialog %s\n", dialog.windowTitle().toUtf8().constData());
        std::fflush(stderr);
        QTimer::singleShot(kSelfAnswerDelayMs, &dialog, [&dialog, answer] { dialog.done(answer); });
    }
    return dialog.exec();
}

} // namespace

int GP_RunModal(QDialog& dialog)
{
    const GP_ModalRunner& runner = Runner();
    return runner ? runner(dialog) : ExecDialog(dialog);
}

GP_ModalRunner GP_SetModalRunner(GP_ModalRunner runner)
{
    GP_ModalRunner previous = std::move(Runner());
    Runner() = std::move(runner);
    return previous;
}
