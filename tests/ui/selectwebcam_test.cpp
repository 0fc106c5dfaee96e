#include "ui/dialogs/selectwebcam.h"

#include "engine/categories.h"
#include "engine/messages.h"
#include "tests/ui/dialog_test_support.h"

#include <QApplication>
#include <QCollator>
#include <QKeyEvent>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>

#include <functional>
#include <initializer_list>

namespace {

using dialogtest::Child;

// Four webcams; their record numbers differ from their positions so that a mix-up shows.
class FakeWebcams : public ui::WebcamChooserSource {
public:
    FakeWebcams() {
        Add("Plage de Nice", "http://nice.example/cam.jpg", {3, 5});
        Add("", "http://ski.example/live.jpg", {4});
        Add("Caf\xE9 du Port", "http://port.example/a.jpg", {21, 25});
        Add("Montagne enneig\xE9" "e", "http://alpes.example/ski.jpg", {4, 12});
    }
    int WebcamCount() const override { return static_cast<int>(records_.size()); }
    const engine::TWebcamDefRec& WebcamRecord(int position) const override { return records_.at(position); }
    int WebcamRecordNo(int position) const override { return position + 10; }
    std::string CategoryName(int slot) const override { return names_.FNames.at(slot); }
    void ShowOnlySelected(const std::vector<int>& webcams) override { shown.push_back(webcams); }

    std::vector<std::vector<int>> shown;  // one entry per call

private:
    void Add(const char* description, const char* url, std::initializer_list<int> categories) {
        engine::TWebcamDefRec rec = engine::ZeroRecord<engine::TWebcamDefRec>();
        rec.Description = description;
        rec.PictureURL = url;
        for (int k : categories) rec.Categories[k] = 1;
        records_.push_back(rec);
    }
    std::vector<engine::TWebcamDefRec> records_;
    engine::tcategorymanager names_;
};

const QString kNice = "Plage de Nice", kSkiUrl = "http://ski.example/live.jpg", kCafe = "Café du Port",
              kMountain = "Montagne enneigée";

// Runs the chooser once: inside runs while it shows and must close it.
bool RunChooser(FakeWebcams& webcams, int& index, const std::function<void(ui::Tselectwebcam&)>& inside,
                ui::Tselectwebcam& dialog = ui::selectwebcam()) {
    dialogtest::WhenShown(dialog, [&] { inside(dialog); });
    return dialog.Execute(webcams, index);
}

TEST(Tselectwebcam, TheCategoryBoxIsSortedOpensOnAllCamerasAndKeepsTheLastChoice) {
    FakeWebcams webcams;
    ui::Tselectwebcam fresh;
    int index = -1;
    RunChooser(webcams, index, [](ui::Tselectwebcam& d) {
        auto& box = Child<QComboBox>(d, "ComboBox1");
        ASSERT_EQ(box.count(), 58);
        EXPECT_EQ(box.currentData().toInt(), 0);
        EXPECT_EQ(box.currentText(), QString::fromStdString(engine::LoadMessage(65288)));
        QCollator collator;
        collator.setCaseSensitivity(Qt::CaseInsensitive);
        for (int i = 1; i < box.count(); ++i) EXPECT_LE(collator.compare(box.itemText(i - 1), box.itemText(i)), 0);
        EXPECT_EQ(d.focusWidget(), &Child<QLineEdit>(d, "Edit1"));
        dialogtest::SaveScreenshot(d, "selectwebcam");
        box.setCurrentIndex(box.findData(4));
        dialogtest::Click(d, "CancelBtn");
    }, fresh);
    RunChooser(webcams, index, [](ui::Tselectwebcam& d) {
        auto& box = Child<QComboBox>(d, "ComboBox1");
        EXPECT_EQ(box.count(), 58);
        EXPECT_EQ(box.currentData().toInt(), 4);
        EXPECT_EQ(dialogtest::ListLines(Child<QListWidget>(d, "ListBox1")), (QStringList{kSkiUrl, kMountain}));
        dialogtest::Click(d, "CancelBtn");
    }, fresh);
}

TEST(Tselectwebcam, FiltersByCategoryAndSearchesAddressesAndDescriptions) {
    struct FilterCase {
        int category;       // chosen in the box
        const char* search; // nullptr: no search
        QStringList lines;
    };
    const std::vector<FilterCase> cases = {
        {0, nullptr, {kNice, kSkiUrl, kCafe, kMountain}},
        {4, nullptr, {kSkiUrl, kMountain}},
        {25, nullptr, {kCafe}},
        {57, nullptr, {}},
        // A search looks through every webcam, whatever the category.
        {25, "ski", {kSkiUrl, kMountain}},
        {0, "caf\u00c9", {kCafe}},
        {0, "ENNEIGÉE", {kMountain}},
        {0, "nice", {kNice}},
        {0, "zzz", {}},
    };
    FakeWebcams webcams;
    for (const FilterCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.category) + " " + (c.search ? c.search : "-"));
        int index = -1;
        RunChooser(webcams, index, [&](ui::Tselectwebcam& d) {
            auto& box = Child<QComboBox>(d, "ComboBox1");
            box.setCurrentIndex(box.findData(c.category));
            if (c.search) {
                Child<QLineEdit>(d, "Edit1").setText(QString::fromUtf8(c.search));
                dialogtest::Click(d, "Button1");
            }
            EXPECT_EQ(dialogtest::ListLines(Child<QListWidget>(d, "ListBox1")), c.lines);
            dialogtest::Click(d, "CancelBtn");
        });
    }
}

