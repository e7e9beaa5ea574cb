// velmora-tool skin-dialog: the skin author's look at real windows. Shows a main window on the
// skin's default board with a caption band, a dialog holding every kind of skinned control and
// two of the skin's picture buttons, all wearing the given skin; writes the whole scene as a
// picture and, on a display, keeps it on screen for a while. --hover N puts the pointer's look on
// the control numbered N; --overlay NAME shows that help overlay over the dimmed scene.
#include "tools/velmora-tool/ToolCommand.h"

#include "resources/GP_Resources.h"
#include "shell/log/GP_LogFile.h"
#include "skin/Bitmap.h"
#include "skin/BmpButton.h"
#include "skin/LDialog.h"
#include "skin/Rectangle.h"
#include "skin/Skin.h"
#include "skin/SkinableButton.h"
#include "skin/SkinableCheckBox.h"
#include "skin/SkinableEdit.h"
#include "skin/SkinableProgressCtrl.h"
#include "skin/SkinableRadio.h"
#include "skin/SkinableSliderCtrl.h"
#include "skin/SkinableStatic.h"
#include "view/HelpOverlayWindow.h"
#include "view/model/BoardBackgrounds.h"
#include "view/model/GP_SettingsStore.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace {
constexpr QSize kMainSize(1000, 700);
constexpr int kMaxSeconds = 3600;
// The night blue behind the picture buttons' looks.
const QColor kBoard(0x11, 0x1A, 0x2E);
// Template numbers of the game's caption band and its game menu, and the button numbers of a
// screen tab and the "Make Your Own Puzzle" button.
constexpr int kCaptionTemplate = 1000;
constexpr int kMenuTemplate = 1003;
constexpr int kTabButton = 49304;
constexpr int kMakeButton = 49316;
// The game menu's controls, laid out below, take this much room.
constexpr QSize kMenuClient(340, 270);

struct DialogOptions
{
    QString file;
    QString png;
    int seconds = 0;
    int hover = 0;
    QString overlay;
};

QString ParseOptions(const QStringList& args, DialogOptions* options)
{
    const QString problem = ToolParseArguments(args, QStringLiteral("skin file"), options->file,
                                               [options](const QString& arg, const QString& value) {
        bool ok = true;
        if (arg == QLatin1String("--png"))
            options->png = value;
        else if (arg == QLatin1String("--show"))
            options->seconds = value.toInt(&ok);
        else if (arg == QLatin1String("--hover"))
            options->hover = value.toInt(&ok);
        else if (arg == QLatin1String("--overlay"))
            options->overlay = value;
        else
            return QStringLiteral("unknown option %1").arg(arg);
        if (!ok || options->seconds < 0 || options->seconds > kMaxSeconds)
            return QStringLiteral("--show takes 0 to %1 seconds").arg(kMaxSeconds);
        return QString();
    });
    if (!problem.isEmpty())
        return problem;
    if (options->file.isEmpty())
        return QStringLiteral("a skin file is needed");
    return {};
}

// The skin's number in the game's list of skins, by its file's name (Nox when unknown).
int SkinIndexOf(const QString& file)
{
    const QString name = QFileInfo(file).completeBaseName();
    return name == QLatin1String("Flower") ? 1 : name == QLatin1String("Gothic") ? 2 : 0;
}

// The main window: the board as the skin's defaults give it, and a help overlay over it at its
// own shape when one is asked for.
class MainWindow : public QWidget
{
public:
    MainWindow(const WINSKIN::Skin& skin, int skinIndex, const QString& overlay)
    {
        setWindowTitle(QStringLiteral("Velmora skin preview"));
        QList<QImage> textures;
        if (WINSKIN::Rectangle* patterns = skin.FindByName(QStringLiteral("Textures"))) {
            for (int i = 0; i < patterns->GetChildCount(); ++i) {
                const WINSKIN::Bitmap* bitmap = patterns->GetChild(i)->AsBitmap();
                textures << (bitmap ? bitmap->Picture() : QImage());
            }
        }
        m_board = CBoardBackgrounds::Build(CGP_SettingsStore::DefaultColor(skinIndex, GP_Table::Board),
                                           CBoardBackgrounds::TextureAt(textures, CGP_SettingsStore::DefaultTexture(skinIndex, GP_Table::Board)));
        if (!overlay.isEmpty())
            m_overlay = GP_LoadBitmap(overlay, devicePixelRatioF());
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), m_board.isNull() ? QBrush(kBoard) : QBrush(m_board));
        if (m_overlay.isNull())
            return;
        CHelpOverlayWindow::Paint(painter, rect(), rect(), m_overlay);
    }

private:
    QImage m_board;
    QImage m_overlay;
};

void BuildCaption(CLDialog& caption, int width)
{
    caption.setWindowTitle(QStringLiteral("Velmora"));
    caption.resize(width, 52);
    auto* minimise = new CSkinableButton(&caption, 1089);
    minimise->setGeometry(width - 80, 12, 28, 28);
    auto* close = new CSkinableButton(&caption, 1090);
    close->setGeometry(width - 44, 12, 28, 28);
}

