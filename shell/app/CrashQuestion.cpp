#include "shell/app/CrashQuestion.h"

#include "engine/GP_Folders.h"
#include "shell/app/ApplicationErrorDialog.h"
#include "shell/log/GP_LogFile.h"
#include "shell/dialogs/ModalRunner.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <cstring>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

const char kQuestionVariable[] = "VELMORA_CRASH_QUESTION";
const char kQuestionSetting[] = "VELMORA_CRASH_QUESTION=1";
const char kCrashReporter[] = "FaultCourier";

// Filled by Prepare(); read-only afterwards, so the signal handler only reads plain memory.
std::string s_program;
std::vector<std::string> s_environment;
std::vector<char*> s_argv;
std::vector<char*> s_envp;
bool s_prepared = false;

} // namespace

void CrashQuestion::Prepare()
{
    s_program = QFile::encodeName(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath()).toStdString();
    s_environment.clear();
    for (char** entry = environ; entry && *entry; ++entry) {
        if (std::strncmp(*entry, kQuestionVariable, sizeof kQuestionVariable - 1) != 0)
            s_environment.emplace_back(*entry);
    }
    s_environment.emplace_back(kQuestionSetting);
    s_argv = {s_program.data(), nullptr};
    s_envp.clear();
    for (std::string& entry : s_environment)
        s_envp.push_back(entry.data());
    s_envp.push_back(nullptr);
    s_prepared = !s_program.empty();
}

bool CrashQuestion::AskFromSignalHandler()
{
    if (!s_prepared)
        return false;
    const pid_t child = fork();
    if (child < 0)
        return false;
    if (child == 0) {
        execve(s_argv[0], s_argv.data(), s_envp.data());
        _exit(127);
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
    }
    return WIFEXITED(status) && WEXITSTATUS(status) != 127;
}

bool CrashQuestion::IsQuestionProcess()
{
    return qEnvironmentVariableIntValue(kQuestionVariable) == 1;
}

int CrashQuestion::RunQuestion()
{
    CApplicationErrorDialog question;
    if (GP_RunModal(question) == 0)
        return 0;
    // The crashed game's folder is this copy's working folder.
    const QString reporter = QDir::current().filePath(QLatin1String(kCrashReporter));
    if (QFileInfo(reporter).isExecutable())
        QProcess::startDetached(reporter, {}, QDir::currentPath());
    return 0;
}
