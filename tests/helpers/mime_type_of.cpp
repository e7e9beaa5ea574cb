// Started by the package test: prints the type the desktop's shared MIME database gives a file,
// by its name ("name"), its first bytes ("content") or both as a file manager does ("file").
#include <QCoreApplication>
#include <QMimeDatabase>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 3)
        return 2;
    const QString how = QString::fromLocal8Bit(argv[1]);
    const QString path = QString::fromLocal8Bit(argv[2]);
    const QMimeDatabase::MatchMode mode = how == QLatin1String("name")      ? QMimeDatabase::MatchExtension
                                          : how == QLatin1String("content") ? QMimeDatabase::MatchContent
                                                                            : QMimeDatabase::MatchDefault;
    std::printf("%s\n", qPrintable(QMimeDatabase().mimeTypeForFile(path, mode).name()));
    return 0;
}
