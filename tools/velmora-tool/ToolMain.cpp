#include "tools/velmora-tool/ToolCommand.h"

#include "shell/log/VersionText.h"

#include <QApplication>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {
std::vector<ToolCommand>& Registry()
{
    static std::vector<ToolCommand> commands;
    return commands;
}

void PrintUsage(FILE* out)
{
    std::fprintf(out, "velmora-tool %s\nusage: velmora-tool COMMAND [options]\n\ncommands:\n",
                 qPrintable(GP_VersionText()));
    QList<ToolCommand> commands = ToolCommands::All();
    std::sort(commands.begin(), commands.end(),
              [](const ToolCommand& a, const ToolCommand& b) { return qstrcmp(a.name, b.name) < 0; });
    for (const ToolCommand& command : commands)
        std::fprintf(out, "  %s\n", command.usage);
}
} // namespace

void ToolCommands::Add(const ToolCommand& command)
{
    Registry().push_back(command);
}

const ToolCommand* ToolCommands::Find(const QString& name)
{
    for (const ToolCommand& command : Registry()) {
        if (name == QLatin1String(command.name))
            return &command;
    }
    return nullptr;
}

QList<ToolCommand> ToolCommands::All()
{
    return QList<ToolCommand>(Registry().begin(), Registry().end());
}

QString ToolParseArguments(const QStringList& args, const QString& what, QString& file,
                           const ToolOptionHandler& onOption, const QStringList& flags)
{
    for (int i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        QString problem;
        if (!arg.startsWith(QLatin1Char('-'))) {
            if (!file.isEmpty())
                return QStringLiteral("more than one %1 given").arg(what);
            file = arg;
        } else if (flags.contains(arg)) {
            problem = onOption(arg, QString());
        } else if (i + 1 >= args.size()) {
            return QStringLiteral("%1 needs a value").arg(arg);
        } else {
            problem = onOption(arg, args[++i]);
        }
        if (!problem.isEmpty())
            return problem;
    }
    return QString();
}

int ToolFail(const QString& message)
{
    std::fprintf(stderr, "velmora-tool: %s\n", qPrintable(message));
    return 2;
}

int main(int argc, char** argv)
{
    // The tool draws into images only; without a display it runs on the offscreen platform.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")
        && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    QStringList args = app.arguments();
    args.removeFirst();
    if (args.isEmpty() || args.first() == QLatin1String("--help") || args.first() == QLatin1String("help")) {
        PrintUsage(stdout);
        return args.isEmpty() ? 1 : 0;
    }
    if (args.first() == QLatin1String("--version")) {
        std::printf("%s\n", qPrintable(GP_VersionText()));
        return 0;
    }
    const ToolCommand* command = ToolCommands::Find(args.first());
    if (!command) {
        PrintUsage(stderr);
        return ToolFail(QStringLiteral("unknown command \"%1\"").arg(args.first()));
    }
    args.removeFirst();
    return command->run(args);
}
