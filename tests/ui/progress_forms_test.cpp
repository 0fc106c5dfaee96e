#include "ui/forms/loadingwc.h"
#include "ui/forms/loadprog.h"
#include "ui/forms/progress_form.h"
#include "ui/forms/waitform.h"

#include "tests/ui/dialog_test_support.h"

#include <QLabel>
#include <QProgressBar>

namespace {

using dialogtest::Child;

TEST(ProgressPercent, RoundsHalvesToEvenAndNeverDividesByZero) {
    struct Case {
        int done, total, percent;
    };
    for (const Case& c : {Case{3, 10, 30}, Case{1, 3, 33}, Case{2, 3, 67}, Case{1, 8, 12}, Case{3, 8, 38},
                          Case{1, 200, 0}, Case{3, 200, 2}, Case{0, 0, 0}, Case{5, 0, 0}, Case{5, -2, 0},
                          Case{12, 10, 100}, Case{-1, 10, 0}, Case{2147483647, 2147483647, 100}}) {
        EXPECT_EQ(ui::ProgressPercent(c.done, c.total), c.percent) << c.done << " of " << c.total;
    }
}

TEST(Tloadprog, ShowsTheCountRunTogetherAndCallsTheCancelCallback) {
    ui::Tloadprog& form = ui::loadprog();
    EXPECT_EQ(form.windowTitle(), "Ajout de webcams depuis la liste...");
    EXPECT_EQ(form.size(), QSize(309, 104));
    form.SetProgress(3, 10);
    EXPECT_EQ(Child<QLabel>(form, "Label1").text(), "Chargé3de10");
    EXPECT_EQ(Child<QProgressBar>(form, "ProgressBar1").value(), 30);
    form.SetProgress(0, 0);
    EXPECT_EQ(Child<QLabel>(form, "Label1").text(), "Chargé0de0");
    EXPECT_EQ(Child<QProgressBar>(form, "ProgressBar1").value(), 0);

    form.OnCancel = nullptr;
    dialogtest::Click(form, "Button1");  // no callback set: nothing happens
    int cancels = 0;
    form.OnCancel = [&] { ++cancels; };
    dialogtest::Click(form, "Button1");
    EXPECT_EQ(cancels, 1);
    form.OnCancel = nullptr;
    form.show();
    dialogtest::SaveScreenshot(form, "loadprog");
    form.hide();
}

TEST(Tloadingwc, SettingTheProgressShowsTheForm) {
    ui::Tloadingwc& form = ui::loadingwc();
    form.hide();
    EXPECT_EQ(form.windowTitle(), "Chargement de vos webcams ...");
    form.SetProgress(3, 10);
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(Child<QLabel>(form, "Label1").text(), "Chargement de la webcam ...3de10");
    EXPECT_EQ(Child<QProgressBar>(form, "ProgressBar1").value(), 30);
    dialogtest::SaveScreenshot(form, "loadingwc");
    form.hide();
}

TEST(Twaitform, CaptionAndText) {
    ui::Twaitform& form = ui::waitform();
    EXPECT_EQ(form.windowTitle(), "Les requêtes vers les webcams sont en cours d'arrêt");
    EXPECT_EQ(Child<QLabel>(form, "Label1").text(),
              "Veuillez patienter pendant l'arrêt de toutes les webcams. Ceci peut prendre quelques instants...");
    form.show();
    dialogtest::SaveScreenshot(form, "waitform");
    form.hide();
}

}  // namespace
