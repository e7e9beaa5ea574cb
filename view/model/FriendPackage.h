#pragma once

#include <QString>
#include <QStringList>

#include <memory>

class QProcess;
class QTemporaryDir;

// "Send to friend": the chosen puzzles, as fresh unsolved copies, packed by the installer
// compiler (makensis) into one self-installing program that puts them into a friend's library.
// The steps are separate so that the view can keep its window alive while the compiler runs
// (the wait dialog) and ask where to save; velmora-tool runs them one after the other.
class CFriendPackage
{
public:
    // The package is "Puzzles.exe".
    static constexpr char kPackageName[] = "Puzzles";
    static constexpr char kScript[] = "Tavrel.nsi";
    static constexpr char kSaveFilter[] = "Executable puzzle (*.exe)";
    static constexpr char kSaveExtension[] = "exe";

    enum class Failure {
        None,
        NothingSelected, // 198
        UnknownName,     // a name with no puzzle file
        CopyFailed,      // 191: a copy could not be written
        NoCompiler,      // makensis is neither in DATA nor on the PATH
        NotBuilt,        // 229: no package came out
        SaveFailed,      // 191: the package could not be written where the player chose
    };

    // buildFolder: where the compiler writes the package (the system's temporary folder).
    explicit CFriendPackage(QString buildFolder = QString());
    ~CFriendPackage();

    // Deletes every "*.pzl" in "TEMP".
    static void ClearPuzzleTEMP();
    // The installer compiler: "DATA/makensis" when shipped there, else the one on the PATH;
    // empty when there is none.
    static QString FindCompiler();
    // The player's documents folder, where the save dialog starts.
    static QString DefaultSaveFolder();
    // The puzzle file as a fresh, unsolved puzzle at target: the same picture and cut, no
    // pieces, no time, no hints.
    static bool MakeUnsolvedCopy(const QString& source, const QString& target);

    // NothingSelected, or UnknownName (with the name in detail) for a name without a puzzle file.
    static Failure CheckNames(const QStringList& names, bool fromCalendar, QString* detail = nullptr);
    // Clears "TEMP", checks every name and copies each puzzle there unsolved. detail names the
    // puzzle that failed.
    Failure Prepare(const QStringList& names, bool fromCalendar, QString* detail = nullptr);
    // MakeInstall: starts the compiler on the copies; null (and NoCompiler or NotBuilt in
    // failure) when it cannot be started. The caller waits for the process to end.
    std::unique_ptr<QProcess> StartMakeInstall(Failure* failure);
    // After the compiler ended: whether the package came out.
    Failure CheckBuilt(QProcess& process) const;
    // SaveSendPuzzleFile: puts the package at target (replacing a file there) and removes it
    // from the build folder; the copies in "TEMP" go too, also when the package could not be
    // written (nothing offers to save it again).
    Failure SaveSendPuzzleFile(const QString& target);
    // The package goes from the build folder with the copies in "TEMP": the player chose not
    // to save it.
    void Discard() const;

    // Everything above without a window: the named puzzles into a package at target.
    Failure Send(const QStringList& names, bool fromCalendar, const QString& target, QString* detail = nullptr);

    QString BuiltFile() const;
    QStringList CompilerArguments() const;

private:
    // Without a folder given, each package is built in a folder of its own, so two sends at
    // once (the game and velmora-tool) never take each other's package.
    std::unique_ptr<QTemporaryDir> m_pOwnFolder;
    QString m_buildFolder;
};
