#include "ui/forms/splash1.h"

#include "tests/support/temp_dir.h"
#include "tests/ui/dialog_test_support.h"

#include <QImage>
#include <QLabel>
#include <QPixmap>

namespace {

using dialogtest::Child;

class Tsplash1Test : public testsupport::IsolatedTest {};

TEST_F(Tsplash1Test, ShowsSplashJpgWithAMarginAndKeepsItsDesignWithoutOne) {
    {
        ui::Tsplash1 splash;
        const QSize designed = splash.size();
        splash.show();
        EXPECT_EQ(splash.size(), designed);
        EXPECT_EQ(splash.windowTitle(), "Ecran 1");
        // The program's own picture, never an empty box.
        const QPixmap own = Child<QLabel>(splash, "Image1").pixmap();
        ASSERT_FALSE(own.isNull());
        EXPECT_EQ(designed, own.size() + QSize(32, 32));
        dialogtest::SaveScreenshot(splash, "splash1-own");
        splash.hide();
    }
    {
        testsupport::WriteFile(programDir() / "splash.jpg", "not a picture");
        ui::Tsplash1 splash;
        const QSize designed = splash.size();
        splash.show();
        EXPECT_EQ(splash.size(), designed);
        splash.hide();
    }
    QImage picture(120, 70, QImage::Format_RGB32);
    picture.fill(QColor(200, 40, 40));
    ASSERT_TRUE(picture.save(QString::fromStdString((programDir() / "splash.jpg").string()), "JPG"));
    ui::Tsplash1 splash;
    splash.show();
    EXPECT_EQ(splash.size(), QSize(152, 102));
    QLabel& image = Child<QLabel>(splash, "Image1");
    EXPECT_EQ(image.pixmap().size(), QSize(120, 70));
    EXPECT_EQ(image.geometry(), QRect(16, 16, 120, 70));
    dialogtest::SaveScreenshot(splash, "splash1");
    splash.hide();
}

}  // namespace
