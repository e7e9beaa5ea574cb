#pragma once

#include <QDir>
#include <QFile>
#include <QProcessEnvironment>
#include <QString>

// The environment a test starts the game in: no display, a runtime folder of the test's own
// (so that copies started by tests running side by side never meet), and sanitizers that leave
// crashes to the game and do not turn the game's exit into a leak report.
inline QProcessEnvironment GameEnvironment(const QString& runtimeFolder)
{
    QDir().mkpath(runtimeFolder);
    QFile::setPermissions(runtimeFolder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeFolder);
    // Added to the test run's own options (its suppressions stay); later options win.
    const auto extend = [&env](const QString& name, const char* options) {
        const QString present = env.value(name);
        env.insert(name, present.isEmpty() ? QLatin1String(options) : present + QLatin1Char(':') + QLatin1String(options));
    };
    extend(QStringLiteral("ASAN_OPTIONS"), "handle_segv=0:handle_abort=0:detect_leaks=0");
    extend(QStringLiteral("TSAN_OPTIONS"), "handle_segv=0:handle_abort=0");
    env.remove(QStringLiteral("VELMORA_CRASH_TEST"));
    env.remove(QStringLiteral("VELMORA_TEST_ANSWER"));
    return env;
}

inline QString GameProgram()
{
    return QStringLiteral(VELMORA_GAME_DIR "/velmora");
}
