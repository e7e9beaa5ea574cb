#include "tests/support/FriendPackageReader.h"

#include <QDirIterator>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

QStringList UnpackedPuzzleFiles(const QString& package, const QString& into)
{
    QFile file(package);
    if (!file.open(QIODevice::ReadOnly) || file.read(2) != "MZ") {
        ADD_FAILURE() << qPrintable(package) << " is not a Windows program";
        return {};
    }
    QProcess sevenZip;
    sevenZip.setProcessChannelMode(QProcess::MergedChannels);
    sevenZip.start(QStringLiteral("7z"), {QStringLiteral("x"), QStringLiteral("-y"), QStringLiteral("-o") + into, package});
    if (!sevenZip.waitForFinished(60000) || sevenZip.exitStatus() != QProcess::NormalExit || sevenZip.exitCode() != 0) {
        ADD_FAILURE() << "7-Zip cannot unpack " << qPrintable(package) << ": " << sevenZip.readAll().constData();
        sevenZip.kill();
        return {};
    }
    QStringList files;
    for (QDirIterator it(into, {QStringLiteral("*.pzl")}, QDir::Files, QDirIterator::Subdirectories); it.hasNext();)
        files << it.next().mid(into.size() + 1);
    files.sort();
    return files;
}
