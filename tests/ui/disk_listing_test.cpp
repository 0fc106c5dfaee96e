// The disk page's listing and its small rules: the folder date order, the listing flags and
// entry types, the names under the entries, the grid's shape and the companion file names.
#include "ui/disk/image_collection.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/support/temp_dir.h"
#include "ui/disk/disk_entry_text.h"

namespace {

std::vector<std::string> Names(const std::vector<std::string>& paths) {
    std::vector<std::string> names;
    for (const std::string& path : paths) names.push_back(ui::EntryName(path));
    return names;
}

TEST(DiskListing, FolderNamesOfDaysSortByDate) {
    struct Case {
        std::vector<std::string> byName;
        std::vector<std::string> sorted;
    };
    const Case cases[] = {
        {{"01JAN03", "02JAN03", "15DEC99"}, {"15DEC99", "01JAN03", "02JAN03"}},
        // A 7-character name that is no date never swaps, so it holds its neighbours apart.
        {{"01JAN03", "15DEC99", "ABCDEFG", "31DEC98"}, {"15DEC99", "01JAN03", "ABCDEFG", "31DEC98"}},
        {{"01XYZ03", "02JAN03", "15DEC99"}, {"01XYZ03", "15DEC99", "02JAN03"}},
        {{"31FEB03", "15DEC99"}, {"31FEB03", "15DEC99"}},  // no 31 February
        // ".." never moves; names of another length are left alone.
        {{"..", "01JAN03", "15DEC99", "photos"}, {"..", "15DEC99", "01JAN03", "photos"}},
        {{"02jan03", "01JAN03"}, {"01JAN03", "02jan03"}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> paths;
        for (const std::string& name : c.byName) paths.push_back("/data/" + name);
        ui::SortFoldersByDate(paths);
        EXPECT_EQ(Names(paths), c.sorted) << c.byName.front();
    }
    EXPECT_FALSE(ui::FolderNameToDate("01ANF03"));  // "ANF" is in the month list, but no month
    EXPECT_EQ(*ui::FolderNameToDate("15DEC99"), platform::EncodeDate(1999, 12, 15));
    EXPECT_EQ(*ui::FolderNameToDate("01JAN94"), platform::EncodeDate(2094, 1, 1));
}

class DiskCollectionTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* folder : {"02JAN03", "15DEC99", "01JAN03"}) std::filesystem::create_directory(dir.path() / folder);
        for (const char* file : {"b.jpg", "A.JPG", "c.cam", "notes.txt", "d.jpeg"})
            testsupport::WriteFile(dir.path() / file, "x");
    }
    std::vector<std::string> Listed(std::uint8_t flags) {
        ui::timagecollection collection;
        collection.Load(dir.path().string(), flags);
        std::vector<std::string> out;
        for (int i = 1; i <= collection.Count(); ++i)
            out.push_back(collection.GetName(i) + ":" + std::to_string(collection.ItemType(i)));
        return out;
    }
    testsupport::TempDir dir;
};

TEST_F(DiskCollectionTest, FlagsChooseFoldersPicturesOrEveryFile) {
    EXPECT_EQ(Listed(ui::kListJpegFiles), (std::vector<std::string>{"A.JPG:1", "b.jpg:1"}));
    EXPECT_EQ(Listed(ui::kListFolders | ui::kListJpegFiles),
              (std::vector<std::string>{"..:2", "15DEC99:2", "01JAN03:2", "02JAN03:2", "A.JPG:1", "b.jpg:1"}));
    EXPECT_EQ(Listed(ui::kListAllFiles | ui::kListJpegFiles),
              (std::vector<std::string>{"A.JPG:1", "b.jpg:1", "c.cam:0", "d.jpeg:3", "notes.txt:3"}));
    EXPECT_TRUE(Listed(0).empty());
}

TEST_F(DiskCollectionTest, OutOfRangeAndMissingFolders) {
    ui::timagecollection collection;
    collection.Load(dir.folder(), ui::kListJpegFiles);
    EXPECT_EQ(collection.GetPath(1), dir.folder() + "A.JPG");
    EXPECT_EQ(collection.GetPath(0), "");
    EXPECT_EQ(collection.GetPath(3), "");
    EXPECT_EQ(collection.ItemType(3), ui::kEntryOther);
    try {
        collection.Load(dir.folder() + "gone", ui::kListJpegFiles);
        FAIL() << "a missing folder was listed";
    } catch (const std::runtime_error& error) {
        EXPECT_EQ(std::string(error.what()), dir.folder() + "gonen'existe pas");
    }
}

TEST(DiskRules, EntryCaptions) {
    const std::pair<const char*, const char*> cases[] = {
        {"20260110120000.jpg", "20260110120000"},
        {"Garden2026011012000012.JPG", "26011012000012"},  // the last 18 characters, then ".jpg" off
        {"photo.jpeg", "Photo.jpeg"},
        {"..", ".."},
        {"ÉTÉ.JPG", "Été"},
        {"", ""},
    };
    for (const auto& [name, caption] : cases)
        EXPECT_EQ(ui::EntryCaption(QString::fromUtf8(name)), QString::fromUtf8(caption)) << name;
}

TEST(DiskRules, GridShape) {
    struct Case {
        int width, entries, cols, rows;
    };
    for (const Case& c : {Case{250, 7, 3, 3}, Case{240, 6, 3, 2}, Case{79, 2, 1, 2}, Case{0, 0, 1, 0}, Case{800, 3, 10, 1}}) {
        const ui::DiskGridShape shape = ui::DiskGridLayout(c.width, c.entries);
        EXPECT_EQ(shape.cols, c.cols) << c.width;
        EXPECT_EQ(shape.rows, c.rows) << c.width << " " << c.entries;
    }
}

TEST(DiskRules, CompanionFileNames) {
    EXPECT_EQ(ui::CompanionFileName("/data/Cam/b.jpg"), "/data/Cam/b.QVJ");
    EXPECT_EQ(ui::CompanionFileName("/data/Cam/B.JPG"), "/data/Cam/B.QVJ");
    EXPECT_EQ(ui::CompanionFileName("/data/Cam/b.Cam"), "/data/Cam/b.QVC");
    for (const char* path : {"/data/Cam/b.jpeg", "/data/Cam/b.txt", "jpg", ""}) {
        try {
            ui::CompanionFileName(path);
            ADD_FAILURE() << path;
        } catch (const std::invalid_argument& error) {
            EXPECT_STREQ(error.what(), "File is not a JPG or CAM");
        }
    }
}

}  // namespace
