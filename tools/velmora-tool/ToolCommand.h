#pragma once

#include <QStringList>

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
