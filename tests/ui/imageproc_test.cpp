#include "ui/viewer/imageproc.h"

#include <gtest/gtest.h>

#include <QPushButton>
#include <QSlider>

#include "tests/ui/dialog_test_support.h"

namespace {

using dialogtest::Child;

TEST(Timageproc, SetValuesShowsWithoutReportingAndMovingABarReportsBoth) {
    ui::Timageproc& form = ui::imageproc();
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Embellir l'image"));
    EXPECT_TRUE(form.windowFlags() & Qt::WindowStaysOnTopHint);
    std::vector<std::pair<int, int>> changes;
    form.OnChange = [&](int level, int mix) { changes.emplace_back(level, mix); };
    form.SetValues(12, 7);
    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(changes.empty());
    auto& cut = Child<QSlider>(form, "TrackBar1");
    auto& depth = Child<QSlider>(form, "TrackBar2");
    EXPECT_EQ(cut.value(), 12);
    EXPECT_EQ(depth.value(), 7);
    EXPECT_EQ(cut.minimum(), 1);
    EXPECT_EQ(depth.maximum(), 40);
    EXPECT_EQ(cut.toolTip(), QStringLiteral("Coupure"));
    EXPECT_EQ(depth.toolTip(), QStringLiteral("Profondeur"));
    dialogtest::SaveScreenshot(form, "imageproc");
    depth.setValue(30);
    cut.setValue(50);  // clamped to the range
    EXPECT_EQ(changes, (std::vector<std::pair<int, int>>{{12, 30}, {40, 30}}));
    Child<QPushButton>(form, "Button1").click();
    EXPECT_FALSE(form.isVisible());
    form.OnChange = nullptr;
}

}  // namespace
