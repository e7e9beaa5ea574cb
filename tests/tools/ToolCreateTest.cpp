// velmora-tool create, run as the program it is, against an application folder of its own.
#include "tests/tools/ToolRun.h"

#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {
ProgramRun Create(const TestFolder& app, const QString& picture, const QStringList& options)
{
    return RunProgram(kTool, QStringList{QStringLiteral("create"), picture, QStringLiteral("--app"), app.Path()} + options);
}

QString Picture(const TestFolder& folder, const char* name, int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(QColor(200, 120, 40));
    const QString path = folder.File(QString::fromLatin1(name));
    image.save(path);
    return path;
}

QString Compact(const QJsonValue& value)
{
    return QString::fromUtf8(QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact));
}
} // namespace

TEST(ToolCreate, AnswersAsTheCreationScreensDoAndMakesIntoTheLibrary)
{
    TestFolder app;
    TestFolder pictures;
    const QString wide = Picture(pictures, "Bay.png", 1000, 500);
    const QString thin = Picture(pictures, "Thin.png", 40, 300);
    const struct { QString picture; QStringList options; int exitCode; const char* answer; } rows[] = {
        {wide, {}, 0, R"([true,null,[97,1000],[24,125],32,null])"},
        {wide, {"--width", "500", "--piece-size", "50", "--pattern", "5", "--curvature", "250", "--rotate", "--name",
                "Bay", "--author", "Ada"}, 0, R"([true,null,[97,1000],[24,62],50,"Puzzles/simple/Bay.pzl"])"},
        {wide, {"--name", "Bay"}, 1, R"([false,190,[97,1000],[24,125],32,null])"},
        {wide, {"--name", "../Bay"}, 1, R"([false,251,[97,1000],[24,125],32,null])"},
        {wide, {"--name", "2009-09-01"}, 1, R"([false,250,[97,1000],[24,125],32,null])"},
        {thin, {"--field", "1280x398"}, 0, R"([true,null,[48,48],[12,12],120,null])"},
        {thin, {"--field", "1280x397"}, 1, R"([false,195,null,null,null,null])"},
    };
    const QStringList keys{"accepted", "message", "imageWidthRange", "pieceSizeRange", "pieces", "file"};
    for (const auto& row : rows) {
        SCOPED_TRACE(qPrintable(row.options.join(' ')));
        const ProgramRun run = Create(app, row.picture, row.options);
        EXPECT_EQ(run.exitCode, row.exitCode) << run.err.constData();
        // The keys in their order, then the values.
        QStringList found;
        for (const QRegularExpressionMatch& key : QRegularExpression(QStringLiteral("\"(\\w+)\":")).globalMatch(QString::fromUtf8(run.out)))
            found << key.captured(1);
        EXPECT_EQ(found, keys) << run.out.constData();
        const QJsonObject json = QJsonDocument::fromJson(run.out).object();
        QJsonArray values;
        for (const QString& key : keys)
            values.append(json.value(key));
        EXPECT_EQ(Compact(values), QString::fromLatin1("[") + row.answer + "]");
    }
    QStringList files;
    QDirIterator it(app.Path(), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next().mid(app.Path().size() + 1);
    EXPECT_EQ(files, QStringList{QStringLiteral("Puzzles/simple/Bay.pzl")});

    EXPECT_EQ(Create(app, wide, {QStringLiteral("--pattern"), QStringLiteral("16")}).exitCode, 2);
    EXPECT_EQ(Create(app, wide, {QStringLiteral("--field"), QStringLiteral("wide")}).exitCode, 2);
}
