#include "view/model/FriendPackage.h"

#include "engine/GP_Folders.h"
#include "engine/GP_Puzzle.h"
#include "engine/GP_PuzzleFile.h"
#include "shell/log/GP_Exeption.h"
#include "shell/log/GP_LogFile.h"
#include "view/model/PuzzleLibrary.h"
#include "view/model/PuzzlePaths.h"

#include <QBuffer>
#include <QDir>
#include <QTemporaryDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <cstring>

namespace {
constexpr char kCompiler[] = "makensis";
// The compiler of this platform takes its options with "-" ("/" would name a script).
constexpr char kDefine[] = "-D";
// The script's switches: texts from TEXT_DIR, the Nox look, the package of sent puzzles.
constexpr const char* kSwitches[] = {"ttt", "Nox", "SEND"};
// Lines of the compiler's output kept in the log when no package came out.
constexpr int kOutputLinesLogged = 8;

QString LogSafe(QString text)
{
    return text.replace(QLatin1Char('%'), QStringLiteral("%%"));
}

QString Define(const char* name, const QString& value = QString())
{
    QString define = QLatin1String(kDefine) + QLatin1String(name);
    if (!value.isNull())
        define += QLatin1Char('=') + value;
    return define;
}

QString LastLines(const QByteArray& output)
{
    const QStringList lines = QString::fromLocal8Bit(output).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    return lines.mid(std::max<qsizetype>(0, lines.size() - kOutputLinesLogged)).join(QStringLiteral(" | "));
}
} // namespace

CFriendPackage::CFriendPackage(QString buildFolder)
    : m_buildFolder(std::move(buildFolder))
{
    if (!m_buildFolder.isEmpty())
        return;
    m_pOwnFolder = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/velmora-send-XXXXXX"));
    if (m_pOwnFolder->isValid()) {
        m_buildFolder = m_pOwnFolder->path();
        return;
    }
    GP_Log(QStringLiteral("CFriendPackage: no folder of its own in %1; the package is built there\n")
               .arg(LogSafe(QDir::tempPath())));
    m_buildFolder = QDir::tempPath();
}

CFriendPackage::~CFriendPackage() = default;

void CFriendPackage::ClearPuzzleTEMP()
{
    QDir temp(GP_FolderPath(GP_Folder::Temp));
    const QStringList copies = temp.entryList({QStringLiteral("*") + QLatin1String(GP_PuzzlePaths::kPuzzleExtension)},
                                              QDir::Files | QDir::Hidden | QDir::CaseSensitive);
    for (const QString& copy : copies)
        QFile::remove(GP_FilePath(GP_Folder::Temp, copy));
}

QString CFriendPackage::FindCompiler()
{
    const QString shipped = GP_FilePath(GP_Folder::Data, QLatin1String(kCompiler));
    const QFileInfo info(shipped);
    if (info.isFile() && info.isExecutable())
        return shipped;
    return QStandardPaths::findExecutable(QLatin1String(kCompiler));
}

QString CFriendPackage::DefaultSaveFolder()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QDir(documents).exists())
        return documents;
    return QDir::homePath();
}

QString CFriendPackage::BuiltFile() const
{
    return m_buildFolder + QLatin1Char('/') + QLatin1String(kPackageName) + QStringLiteral(".exe");
}

QStringList CFriendPackage::CompilerArguments() const
{
    QStringList arguments;
    for (const char* name : kSwitches)
        arguments.append(Define(name));
    arguments.append(Define("OUT_FILE", BuiltFile()));
    arguments.append(Define("SRC_DIR", GP_AppFolder()));
    arguments.append(Define("TEXT_DIR", GP_FolderPath(GP_Folder::Data)));
    arguments.append(QLatin1String(kScript));
    return arguments;
}

bool CFriendPackage::MakeUnsolvedCopy(const QString& source, const QString& target)
{
    QFile file(source);
    if (!file.open(QIODevice::ReadOnly)) {
        GP_Log(QStringLiteral("CFriendPackage: cannot open %1\n").arg(LogSafe(source)));
        return false;
    }
    QByteArray bytes = file.readAll();
    file.close();
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadWrite);
    GP_PuzzleFile::Header header;
    CGP_Puzzle copy;
    bool read = false;
    try {
        read = bytes.size() >= GP_PuzzleFile::kHeaderSize
            && std::memcmp(bytes.constData() + 1, GP_PuzzleFile::kMagic + 1, 3) == 0
            && GP_PuzzleFile::ReadCheckedHeader(buffer, header, "MakeUnsolvedCopy") && copy.ReadSettings(buffer);
    } catch (const CGP_Exeption& error) {
        GP_Log(QStringLiteral("CFriendPackage: %1: %2\n").arg(LogSafe(source), QLatin1String(error.Message())));
    }
    if (!read) {
        GP_Log(QStringLiteral("CFriendPackage: %1 is not a puzzle that can be sent\n").arg(LogSafe(source)));
        return false;
    }
    // A fresh puzzle: no pieces block after the picture, and nothing played.
    buffer.close();
    bytes.truncate(int64_t(header.pictureOffset) + header.pictureSize);
    buffer.open(QIODevice::ReadWrite);
    copy.m_bFresh = true;
    copy.m_bSolved = false;
    copy.m_nSolvingTime = 0;
    copy.m_fSolvedPercent = 0;
    copy.m_nHintsUsed = 0;
    copy.m_nSolveYear = copy.m_nSolveMonth = copy.m_nSolveDay = 0;
    if (!copy.WriteSettings(buffer))
        return false;
    buffer.close();
    QDir().mkpath(QFileInfo(target).absolutePath());
    return GP_ReplaceFile(target, bytes);
}

