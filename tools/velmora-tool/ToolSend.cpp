// velmora-tool send: "Send to friend" without a window. The named puzzles of the application
// folder's library become fresh copies packed by the installer compiler into one
// self-installing program, saved where -o says.
#include "tools/velmora-tool/ToolCommand.h"
#include "tools/velmora-tool/ToolPuzzleFile.h"

#include "engine/GP_Folders.h"
#include "resources/StringTable.h"
#include "view/model/FriendPackage.h"

#include <QDir>
#include <QFileInfo>

#include <cstdio>

namespace {
struct SendOptions
{
    QString app;
    QString out;
    QStringList names;
};

QString ParseSendOptions(const QStringList& args, SendOptions& options)
{
    for (int i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (arg == QLatin1String("--app") || arg == QLatin1String("-o")) {
            if (i + 1 >= args.size())
                return QStringLiteral("%1 needs a value").arg(arg);
            (arg == QLatin1String("-o") ? options.out : options.app) = args[++i];
        } else if (arg.startsWith(QLatin1Char('-'))) {
            return QStringLiteral("unknown option %1").arg(arg);
        } else {
            options.names.append(arg);
        }
    }
    if (options.app.isEmpty())
        return QStringLiteral("no application folder given (--app DIR)");
    if (!QFileInfo(options.app).isDir())
        return QStringLiteral("%1 is not a folder").arg(options.app);
    if (options.out.isEmpty())
        return QStringLiteral("no package file given (-o OUT.exe)");
    if (options.names.isEmpty())
        return QStringLiteral("no puzzle named");
    return {};
}

QString FailureText(CFriendPackage::Failure failure, const QString& detail, const toolpuzzle::CapturedLog& log)
{
    switch (failure) {
    case CFriendPackage::Failure::None:
        return {};
    case CFriendPackage::Failure::NothingSelected:
        return GP_LoadString(IDS_NONE_SELECTED);
    case CFriendPackage::Failure::UnknownName:
        return QStringLiteral("no puzzle named \"%1\" in %2").arg(detail, GP_FolderPath(GP_Folder::PuzzlesSimple));
    case CFriendPackage::Failure::CopyFailed:
        return QStringLiteral("cannot copy \"%1\": %2").arg(detail, log.LastLine());
    case CFriendPackage::Failure::NoCompiler:
        return QStringLiteral("no makensis in %1 or on the PATH (Debian's nsis package)").arg(GP_FolderPath(GP_Folder::Data));
    case CFriendPackage::Failure::NotBuilt:
        return QStringLiteral("%1 %2").arg(GP_LoadString(IDS_CANNOT_CREATE_FILE), log.LastLine());
    case CFriendPackage::Failure::SaveFailed:
        return QStringLiteral("%1 %2").arg(GP_LoadString(IDS_DISK_FULL), log.LastLine());
    }
    return {};
}

int RunSend(const QStringList& args)
{
    SendOptions options;
    const QString problem = ParseSendOptions(args, options);
    if (!problem.isEmpty())
        return ToolFail(QStringLiteral("send: %1").arg(problem));
    // The package's path is taken before the application folder changes what "here" means.
    const QString out = QFileInfo(options.out).absoluteFilePath();
    GP_SetAppFolder(options.app);
    toolpuzzle::CapturedLog log;
    CFriendPackage package;
    QString detail;
    const CFriendPackage::Failure failure = package.Send(options.names, false, out, &detail);
    if (failure != CFriendPackage::Failure::None)
        return ToolFail(QStringLiteral("send: %1").arg(FailureText(failure, detail, log).trimmed()));
    std::printf("%s: %d puzzles\n", qPrintable(QDir::toNativeSeparators(out)), int(options.names.size()));
    return 0;
}
} // namespace

VELMORA_TOOL_COMMAND(send, "send", "send --app DIR NAME... -o OUT.exe", RunSend);
