#pragma once

#include <QString>
#include <QTemporaryDir>

// A private folder for one test, removed afterwards; also the application folder while it lives.
class TestFolder
{
public:
    TestFolder();
    ~TestFolder();

    QString Path() const { return m_dir.path(); }
    QString File(const QString& name) const { return m_dir.filePath(name); }

    // Writes bytes to a file in the folder (creating sub-folders); returns its path.
    QString Write(const QString& name, const QByteArray& bytes) const;
    QByteArray Read(const QString& name) const;

private:
    QTemporaryDir m_dir;
    QString m_previousAppFolder;
};

// A file shipped with the sources (tests/..., resources/...), by its path below the source root.
QString SourceFile(const QString& relativePath);
