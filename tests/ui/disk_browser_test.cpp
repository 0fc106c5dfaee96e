// The disk-picture browser on a real folder: opening folders, the selection rules of clicks,
// opening entries, building thumbnails with its callbacks, stopping it, and pending pictures.
#include "ui/disk/disk_thumb_manager.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/engine/jpeg_test_pictures.h"
#include "tests/support/temp_dir.h"
#include "tests/ui/dialog_test_support.h"
#include "ui/controls/draw_grid1.h"

namespace {

std::string Canon(const std::filesystem::path& path) { return std::filesystem::canonical(path).string(); }

std::string Picture(int width, int height) {
    return testpictures::EncodeJpeg(testpictures::MakeBitmap(width, height, [](int x, int) { return x * 3; }), 80);
}

// Six pictures, one that does not decode, and a sub-folder, in a grid 250 wide (3 columns).
class DiskBrowserTest : public ::testing::Test {
protected:
    DiskBrowserTest() : browser(grid, ui::kListJpegFiles | ui::kListFolders) {
        grid.resize(250 + 2 * grid.frameWidth(), 400);  // a viewport of 250 x (400 - frame)
        grid.show();
        for (int i = 1; i <= 6; ++i)
            testsupport::WriteFile(dir.path() / ("2026010112000" + std::to_string(i) + ".jpg"),
                                   Picture(i % 2 ? 640 : 320, i % 2 ? 480 : 240));
        testsupport::WriteFile(dir.path() / "20260101120009.jpg", "not a picture");
        std::filesystem::create_directory(dir.path() / "sub");
        testsupport::WriteFile(dir.path() / "sub" / "20260102120000.jpg", Picture(640, 480));
        browser.ProcessMessages = [] {};
        browser.OnSelectionChanged = [this] { events.push_back("selection"); };
        browser.OnPictureOpened = [this] { events.push_back("picture " + ui::EntryName(browser.CurrentPath())); };
        browser.OnFolderOpened = [this] { events.push_back("folder " + ui::EntryName(browser.Folder())); };
        browser.OnBuildingStarted = [this] { events.push_back("started"); };
        browser.OnBuildingEnded = [this] { events.push_back("ended"); };
        browser.OnProgress = [this](int entry) { progress.push_back(entry); };
        browser.SetActive(true);
    }
    std::vector<int> SelectedEntries() const {
        std::vector<int> out;
        for (int i = 1; i <= browser.Count(); ++i)
            if (browser.Selected(i)) out.push_back(i);
        return out;
    }
    void Click(int entry, ui::TShiftState shift = 0) {
        browser.SetShiftState(shift);
        browser.ClickEntry(entry);
    }

