// How a help picture sits over the screen: at its own shape, in the middle of the layout, over a
// dimmed screen.
#include "view/HelpOverlayWindow.h"
#include "view/model/FieldGeometry.h"
#include "view/model/GP_Registry.h"
#include "view/model/GP_SettingsStore.h"

#include <QApplication>
#include <QSettings>

#include <gtest/gtest.h>

TEST(HelpOverlayLook, ThePictureKeepsItsShapeInTheMiddleOfTheLayoutOverADimmedScreen)
{
    {
        QSettings stored(CGP_Registry::UserSettingsPath(), QSettings::IniFormat);
        stored.remove(QStringLiteral("HlpMyPzl"));
    }
    CGP_SettingsStore settings;
    const QSize screens[] = {{1280, 800}, {1024, 768}, {800, 1000}};
    for (const QSize& size : screens) {
        SCOPED_TRACE(QStringLiteral("%1 x %2").arg(size.width()).arg(size.height()).toStdString());
        QWidget screen;
        screen.setAutoFillBackground(true);
        screen.setPalette(QPalette(Qt::white));
        screen.resize(size);
        CHelpOverlayWindow help(&screen, settings);
        help.Start(GameMode::MyPuzzles, false);
        ASSERT_TRUE(help.IsShown());
        ASSERT_FALSE(help.Picture().isNull()) << "the help picture is shipped";

        const QSizeF own = help.Picture().deviceIndependentSize();
        const QRect placed = help.PictureRect();
        const QRect layout = FieldGeometry::LayoutRect(screen.rect());
        EXPECT_TRUE(layout.contains(placed));
        EXPECT_NEAR(double(placed.width()) / placed.height(), own.width() / own.height(), 2.0 / placed.height())
            << "round icons stay round, text is not stretched";
        EXPECT_TRUE(placed.width() == layout.width() || placed.height() == layout.height()) << "as large as fits";
        EXPECT_LE(std::abs(placed.center().x() - layout.center().x()), 1);
        EXPECT_LE(std::abs(placed.center().y() - layout.center().y()), 1);

        // The white screen shows through darkened, both beside the picture and around its card.
        const QImage shown = screen.grab().toImage();
        for (const QPoint at : {QPoint(1, 1), placed.topLeft() + QPoint(2, 2)}) {
            const QColor colour = shown.pixelColor(at);
            EXPECT_LT(colour.value(), 200) << "dimmed at " << at.x() << "," << at.y();
            EXPECT_GT(colour.value(), 40) << "not blacked out at " << at.x() << "," << at.y();
        }
        help.Clear();
        EXPECT_FALSE(help.isVisible());
    }
}
