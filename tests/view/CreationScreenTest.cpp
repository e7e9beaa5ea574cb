// The creation panels over a stand-in view, wearing the game's skin: the file dialog, both
// steps with their controls by number, the name dialog's retries, "Make" and "Back".
#include "view/CreationScreen.h"

#include "engine/GP_Path.h"
#include "engine/GP_Puzzle.h"
#include "resources/StringTable.h"
#include "shell/dialogs/MessageBoxDialog.h"
#include "shell/dialogs/ModalRunner.h"
#include "skin/Skin.h"
#include "skin/SkinableBase.h"
#include "skin/SkinableButton.h"
#include "skin/SkinableCheckBox.h"
#include "skin/SkinableRadio.h"
#include "skin/SkinableSliderCtrl.h"
#include "skin/SkinableStatic.h"
#include "tests/support/SettingsTestSupport.h"
#include "view/CreateImageDialog.h"
#include "view/CreatePrimaryDialog.h"
#include "view/PuzzleNameDialog.h"
#include "view/model/GP_SettingsStore.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QImage>
#include <QPainter>

namespace {

const CGP_Path* Patterns()
{
    static CGP_Path patterns[kPatternCount];
    static const int loaded = LoadPatterns(patterns, SourceFile(QStringLiteral("resources/game/PATTERNS")));
    (void)loaded;
    return patterns;
}

class GameSkin
{
public:
    GameSkin() : m_previous(WINSKIN::Skin::Current())
    {
        EXPECT_TRUE(m_skin.Load(SourceFile(QStringLiteral("resources/game/SKINS Nox/Advanced.skn"))));
        WINSKIN::Skin::SetCurrent(&m_skin);
    }
    ~GameSkin() { WINSKIN::Skin::SetCurrent(m_previous); }

private:
    WINSKIN::Skin m_skin;
    WINSKIN::Skin* m_previous;
};

// Answers the file dialog with a picture and the name dialog with the names in turn.
struct Player
{
    QString picture;
    QStringList names;
    QStringList fileFilters;
    QString startFolder;
    bool sendShown = true;
    GP_ModalRunner previous;

    Player() : previous(GP_SetModalRunner([this](QDialog& dialog) { return Answer(dialog); })) {}
    ~Player() { GP_SetModalRunner(previous); }

    int Answer(QDialog& dialog)
    {
        if (auto* files = qobject_cast<QFileDialog*>(&dialog)) {
            fileFilters = files->nameFilters();
            startFolder = files->directory().absolutePath();
            if (picture.isEmpty())
                return QDialog::Rejected;
            files->selectFile(picture);
            return QDialog::Accepted;
        }
        auto* name = dynamic_cast<CPuzzleNameDialog*>(&dialog);
        if (!name || names.isEmpty())
            return IDCANCEL;
        name->Create();
        sendShown = name->Control(CPuzzleNameDialog::kSendToFriend)->isVisibleTo(name);
        name->ControlAs<QLineEdit>(CPuzzleNameDialog::kName)->setText(names.takeFirst());
        return IDOK;
    }
};

struct Screen
{
    TestFolder folder;
    CapturedLog log{folder};
    GameSkin skin;
    QWidget view;
    GP_ViewSettings settings;
    QList<GameMode> modes;
    QList<int> messages;
    QStringList made;
    CCreationScreen screen{&view, Patterns(), settings, Host()};

    Screen()
    {
        view.resize(1280, 800);
        view.show();
    }

    CCreationScreen::Host Host()
    {
        CCreationScreen::Host host;
        host.changeMode = [this](GameMode mode) { modes << mode; };
        host.fieldRect = [] { return QRect(0, 50, 1280, 750); };
        host.showMessage = [this](int message, unsigned) { messages << message; };
        host.puzzleMade = [this](const boost::shared_ptr<CGP_Puzzle>&, const QString& file, bool added) {
            made << QDir(folder.Path()).relativeFilePath(file) + (added ? " added" : " changed");
        };
        return host;
    }

    QString Picture(int w, int h)
    {
        QImage image(w, h, QImage::Format_RGB32);
        image.fill(QColor(30, 90, 160));
        const QString path = folder.File(QStringLiteral("pictures/Bay.view.png"));
        QDir().mkpath(folder.File(QStringLiteral("pictures")));
        image.save(path);
        return path;
    }
};

template <typename T>
T* ControlOf(const CLDialog* dialog, int id)
{
    QWidget* control = dialog->Control(id);
    EXPECT_TRUE(dynamic_cast<T*>(control)) << "control " << id;
    // Every control wears the skin's look of its kind.
    const auto* skinned = dynamic_cast<const WINSKIN::SkinableBase*>(control);
    EXPECT_TRUE(skinned && skinned->GetObject()) << "control " << id;
    return dynamic_cast<T*>(control);
}

void Click(const CLDialog* dialog, int id)
{
    ControlOf<QAbstractButton>(dialog, id)->click();
}

} // namespace