    testsupport::TempDir dir;
    ui::TDrawGrid1 grid;
    ui::tdiskthumbmanager browser;
    std::vector<std::string> events;
    std::vector<int> progress;
};

TEST_F(DiskBrowserTest, OpeningAFolderListsItAndSelectsItsFirstEntry) {
    browser.SetFolder(dir.folder());
    EXPECT_EQ(browser.Folder(), Canon(dir.path()));  // the system's spelling, no '/' at the end
    ASSERT_EQ(browser.Count(), 9);                     // "..", "sub", seven pictures
    EXPECT_EQ(ui::EntryName(browser.GetPath(1)), "..");
    EXPECT_EQ(browser.Current(), 1);
    EXPECT_EQ(SelectedEntries(), std::vector<int>{1});
    EXPECT_EQ(events, std::vector<std::string>{"selection"});
    EXPECT_EQ(grid.ColCount(), 3);
    EXPECT_EQ(grid.RowCount(), 3);

    events.clear();
    browser.SetFolder(dir.folder());  // the same folder again: nothing
    EXPECT_TRUE(events.empty());

    try {
        browser.SetFolder(dir.folder() + "gone");
        FAIL();
    } catch (const std::runtime_error& error) {
        EXPECT_EQ(std::string(error.what()), dir.folder() + "gone : répertoire inexistant");
    }
    browser.SetFolder("");
    EXPECT_EQ(browser.Count(), 0);
    EXPECT_EQ(browser.Current(), 0);
}

TEST_F(DiskBrowserTest, SelectionRulesOfClicks) {
    browser.SetFolder(dir.folder());
    struct Step {
        int entry;
        ui::TShiftState shift;
        int current;
        std::vector<int> selected;
    };
    const Step steps[] = {
        {4, 0, 4, {4}},                      // a plain click: only it, and it is current
        {6, ui::ssCtrl, 4, {4, 6}},          // Ctrl toggles
        {4, ui::ssCtrl, 4, {6}},
        {7, ui::ssShift, 4, {4, 5, 6, 7}},   // Shift: from the current entry to the clicked one
        {2, ui::ssShift, 4, {2, 3, 4}},
        {4, 0, 4, {}},                       // a plain click on a selected entry deselects it
        {5, 0, 5, {5}},
        {0, 0, 5, {}},                       // past the last entry: the current one loses it
    };
    for (const Step& step : steps) {
        Click(step.entry, step.shift);
        EXPECT_EQ(browser.Current(), step.current) << step.entry;
        EXPECT_EQ(SelectedEntries(), step.selected) << step.entry;
    }
    EXPECT_EQ(grid.Col(), 1);  // the cursor went back to entry 5
    EXPECT_EQ(grid.Row(), 1);

    browser.SetFolder(dir.folder() + "sub");
    browser.SelectAll();
    std::vector<std::string> paths;
    browser.ForEachSelected(paths, {ui::kEntryJpeg});
    EXPECT_EQ(paths, std::vector<std::string>{Canon(dir.path() / "sub") + "/20260102120000.jpg"});
}

TEST_F(DiskBrowserTest, OpeningEntriesWalksIntoFoldersAndShowsPictures) {
    browser.SetFolder(dir.folder());
    grid.SetCurrentCell(1, 0);  // "sub"
    events.clear();
    browser.OpenCurrent();
    EXPECT_EQ(browser.Folder(), Canon(dir.path() / "sub"));
    EXPECT_EQ(events, (std::vector<std::string>{"selection", "folder sub"}));
    grid.SetCurrentCell(1, 0);  // its picture, after ".."
    events.clear();
    browser.OpenCurrent();
    EXPECT_EQ(events, (std::vector<std::string>{"selection", "picture 20260102120000.jpg"}));
    grid.SetCurrentCell(0, 0);  // ".." goes back up
    browser.OpenCurrent();
    EXPECT_EQ(browser.Folder(), Canon(dir.path()));

    browser.SelectItem(9);
    EXPECT_EQ(browser.Current(), 9);
    EXPECT_EQ(SelectedEntries(), std::vector<int>{9});
    EXPECT_EQ(grid.Col(), 2);
    EXPECT_EQ(grid.Row(), 2);
}

TEST_F(DiskBrowserTest, BuildsEveryPictureThumbnailOnceAndReportsIt) {
    browser.SetShowThumbnails(true);
    events.clear();
    browser.SetFolder(dir.folder());
    EXPECT_EQ(events, (std::vector<std::string>{"selection", "started", "ended"}));
    EXPECT_EQ(progress, (std::vector<int>{3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(browser.Thumbnail(2), nullptr);  // folders have none
    ASSERT_NE(browser.Thumbnail(3), nullptr);
    EXPECT_EQ(browser.Thumbnail(3)->size(), QSize(80, 80));
    EXPECT_EQ(browser.FullSize(3), QSize(640, 480));
    EXPECT_EQ(browser.FullSize(4), QSize(320, 240));
    EXPECT_EQ(browser.ThumbnailKind(9), 0);  // the file that is no picture: the empty frame
    EXPECT_NE(browser.Thumbnail(9), nullptr);
    EXPECT_TRUE(browser.Idle());

    progress.clear();
    browser.BuildThumbnails();  // nothing left to build
    EXPECT_TRUE(progress.empty());
}

TEST_F(DiskBrowserTest, StoppingABuildOrOpeningAnotherFolderEndsIt) {
    browser.SetFolder(dir.folder());
    browser.ProcessMessages = [this] {
        if (progress.size() == 2) browser.CancelThumbnails();  // the "Stop" button
    };
    browser.BuildThumbnails();
    EXPECT_EQ(progress, (std::vector<int>{3, 4}));
    EXPECT_TRUE(browser.Idle());
    EXPECT_EQ(events.back(), "ended");

    // A click that opens another folder while thumbnails are built.
    progress.clear();
    bool opened = false;
    browser.ProcessMessages = [&] {
        if (progress.size() == 1 && !opened) {
            opened = true;
            browser.SetFolder(dir.folder() + "sub");
        }
    };
    browser.BuildThumbnails();
    EXPECT_EQ(browser.Folder(), Canon(dir.path() / "sub"));
    EXPECT_EQ(browser.Count(), 2);
    EXPECT_EQ(progress.size(), 1u);
}

TEST_F(DiskBrowserTest, PendingPicturesAreListedAtTheNextOperation) {
    browser.SetFolder(dir.folder());
    testsupport::WriteFile(dir.path() / "20260101120010.jpg", Picture(640, 480));
    browser.AddPending();
    EXPECT_EQ(browser.Count(), 9);
    browser.SelectItem(2);  // any operation folds them in first
    EXPECT_EQ(browser.Pending(), 0);
    EXPECT_EQ(browser.Count(), 10);
}

TEST_F(DiskBrowserTest, DrawsTheGridWithNamesAndFrames) {
    browser.SetShowThumbnails(true);
    browser.SetFolder(dir.folder());
    browser.SelectItem(4);
    dialogtest::SaveScreenshot(grid, QStringLiteral("disk_browser"));
    const QImage shot = grid.grab().toImage();
    EXPECT_FALSE(shot.isNull());
}

}  // namespace
