#pragma once

#include <QStringList>

#include <functional>

// One velmora-tool command. Commands register themselves with VELMORA_TOOL_COMMAND; the tool
// dispatches on the first argument. A command returns the process exit code.
struct ToolCommand
{
    const char* name;
    const char* usage;
    int (*run)(const QStringList& args); // args: the command's own arguments, without its name
};

class ToolCommands
{
public:
    static void Add(const ToolCommand& command);
    static const ToolCommand* Find(const QString& name);
    static QList<ToolCommand> All();
};

struct ToolCommandRegistrar
{
    explicit ToolCommandRegistrar(const ToolCommand& command) { ToolCommands::Add(command); }
};

#define VELMORA_TOOL_COMMAND(id, name, usage, fn) \
    static const ToolCommandRegistrar s_toolCommand_##id(ToolCommand{name, usage, fn})

// One clear line on stderr, for bad input; returns the exit code to use (2).
int ToolFail(const QString& message);

// Takes one option with its value (empty for a flag); answers an empty text or what is wrong.
using ToolOptionHandler = std::function<QString(const QString& option, const QString& value)>;

// Walks a command line of one positional file (called `what` in messages) and options, each
// followed by its value unless it is one of `flags`. Answers an empty text, or what is wrong.
QString ToolParseArguments(const QStringList& args, const QString& what, QString& file,
                           const ToolOptionHandler& onOption, const QStringList& flags = {});