TEST(CreationScreen, BothStepsShowTheirControlsAndMakeWritesThePuzzle)
{
    Screen s;
    Player player;
    const QString working = QDir::currentPath();
    player.picture = s.Picture(1000, 500);
    s.settings.OpenPath = s.folder.Path() + QStringLiteral("/");

    s.screen.OnMainCreate();
    ASSERT_TRUE(s.screen.ShowImageStep());
    EXPECT_EQ(player.fileFilters.size(), 6);
    EXPECT_EQ(player.fileFilters.value(0), QStringLiteral("All supported formats (*.JPEG *.JPG *.GIF *.BMP *.PNG)"));
    EXPECT_EQ(player.fileFilters.value(5), QStringLiteral("All files (*.*)"));
    EXPECT_EQ(player.startFolder, s.folder.Path());
    EXPECT_EQ(s.settings.OpenPath, s.folder.File(QStringLiteral("pictures/")));
    EXPECT_EQ(QDir::currentPath(), working);

    const CCreateImageDialog* image = s.screen.ImageDialog();
    const CCreatePrimaryDialog* cutting = s.screen.PrimaryDialog();
    ASSERT_TRUE(image && cutting);
    EXPECT_TRUE(image->isVisible() && cutting->isVisible());
    EXPECT_EQ(image->windowTitle(), QStringLiteral("Image"));
    EXPECT_EQ(cutting->windowTitle(), QStringLiteral("Cutting"));
    for (const CLDialog* panel : {static_cast<const CLDialog*>(image), static_cast<const CLDialog*>(cutting)})
        EXPECT_TRUE(panel->GetObject());

    auto* width = ControlOf<CSkinableSliderCtrl>(image, CCreateImageDialog::kImageSize);
    for (int id : {CCreateImageDialog::kChangeImage, CCreateImageDialog::kSmaller, CCreateImageDialog::kLarger,
                   CCreateImageDialog::kResetSize})
        ControlOf<CSkinableButton>(image, id);
    EXPECT_EQ(std::make_pair(width->minimum(), width->maximum()), std::make_pair(97, 1000));
    EXPECT_EQ(width->value(), 1000);

    auto* pieceSize = ControlOf<CSkinableSliderCtrl>(cutting, CCreatePrimaryDialog::kPieceSize);
    auto* curvature = ControlOf<CSkinableSliderCtrl>(cutting, CCreatePrimaryDialog::kCurvature);
    for (int id : {CCreatePrimaryDialog::kPieceSmaller, CCreatePrimaryDialog::kPieceLarger, CCreatePrimaryDialog::kCurvatureLess,
                   CCreatePrimaryDialog::kCurvatureMore, CCreatePrimaryDialog::kMake, CCreatePrimaryDialog::kBack})
        ControlOf<CSkinableButton>(cutting, id);
    auto* rotation = ControlOf<CSkinableCheckBox>(cutting, CCreatePrimaryDialog::kRotation);
    auto* pieces = ControlOf<CSkinableStatic>(cutting, CCreatePrimaryDialog::kPiecesText);
    QList<bool> checked;
    for (int id : CCreatePrimaryDialog::kPatternButtons)
        checked << ControlOf<CSkinableRadio>(cutting, id)->isChecked();
    EXPECT_EQ(checked.indexOf(true), 0);
    EXPECT_EQ(checked.count(true), 1);
    EXPECT_EQ(std::make_pair(pieceSize->minimum(), pieceSize->maximum()), std::make_pair(24, 125));
    EXPECT_EQ(pieceSize->value(), 125);
    EXPECT_EQ(std::make_pair(curvature->maximum(), curvature->value()), std::make_pair(1000, 10));
    EXPECT_FALSE(rotation->isChecked());
    EXPECT_EQ(pieces->text(), QStringLiteral("Pieces: 32"));

    // Each control forwards to the creation, and step 2 follows a smaller picture.
    Click(image, CCreateImageDialog::kSmaller);
    EXPECT_EQ(s.screen.Session()->ImageWidth(), 999);
    width->setValue(500);
    EXPECT_EQ(pieceSize->maximum(), 62);
    Click(image, CCreateImageDialog::kResetSize);
    EXPECT_EQ(s.screen.Session()->ImageWidth(), 1000);
    pieceSize->setValue(50);
    EXPECT_EQ(pieces->text(), QStringLiteral("Pieces: 200"));
    Click(cutting, CCreatePrimaryDialog::kCurvatureMore);
    EXPECT_EQ(s.screen.Session()->CurvaturePosition(), 11);
    Click(cutting, CCreatePrimaryDialog::kPatternButtons[15]);
    EXPECT_EQ(s.screen.Session()->PatternIndex(), 15);
    Click(cutting, CCreatePrimaryDialog::kRotation);
    // The preview shows the picture with the cut over it.
    QImage painted(1280, 800, QImage::Format_RGB32);
    painted.fill(Qt::black);
    {
        QPainter painter(&painted);
        s.screen.Paint(painter, QRect(0, 50, 1280, 750));
    }
    // In the middle of the field: 1000 x 500 from (140, 175); the frame of the cut is its edge.
    int picture = 0, lines = 0, misplaced = 0;
    for (int y = 0; y < painted.height(); ++y) {
        for (int x = 0; x < painted.width(); ++x) {
            const QRgb pixel = painted.pixel(x, y);
            const bool inside = QRect(140, 175, 1000, 500).contains(x, y);
            misplaced += (pixel == qRgb(0, 0, 0)) != !inside;
            picture += pixel == qRgb(30, 90, 160);
            lines += pixel == qRgb(255, 255, 255);
        }
    }
    EXPECT_EQ(misplaced, 0);
    EXPECT_GT(picture, 400000);
    // 370 inner sides of about 50 pixels each.
    EXPECT_GT(lines, 10000);
    EXPECT_EQ(painted.pixel(140, 425), qRgb(255, 255, 255));

    // A name that would leave the library is refused and the dialog asked again.
    player.names = QStringList{QStringLiteral("../Bay"), QStringLiteral("Bay")};
    Click(cutting, CCreatePrimaryDialog::kMake);
    EXPECT_EQ(s.messages, QList<int>{IDS_NAME_UNSAFE});
    EXPECT_FALSE(player.sendShown);
    EXPECT_EQ(s.made, QStringList{QStringLiteral("Puzzles/simple/Bay.pzl added")});
    EXPECT_EQ(s.modes, QList<GameMode>{GameMode::MyPuzzles});
    EXPECT_FALSE(s.screen.IsActive());
    CGP_Puzzle read;
    ASSERT_TRUE(read.OpenFile(s.folder.File(QStringLiteral("Puzzles/simple/Bay.pzl"))));
    EXPECT_TRUE(read.m_bOptions[CGP_Puzzle::kOptionRotation]);
    EXPECT_EQ(read.m_nPatternIndex, 15);
    EXPECT_EQ(read.m_nColumns * read.m_nRows, 200);
}

