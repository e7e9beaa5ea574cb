// velmora-tool skin: the skin author's preview. Renders one Object of a skin file into a
// transparent picture, answers a hit test and writes the Object's window shape as a black and
// white mask. Without --states the picture shows the whole window as the game draws it (frame,
// then client area); with --states exactly the items those words select.
#include "tools/velmora-tool/ToolCommand.h"

#include "shell/log/GP_LogFile.h"
#include "skin/Object.h"
#include "skin/Region.h"
#include "skin/Skin.h"
#include "skin/SkinValues.h"
#include "skin/SkinableBase.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <cstdio>

namespace {
constexpr int kMaxSide = 8192;

struct SkinOptions
{
    QString file;
    QString object;
    int id1 = 0;
    int id2 = 0;
    QSize size;
    QString states;
    bool statesGiven = false;
    QString text;
    QString png;
    QString region;
    bool hasHit = false;
    QPoint hit;
};

bool ReadInt(const QString& text, int* value)
{
    bool ok = false;
    *value = text.toInt(&ok);
    return ok;
}

bool ReadPair(const QString& text, QChar separator, int* a, int* b)
{
    const QStringList parts = text.split(separator);
    return parts.size() == 2 && ReadInt(parts[0], a) && ReadInt(parts[1], b);
}

// Empty on success, else what is wrong with the command line.
QString ParseOptions(const QStringList& args, SkinOptions* options)
{
    const QString problem = ToolParseArguments(args, QStringLiteral("skin file"), options->file,
                                               [options](const QString& arg, const QString& value) {
        int w = 0, h = 0;
        bool ok = true;
        if (arg == QLatin1String("--object"))
            options->object = value;
        else if (arg == QLatin1String("--id1"))
            ok = ReadInt(value, &options->id1);
        else if (arg == QLatin1String("--id2"))
            ok = ReadInt(value, &options->id2);
        else if (arg == QLatin1String("--size") && ReadPair(value, QLatin1Char('x'), &w, &h))
            options->size = QSize(w, h);
        else if (arg == QLatin1String("--states")) {
            options->states = value;
            options->statesGiven = true;
        }
        else if (arg == QLatin1String("--text"))
            options->text = value;
        else if (arg == QLatin1String("--png"))
            options->png = value;
        else if (arg == QLatin1String("--region"))
            options->region = value;
        else if (arg == QLatin1String("--hit") && ReadPair(value, QLatin1Char(','), &w, &h)) {
            options->hasHit = true;
            options->hit = QPoint(w, h);
        } else
            ok = false;
        return ok ? QString() : QStringLiteral("bad option %1 %2").arg(arg, value);
    });
    if (!problem.isEmpty())
        return problem;
    if (options->file.isEmpty() || options->object.isEmpty())
        return QStringLiteral("a skin file and --object are needed");
    if (options->size.width() < 1 || options->size.height() < 1 || options->size.width() > kMaxSide
        || options->size.height() > kMaxSide)
        return QStringLiteral("--size WxH is needed, each side 1 to %1").arg(kMaxSide);
    return {};
}

// What the skin engine wrote to the log while loading: missing pictures, fonts and the like.
void PrintLogLines(const QString& logPath)
{
    QFile file(logPath);
    if (!file.open(QIODevice::ReadOnly))
        return;
    for (const QByteArray& line : file.readAll().split('\n')) {
        const QByteArray trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith("---") || trimmed.startsWith("BEGIN SESSION")
            || trimmed.startsWith("END SESSION"))
            continue;
        std::fprintf(stderr, "skin: %s\n", trimmed.constData());
    }
}

QString HitName(int code)
{
    static const char* const kNames[] = {"HTERROR", "HTTRANSPARENT", "HTNOWHERE", "HTCLIENT", "HTCAPTION",
        "HTSYSMENU", "HTGROWBOX", "HTMENU", "HTHSCROLL", "HTVSCROLL", "HTREDUCE", "HTZOOM", "HTLEFT",
        "HTRIGHT", "HTTOP", "HTTOPLEFT", "HTTOPRIGHT", "HTBOTTOM", "HTBOTTOMLEFT", "HTBOTTOMRIGHT", "HTBORDER"};
    for (const char* name : kNames) {
        bool known = false;
        if (WINSKIN::HitTestCode(name, &known) == code && known)
            return QString::fromLatin1(name);
    }
    return QStringLiteral("no name");
}

int WriteRegion(WINSKIN::Object& object, const SkinOptions& options, const CGP_StringSet& states)
{
    const QRect window(QPoint(0, 0), options.size);
    std::optional<QRegion> shape;
    if (WINSKIN::Region* region = object.GetRegion())
        shape = region->Build(window, states);
    QImage mask(options.size, QImage::Format_RGB32);
    mask.fill(shape ? Qt::black : Qt::white);
    if (shape) {
        QPainter painter(&mask);
        for (const QRect& rect : *shape)
            painter.fillRect(rect, Qt::white);
    } else {
        std::printf("region: none, the window keeps its rectangle\n");
    }
    if (!mask.save(options.region, "PNG"))
        return ToolFail(QStringLiteral("cannot write %1").arg(options.region));
    if (shape)
        std::printf("region: %lld rectangles, bounds %d,%d %dx%d\n", static_cast<long long>(shape->rectCount()),
                    shape->boundingRect().x(), shape->boundingRect().y(), shape->boundingRect().width(),
                    shape->boundingRect().height());
    return 0;
}

int RunSkin(const QStringList& args)
{
    SkinOptions options;
    const QString problem = ParseOptions(args, &options);
    if (!problem.isEmpty())
        return ToolFail(problem);

    QTemporaryDir logFolder;
    CGP_LogFile log(logFolder.filePath(QStringLiteral("Exception.log")));
    log.Open();
    g_pLogFile = &log;
    WINSKIN::Skin skin;
    const bool loaded = skin.Load(QFileInfo(options.file).absoluteFilePath());
    g_pLogFile = nullptr;
    PrintLogLines(log.Path());
    if (!loaded)
        return ToolFail(QStringLiteral("cannot load the skin %1").arg(options.file));

    WINSKIN::Object* object = skin.FindObject(options.object, options.id1, options.id2);
    if (!object)
        return ToolFail(QStringLiteral("the skin has no Object \"%1\"").arg(options.object));
    std::printf("object: \"%s\" ID1 %d ID2 %d (%d items in the skin)\n", qPrintable(object->Name()), object->ID1(),
                object->ID2(), skin.GetCount());

    const CGP_StringSet states(options.states);
    const QRect window(QPoint(0, 0), options.size);
    if (!options.png.isEmpty()) {
        QImage image(options.size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter painter(&image);
            if (options.statesGiven)
                object->Draw(painter, window, states, options.text);
            else
                WINSKIN::SkinableBase::DrawWindow(*object, painter, window, states, options.text);
        }
        if (!image.save(options.png, "PNG"))
            return ToolFail(QStringLiteral("cannot write %1").arg(options.png));
    }
    if (options.hasHit) {
        const int code = object->HitTest(window, options.hit);
        std::printf("hit %d,%d: %d (%s)\n", options.hit.x(), options.hit.y(), code, qPrintable(HitName(code)));
    }
    if (!options.region.isEmpty())
        return WriteRegion(*object, options, states);
    return 0;
}
} // namespace

VELMORA_TOOL_COMMAND(skin, "skin",
                     "skin FILE.skn --object NAME [--id1 N --id2 N] --size WxH [--states \"W1 W2\"] [--text T] "
                     "[--png OUT] [--hit X,Y] [--region OUT.png]   (no --states: the whole window)",
                     RunSkin);
