#include "ui/dialogs/selthumbsize.h"

#include "tests/ui/dialog_test_support.h"

#include <QToolButton>

namespace {

using dialogtest::Child;

QImage TestPicture() {
    QImage picture(640, 480, QImage::Format_RGB32);
    picture.fill(QColor(40, 110, 180));
    for (int y = 300; y < 480; ++y) {
        for (int x = 0; x < 640; ++x) picture.setPixelColor(x, y, QColor(60, 140, 50));
    }
    return picture;
}

TEST(Tselthumbsize, EachButtonReturnsTheCellOfItsThumbnailSize) {
    struct Size {
        const char* button;
        int previewWidth, previewHeight;
    };
    const std::vector<Size> sizes = {{"b1", 320, 240}, {"b2", 240, 180}, {"b3", 160, 120}, {"b6", 100, 75},
                                     {"b4", 80, 60},   {"b5", 48, 36},   {"b7", 36, 24}};
    const QImage picture = TestPicture();
    for (const Size& s : sizes) {
        SCOPED_TRACE(s.button);
        int height = 0, width = 0;
        ui::Tselthumbsize& dialog = ui::selthumbsize();
        dialogtest::WhenShown(dialog, [&] {
            auto& button = Child<QToolButton>(dialog, s.button);
            EXPECT_EQ(button.iconSize(), QSize(s.previewWidth, s.previewHeight));
            EXPECT_FALSE(button.icon().isNull());
            // Every button lies wholly inside the form.
            EXPECT_TRUE(dialog.rect().contains(button.geometry()));
            dialogtest::SaveScreenshot(dialog, "selthumbsize");
            button.click();
        });
        EXPECT_TRUE(dialog.Execute(picture, height, width));
        EXPECT_EQ(width, s.previewWidth + 12);
        EXPECT_EQ(height, s.previewHeight + 26);
    }
}

TEST(Tselthumbsize, CancelReturnsNothing) {
    int height = 106, width = 98;
    ui::Tselthumbsize& dialog = ui::selthumbsize();
    dialogtest::WhenShown(dialog, [&] { dialogtest::Click(dialog, "CancelBtn"); });
    EXPECT_FALSE(dialog.Execute(QImage(), height, width));
    EXPECT_EQ(width, 98);
    EXPECT_EQ(height, 106);
}

}  // namespace