CFriendPackage::Failure CFriendPackage::CheckNames(const QStringList& names, bool fromCalendar, QString* detail)
{
    if (names.isEmpty())
        return Failure::NothingSelected;
    for (const QString& name : names) {
        const QString source = GP_PuzzlePaths::PuzzleFile(name, fromCalendar);
        if (source.isEmpty() || !QFileInfo(source).isFile()) {
            if (detail)
                *detail = name;
            return Failure::UnknownName;
        }
    }
    return Failure::None;
}

CFriendPackage::Failure CFriendPackage::Prepare(const QStringList& names, bool fromCalendar, QString* detail)
{
    ClearPuzzleTEMP();
    const Failure failure = CheckNames(names, fromCalendar, detail);
    if (failure != Failure::None)
        return failure;
    for (const QString& name : names) {
        if (!MakeUnsolvedCopy(GP_PuzzlePaths::PuzzleFile(name, fromCalendar), GP_PuzzlePaths::PackingCopy(name))) {
            GP_LOG_DISK_FULL();
            if (detail)
                *detail = name;
            ClearPuzzleTEMP();
            return Failure::CopyFailed;
        }
    }
    return Failure::None;
}

std::unique_ptr<QProcess> CFriendPackage::StartMakeInstall(Failure* failure)
{
    const QString compiler = FindCompiler();
    if (compiler.isEmpty()) {
        GP_Log(QStringLiteral("MakeInstall: no %1 in DATA or on the PATH\n").arg(QLatin1String(kCompiler)));
        *failure = Failure::NoCompiler;
        return nullptr;
    }
    // An old package would pass for a new one if this run made none.
    QFile::remove(BuiltFile());
    const QStringList arguments = CompilerArguments();
    GP_Log(QStringLiteral("MakeInstall: %1 %2\n").arg(LogSafe(compiler), LogSafe(arguments.join(QLatin1Char(' ')))));
    auto process = std::make_unique<QProcess>();
    process->setWorkingDirectory(GP_FolderPath(GP_Folder::Data));
    process->setProcessChannelMode(QProcess::MergedChannels);
    process->setStandardInputFile(QProcess::nullDevice());
    process->start(compiler, arguments);
    if (!process->waitForStarted()) {
        GP_Log(QStringLiteral("MakeInstall: %1 did not start: %2\n").arg(LogSafe(compiler), LogSafe(process->errorString())));
        *failure = Failure::NotBuilt;
        return nullptr;
    }
    *failure = Failure::None;
    return process;
}

CFriendPackage::Failure CFriendPackage::CheckBuilt(QProcess& process) const
{
    const bool succeeded = process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    QFile built(BuiltFile());
    if (succeeded && built.open(QIODevice::ReadOnly) && built.size() > 0)
        return Failure::None;
    GP_Log(QStringLiteral("MakeInstall: no package (exit code %1): %2\n")
               .arg(process.exitCode())
               .arg(LogSafe(LastLines(process.readAll()))));
    QFile::remove(BuiltFile());
    return Failure::NotBuilt;
}

CFriendPackage::Failure CFriendPackage::SaveSendPuzzleFile(const QString& target)
{
    QFile built(BuiltFile());
    if (!built.open(QIODevice::ReadOnly)) {
        GP_Log(QStringLiteral("SaveSendPuzzleFile: cannot open %1\n").arg(LogSafe(BuiltFile())));
        return Failure::NotBuilt;
    }
    const QByteArray bytes = built.readAll();
    built.close();
    // The package leaves the build folder only once it is safe at its new place.
    if (!GP_ReplaceFile(target, bytes)) {
        GP_LOG_DISK_FULL();
        Discard();
        return Failure::SaveFailed;
    }
    Discard();
    return Failure::None;
}

void CFriendPackage::Discard() const
{
    QFile::remove(BuiltFile());
    ClearPuzzleTEMP();
}

CFriendPackage::Failure CFriendPackage::Send(const QStringList& names, bool fromCalendar, const QString& target,
                                             QString* detail)
{
    ClearPuzzleTEMP();
    Failure failure = CheckNames(names, fromCalendar, detail);
    if (failure != Failure::None)
        return failure;
    // Without a compiler no copy is worth making.
    if (FindCompiler().isEmpty())
        return Failure::NoCompiler;
    failure = Prepare(names, fromCalendar, detail);
    if (failure != Failure::None)
        return failure;
    const std::unique_ptr<QProcess> process = StartMakeInstall(&failure);
    if (process) {
        process->waitForFinished(-1);
        failure = CheckBuilt(*process);
    }
    if (failure != Failure::None) {
        ClearPuzzleTEMP();
        return failure;
    }
    return SaveSendPuzzleFile(target);
}
