#include "ui/editors/catedit.h"

#include "engine/categories.h"
#include "tests/ui/dialog_test_support.h"

#include <QListWidget>
#include <QToolButton>

namespace {

using dialogtest::Child;

void Select(QListWidget& list, const QStringList& texts) {
    for (int row = 0; row < list.count(); ++row) list.item(row)->setSelected(texts.contains(list.item(row)->text()));
}

QStringList SelectedLines(QListWidget& list) {
    QStringList lines;
    for (int row = 0; row < list.count(); ++row)
        if (list.item(row)->isSelected()) lines << list.item(row)->text();
    return lines;
}

bool Enabled(QWidget& dialog, const char* button) { return Child<QToolButton>(dialog, button).isEnabled(); }

engine::TWebcamDefRec WebcamIn(std::initializer_list<int> categories) {
    auto rec = engine::ZeroRecord<engine::TWebcamDefRec>();
    rec.Name = "Caf\xE9 du port";
    for (int k : categories) rec.Categories[k] = 9;
    return rec;
}

TEST(Tcatedit, ShowsTheFlagsAndWritesTheChosenCategories) {
    ASSERT_EQ(engine::CategoryManager, nullptr);  // the dialog then uses names of its own
    engine::TWebcamDefRec rec = WebcamIn({3, 5, 57, 100});
    ui::Tcatedit& dialog = ui::catedit();
    dialogtest::WhenShown(dialog, [&] {
        EXPECT_EQ(dialog.windowTitle(), "Catégorie webcam pourCafé du port");
        auto& src = Child<QListWidget>(dialog, "SrcList");
        auto& dst = Child<QListWidget>(dialog, "DstList");
        EXPECT_EQ(src.count(), 54);
        EXPECT_EQ(src.item(0)->text(), "Extérieur");
        EXPECT_EQ(src.item(2)->text(), "Ski");
        EXPECT_EQ(dialogtest::ListLines(dst), (QStringList{"Plage", "Ville", "Divers"}));
        for (const char* button : {"IncludeBtn", "IncAllBtn", "ExcludeBtn", "ExAllBtn"})
            EXPECT_TRUE(Enabled(dialog, button)) << button;
        dialogtest::SaveScreenshot(dialog, "catedit");

        Select(dst, {"Plage"});
        dialogtest::Click(dialog, "ExcludeBtn");
        EXPECT_EQ(src.item(src.count() - 1)->text(), "Plage");
        EXPECT_EQ(SelectedLines(dst), QStringList{"Ville"});  // the row of the first one moved
        // Several move from the last one up, and the next one after the first takes its row.
        Select(src, {"Ski", "Lac"});
        dialogtest::Click(dialog, "IncludeBtn");
        EXPECT_EQ(dialogtest::ListLines(dst), (QStringList{"Ville", "Divers", "Lac", "Ski"}));
        EXPECT_EQ(SelectedLines(src), QStringList{"Construstion"});
        dialogtest::Click(dialog, "OKBtn");
    });
    ASSERT_TRUE(dialog.EditCategories(rec));
    engine::TWebcamDefRec want = WebcamIn({});
    for (int k : {4, 5, 11, 57}) want.Categories[k] = 1;
    want.Categories[100] = 9;  // past the named categories: left as it was
    EXPECT_TRUE(dialogtest::SameBytes(rec, want));
}

TEST(Tcatedit, CancelLeavesTheRecordAndDoubleClickConfirms) {
    ui::Tcatedit& dialog = ui::catedit();
    const engine::TWebcamDefRec given = WebcamIn({1, 2});
    engine::TWebcamDefRec rec = given;
    dialogtest::WhenShown(dialog, [&] {
        dialogtest::Click(dialog, "ExAllBtn");
        EXPECT_EQ(Child<QListWidget>(dialog, "DstList").count(), 0);
        EXPECT_FALSE(Enabled(dialog, "ExcludeBtn"));
        EXPECT_FALSE(Enabled(dialog, "ExAllBtn"));
        EXPECT_TRUE(Enabled(dialog, "IncludeBtn"));
        dialogtest::Click(dialog, "IncAllBtn");
        EXPECT_EQ(Child<QListWidget>(dialog, "SrcList").count(), 0);
        EXPECT_FALSE(Enabled(dialog, "IncludeBtn"));
        EXPECT_FALSE(Enabled(dialog, "IncAllBtn"));
        dialogtest::Click(dialog, "CancelBtn");
    });
    EXPECT_FALSE(dialog.EditCategories(rec));
    EXPECT_TRUE(dialogtest::SameBytes(rec, given));

    dialogtest::WhenShown(dialog, [&] {
        auto& src = Child<QListWidget>(dialog, "SrcList");
        Select(src, {"Lac"});
        emit src.itemDoubleClicked(src.selectedItems().constFirst());
    });
    EXPECT_TRUE(dialog.EditCategories(rec));
    engine::TWebcamDefRec want = WebcamIn({});
    for (int k : {1, 2, 11}) want.Categories[k] = 1;
    EXPECT_TRUE(dialogtest::SameBytes(rec, want));
}

TEST(Tcatedit, TakesTheNamesOfTheCategoryManagerItIsGiven) {
    engine::tcategorymanager names;
    names.FNames[3] = "Beach";
    engine::TWebcamDefRec rec = WebcamIn({3});
    ui::Tcatedit& dialog = ui::catedit();
    dialogtest::WhenShown(dialog, [&] {
        EXPECT_EQ(dialogtest::ListLines(Child<QListWidget>(dialog, "DstList")), QStringList{"Beach"});
        dialogtest::Click(dialog, "OKBtn");
    });
    EXPECT_TRUE(dialog.EditCategories(rec, &names));
    EXPECT_EQ(rec.Categories[3], 1);
}

}  // namespace