TEST(Tselectwebcam, AnEmptySearchAsksForTextAndKeepsTheList) {
    FakeWebcams webcams;
    int index = -1;
    dialogtest::MessageBoxAnswerer answers;
    RunChooser(webcams, index, [&](ui::Tselectwebcam& d) {
        auto& box = Child<QComboBox>(d, "ComboBox1");
        box.setCurrentIndex(box.findData(4));
        Child<QLineEdit>(d, "Edit1").clear();
        dialogtest::Click(d, "Button1");
        EXPECT_EQ(dialogtest::ListLines(Child<QListWidget>(d, "ListBox1")), (QStringList{kSkiUrl, kMountain}));
        dialogtest::Click(d, "CancelBtn");
    });
    EXPECT_EQ(answers.texts(), QStringList{QString::fromStdString(engine::LoadMessage(65289))});
}

TEST(Tselectwebcam, ConfirmsOneWebcamOrMakesTheMarkedOnesTheSelection) {
    struct ConfirmCase {
        const char* name;
        std::function<void(QListWidget&)> choose;
        const char* button;
        bool result;
        int index;
        std::vector<std::vector<int>> shown;
    };
    const auto clearThen = [](std::function<void(QListWidget&)> then) {
        return [then](QListWidget& list) {
            list.clearSelection();
            then(list);
        };
    };
    const std::vector<ConfirmCase> cases = {
        {"a current line that is not marked gives its webcam",
         clearThen([](QListWidget& l) { l.setCurrentRow(2, QItemSelectionModel::NoUpdate); }), "OKBtn", true, 13, {}},
        {"marked lines become the selection",
         clearThen([](QListWidget& l) {
             l.setCurrentRow(0, QItemSelectionModel::Select);
             l.setCurrentRow(3, QItemSelectionModel::Select);
         }),
         "OKBtn", true, 0, {{11, 14}}},
        {"TOUT1 marks every line",
         clearThen([](QListWidget& l) { dialogtest::Click(*l.window(), "Button2"); }), "OKBtn", true, 0,
         {{11, 12, 13, 14}}},
        {"a click marks its line and makes it current: that webcam is shown, no selection is made",
         clearThen([](QListWidget& l) { l.setCurrentRow(2); }), "OKBtn", true, 13, {}},
        {"one marked line is a pick even where another line is current",
         clearThen([](QListWidget& l) {
             l.item(3)->setSelected(true);
             l.setCurrentRow(0, QItemSelectionModel::NoUpdate);
         }),
         "OKBtn", true, 14, {}},
        {"a double click confirms its line",
         clearThen([](QListWidget& l) {
             l.setCurrentRow(1);
             emit l.itemDoubleClicked(l.item(1));
         }),
         nullptr, true, 12, {}},
        {"OK without a current line chooses nothing", [](QListWidget&) {}, "OKBtn", false, 0, {}},
        {"cancel chooses nothing",
         clearThen([](QListWidget& l) { l.setCurrentRow(1); }), "CancelBtn", false, 0, {}},
    };
    for (const ConfirmCase& c : cases) {
        SCOPED_TRACE(c.name);
        FakeWebcams webcams;
        int index = -1;
        const bool result = RunChooser(webcams, index, [&](ui::Tselectwebcam& d) {
            auto& box = Child<QComboBox>(d, "ComboBox1");
            box.setCurrentIndex(box.findData(0));
            auto& list = Child<QListWidget>(d, "ListBox1");
            ASSERT_EQ(list.currentRow(), -1);
            c.choose(list);
            if (c.button) dialogtest::Click(d, c.button);
        });
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(index, c.index);
        EXPECT_EQ(webcams.shown, c.shown);
    }
}

TEST(Tselectwebcam, EnterInTheSearchBoxSearchesAndKeepsTheDialogOpen) {
    FakeWebcams webcams;
    int index = -1;
    const bool result = RunChooser(webcams, index, [&](ui::Tselectwebcam& d) {
        auto& box = Child<QComboBox>(d, "ComboBox1");
        box.setCurrentIndex(box.findData(0));
        auto& search = Child<QLineEdit>(d, "Edit1");
        search.setFocus();
        search.setText("ski");
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(&search, &enter);
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(dialogtest::ListLines(Child<QListWidget>(d, "ListBox1")), (QStringList{kSkiUrl, kMountain}));
        dialogtest::Click(d, "CancelBtn");
    });
    EXPECT_FALSE(result);
}

}  // namespace