TEST(CreationScreen, BackAndCancelLeaveNothingBehind)
{
    Screen s;
    Player player;
    // The file dialog cancelled: no creation.
    s.screen.OnMainCreate();
    EXPECT_FALSE(s.screen.ShowImageStep());
    EXPECT_FALSE(s.screen.IsActive());

    // A picture too thin for the field: refused with its message.
    player.picture = s.Picture(3000, 40);
    s.screen.OnMainCreate();
    EXPECT_FALSE(s.screen.ShowImageStep());
    EXPECT_EQ(s.messages, QList<int>{IDS_IMAGE_SIZE_ERROR});

    player.picture = s.Picture(400, 300);
    s.screen.OnMainCreate();
    ASSERT_TRUE(s.screen.ShowImageStep());
    // The name dialog cancelled: still cutting.
    Click(s.screen.PrimaryDialog(), CCreatePrimaryDialog::kMake);
    EXPECT_TRUE(s.screen.IsActive());
    Click(s.screen.PrimaryDialog(), CCreatePrimaryDialog::kBack);
    EXPECT_FALSE(s.screen.IsActive());
    EXPECT_EQ(s.modes, QList<GameMode>{GameMode::MyPuzzles});
    EXPECT_TRUE(s.log.Text().contains(QStringLiteral("OnCreateBack\n")));
    EXPECT_TRUE(s.made.isEmpty());
    EXPECT_FALSE(QDir(s.folder.File(QStringLiteral("Puzzles/simple"))).exists());
}