void BuildMenu(CLDialog& menu)
{
    menu.setWindowTitle(QStringLiteral("Game Menu"));
    menu.resize(380, 340);
    auto* text = new CSkinableStatic(&menu, 1160);
    text->setText(QStringLiteral("Every control of the game, wearing the skin."));
    text->setWordWrap(true);
    text->setGeometry(0, 0, 340, 36);
    auto* name = new CSkinableEdit(&menu, 1100);
    name->setText(QStringLiteral("Autumn harbour"));
    name->setGeometry(0, 42, 340, 30);
    auto* rotation = new CSkinableCheckBox(&menu, 1101);
    rotation->setText(QStringLiteral("Rotate pieces"));
    rotation->setChecked(true);
    rotation->setGeometry(0, 80, 170, 26);
    auto* shadows = new CSkinableCheckBox(&menu, 1102);
    shadows->setText(QStringLiteral("Shadows"));
    shadows->setGeometry(170, 80, 170, 26);
    auto* small = new CSkinableRadio(&menu, 1103);
    small->setText(QStringLiteral("Small pieces"));
    small->setChecked(true);
    small->setGeometry(0, 110, 170, 26);
    auto* large = new CSkinableRadio(&menu, 1104);
    large->setText(QStringLiteral("Large pieces"));
    large->setGeometry(170, 110, 170, 26);
    auto* slider = new CSkinableSliderCtrl(&menu, 1105);
    slider->setRange(0, 100);
    slider->setValue(35);
    slider->setGeometry(0, 144, 340, 32);
    auto* progress = new CSkinableProgressCtrl(&menu, 1038);
    progress->setRange(0, 100);
    progress->setValue(60);
    progress->setGeometry(0, 184, 340, 22);
    auto* ok = new CSkinableButton(&menu, 1);
    ok->setText(QStringLiteral("OK"));
    ok->setDefault(true);
    ok->setGeometry(120, 236, 105, 34);
    auto* cancel = new CSkinableButton(&menu, 2);
    cancel->setText(QStringLiteral("Cancel"));
    cancel->setGeometry(235, 236, 105, 34);
}

// The scene as the screen shows it: the main window, then each panel through its shape.
QImage Compose(MainWindow& main, const QList<CLDialog*>& panels)
{
    QImage scene(main.size(), QImage::Format_ARGB32_Premultiplied);
    scene.fill(Qt::black);
    main.render(&scene);
    QPainter painter(&scene);
    for (CLDialog* panel : panels) {
        QImage look(panel->size(), QImage::Format_ARGB32_Premultiplied);
        look.fill(Qt::transparent);
        panel->render(&look, QPoint(), panel->mask().isEmpty() ? QRegion(panel->rect()) : panel->mask());
        painter.drawImage(panel->frameGeometry().topLeft() - main.geometry().topLeft(), look);
    }
    return scene;
}

int RunSkinDialog(const QStringList& args)
{
    DialogOptions options;
    const QString problem = ParseOptions(args, &options);
    if (!problem.isEmpty())
        return ToolFail(problem);
    if (!QFileInfo::exists(options.file))
        return ToolFail(QStringLiteral("no skin file %1").arg(options.file));

    QTemporaryDir logFolder;
    CGP_LogFile log(logFolder.filePath(QStringLiteral("Exception.log")));
    log.Open();
    g_pLogFile = &log;
    GP_InitResources();
    CLDialog::SetSoundOn(false);
    WINSKIN::Skin skin;
    WINSKIN::Skin::SetCurrent(&skin);
    if (!skin.Load(QDir::current().absoluteFilePath(options.file)))
        std::fprintf(stderr, "velmora-tool: the skin could not be read; windows keep their plain look\n");

    MainWindow main(skin, SkinIndexOf(options.file), options.overlay);
    // An overlay is shown over the whole screen, as the game shows it over its layout.
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize mainSize = !options.overlay.isEmpty() && screen ? screen->geometry().size() : kMainSize;
    main.setGeometry(QRect(QPoint(0, 0), mainSize));
    main.show();

    CLDialog caption(kCaptionTemplate, &main);
    BuildCaption(caption, mainSize.width());
    caption.Create();
    caption.move(main.geometry().topLeft());
    caption.show();

    CLDialog menu(kMenuTemplate, &main);
    BuildMenu(menu);
    menu.Create();
    // as large as its controls need inside the skin's frame, which gives the margins
    menu.ResizeClient(kMenuClient);
    menu.move(main.geometry().topLeft() + QPoint(300, 160));
    // A help overlay stands alone over the screen, as the game shows it.
    const bool alone = !options.overlay.isEmpty();
    if (!alone)
        menu.show();
    if (options.hover)
        if (auto* skinned = dynamic_cast<WINSKIN::SkinableBase*>(menu.Control(options.hover)))
            skinned->SetHovered(true);

    const CButtonLooks looks = CButtonLooks::ForSkin(&skin);
    auto* tab = new CBmpButton(&main, kTabButton);
    tab->LoadLooks(kTabButton, looks);
    tab->setGeometry(40, 90, 180, 44);
    auto* make = new CBmpButton(&main, kMakeButton);
    make->LoadLooks(kMakeButton, looks);
    make->setCheckable(true);
    make->setChecked(true);
    make->setGeometry(40, 150, 240, 46);
    tab->setVisible(!alone);
    make->setVisible(!alone);

    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 300)
        QApplication::processEvents(QEventLoop::AllEvents, 50);

    int status = 0;
    if (!options.png.isEmpty()) {
        if (Compose(main, {&caption, &menu}).save(options.png, "PNG"))
            std::printf("wrote %s\n", qPrintable(options.png));
        else
            status = ToolFail(QStringLiteral("cannot write %1").arg(options.png));
    }
    if (options.seconds > 0) {
        QTimer::singleShot(options.seconds * 1000, &main, [] { QApplication::quit(); });
        QApplication::exec();
    }
    g_pLogFile = nullptr;
    return status;
}
} // namespace

VELMORA_TOOL_COMMAND(skinDialog, "skin-dialog",
                     "skin-dialog SKINFILE [--png OUT] [--show SECONDS] [--hover CONTROL] [--overlay NAME]   "
                     "skinned windows with every control kind",
                     RunSkinDialog);
