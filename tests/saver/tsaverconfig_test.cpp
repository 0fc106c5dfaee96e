#include "saver/tsaverconfig.h"

#include "engine/regconfig.h"
#include "platform/settings_store.h"
#include "tests/saver/saver_fixture.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QSpinBox>

#include <gtest/gtest.h>

#include <cstring>

namespace {

class SaverConfig : public savertest::SaverTest {
protected:
    bool Checked(QWidget& dialog, const char* radio) {
        auto* button = dialog.findChild<QRadioButton*>(QString::fromLatin1(radio));
        return button && button->isChecked();
    }
    void Check(QWidget& dialog, const char* radio) { dialog.findChild<QRadioButton*>(QString::fromLatin1(radio))->setChecked(true); }
    QSpinBox& Interval(QWidget& dialog) { return *dialog.findChild<QSpinBox*>(QStringLiteral("IntervalEdit")); }
    std::optional<engine::TExtra1Rec> Stored() {
        const auto bytes = platform::SettingsKey(engine::kSettingsKey, true).ReadBinary("EXTRA1");
        if (!bytes || bytes->size() != sizeof(engine::TExtra1Rec)) return std::nullopt;
        engine::TExtra1Rec rec;
        std::memcpy(&rec, bytes->data(), sizeof rec);
        return rec;
    }
};

// What the dialog shows for a stored record, and what OK stores back untouched.
TEST_F(SaverConfig, ShowsTheStoredSettingsAndOkStoresThem) {
    struct Case {
        const char* name;
        std::function<void(engine::TExtra1Rec&)> stored;  // nullptr: nothing stored
        std::vector<const char*> checked;
        int interval;
        int listOnly, inOrder, savedOnly, storedInterval, display, withMain;  // after OK
    };
    const Case cases[] = {
        {"nothing stored", nullptr, {"AllWebcams", "Randomly", "LivePictures", "FullScreen", "RunNo"}, 30,
         0, 0, 0, 30, 0, 0},
        {"interval 0 shows 10", [](auto& r) { r.SaverInterval = 0; },
         {"AllWebcams", "FullScreen"}, 10, 0, 0, 0, 10, 0, 0},
        {"display 5 shows full screen", [](auto& r) { r.SaverDisplay = 5; }, {"FullScreen"}, 30, 0, 0, 0, 30, 0, 0},
        {"every choice the other way", [](auto& r) {
             r.SaverListOnly = 1; r.SaverInOrder = 1; r.SaverSavedOnly = 1;
             r.SaverInterval = 6000; r.SaverDisplay = 2; r.SaverWithMain = 1;
         },
         {"ListWebcams", "InOrder", "SavedPictures", "DoubleSize", "RunYes"}, 6000, 1, 1, 1, 6000, 2, 1},
        {"normal size, and a run-beside value other than 1", [](auto& r) {
             r.SaverDisplay = 1; r.SaverWithMain = 7; r.SaverListOnly = 3;
         },
         {"NormalSize", "RunYes", "AllWebcams"}, 30, 0, 0, 0, 30, 1, 1},
        {"interval past the dialog's range", [](auto& r) { r.SaverInterval = 99999; }, {}, 6000, 0, 0, 0, 6000, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        platform::SettingsKey(engine::kSettingsKey, true).DeleteValue("EXTRA1");
        if (c.stored) StoreSaverSettings(c.stored);
        saver::Tsaverconfig dialog;
        dialog.show();
        for (const char* radio : c.checked) EXPECT_TRUE(Checked(dialog, radio)) << radio;
        EXPECT_EQ(Interval(dialog).value(), c.interval);
        dialog.OKBtnClick();
        EXPECT_FALSE(dialog.isVisible());
        const auto stored = Stored();
        ASSERT_TRUE(stored);
        EXPECT_EQ(stored->SaverListOnly, c.listOnly);
        EXPECT_EQ(stored->SaverInOrder, c.inOrder);
        EXPECT_EQ(stored->SaverSavedOnly, c.savedOnly);
        EXPECT_EQ(stored->SaverInterval, c.storedInterval);
        EXPECT_EQ(stored->SaverDisplay, c.display);
        EXPECT_EQ(stored->SaverWithMain, c.withMain);
    }
}

TEST_F(SaverConfig, FirstOkStoresTheSaversWholeDefaultRecord) {
    saver::Tsaverconfig dialog;
    dialog.show();
    dialog.OKBtnClick();
    engine::TExtra1Rec expected;
    engine::tregconfig().ReadSaverExtra1(expected);  // the defaults, look-up pages filled
    const auto stored = Stored();
    ASSERT_TRUE(stored);
    EXPECT_EQ(std::memcmp(&*stored, &expected, sizeof expected), 0);
    EXPECT_EQ(stored->AutoRefresh, 30);
}

// ovl changes its own settings while the dialog is open: OK keeps them, and changes only the
// saver's own bytes.
TEST_F(SaverConfig, OkKeepsWhatOvlStoredMeanwhile) {
    engine::TExtra1Rec before = engine::DefaultExtra1();
    before.WeatherURL.assign("http://weather.before/");
    StoreExtra1(before);
    saver::Tsaverconfig dialog;
    dialog.show();
    Check(dialog, "InOrder");
    Check(dialog, "DoubleSize");
    Interval(dialog).setValue(45);

    engine::TExtra1Rec changed = before;
    changed.WeatherURL.assign("http://weather.after/");
    changed.ProxyUser.assign("proxy-user");
    changed.AutoSaveMode = 3;
    changed.AutoRefresh = 120;
    StoreExtra1(changed);
    dialog.OKBtnClick();

    engine::TExtra1Rec expected = changed;
    expected.SaverInOrder = 1;
    expected.SaverDisplay = 2;
    expected.SaverInterval = 45;
    const auto stored = Stored();
    ASSERT_TRUE(stored);
    EXPECT_EQ(std::memcmp(&*stored, &expected, sizeof expected), 0);
}

TEST_F(SaverConfig, CancelStoresNothing) {
    saver::Tsaverconfig dialog;
    dialog.show();
    Check(dialog, "InOrder");
    dialog.CancelBtnClick();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_FALSE(Stored());
}

}  // namespace

namespace {

// Answers the next modal dialog: records its title and the texts of its labels, then rejects it.
struct ModalSeen {
    QString title;
    QStringList labels;
};
void AnswerNextModal(ModalSeen& seen) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, &seen] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        seen.title = dialog->windowTitle();
        for (const QLabel* label : dialog->findChildren<QLabel*>()) seen.labels << label->text();
        dialog->reject();
        timer->deleteLater();
    });
    timer->start(10);
}

TEST_F(SaverConfig, EditListAndAboutOpenTheirDialogs) {
    WriteWebcams({{"http://a.test/1.jpg", "One", 0, true, "Harbour"}});
    saver::Tsaverconfig dialog;
    dialog.show();
    ModalSeen editor;
    AnswerNextModal(editor);
    dialog.findChild<QPushButton*>(QStringLiteral("Button1"))->click();
    EXPECT_EQ(editor.title.toStdString(), "Edit Screensaver Webcam List");
    EXPECT_TRUE(editor.labels.contains(QStringLiteral(" Note : You can also edit the screensaver webcam  list from within Orvello ")))
        << editor.labels.join('|').toStdString();
    ModalSeen about;
    AnswerNextModal(about);
    dialog.findChild<QPushButton*>(QStringLiteral("Button2"))->click();
    EXPECT_EQ(about.title.toStdString(), "About Orvello Screen Saver");
    EXPECT_TRUE(about.labels.contains(QStringLiteral("Orvello Screen Saver 2.1")));
    EXPECT_TRUE(dialog.isVisible());  // neither ends the settings dialog
}

}  // namespace
