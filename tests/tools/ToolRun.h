#pragma once

// velmora-tool and the programs beside it, run to their end as a script runs them.
#include "tests/support/TestFolder.h"
#include "tests/support/Waits.h"

#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <gtest/gtest.h>

struct ProgramRun
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
    QJsonObject Json() const { return QJsonDocument::fromJson(out).object(); }
};

// A program that does not end within two minutes (sanitized builds make puzzles slowly) fails the
// test and is killed; its run reads exit code -1.
inline ProgramRun RunProgram(const QString& program, const QStringList& args, const QString& folder = {},
                             const QProcessEnvironment& env = {})
{
    QProcess process;
    if (!folder.isEmpty())
        process.setWorkingDirectory(folder);
    if (!env.isEmpty())
        process.setProcessEnvironment(env);
    process.start(program, args);
    ProgramRun run;
    const QByteArray what = "the end of " + QFileInfo(program).fileName().toUtf8() + ' ' + args.join(QLatin1Char(' ')).toUtf8();
    if (const ::testing::AssertionResult finished = Finishes(process, what.constData(), std::chrono::minutes(2)); !finished) {
        ADD_FAILURE() << finished.message();
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

inline const QString kTool = QStringLiteral(VELMORA_GAME_DIR "/velmora-tool");

// velmora-tool in the test's folder.
inline ProgramRun Tool(const TestFolder& folder, const QStringList& args)
{
    return RunProgram(kTool, args, folder.Path());
}
