#include "saver/saver_list.h"

#include "tests/saver/saver_fixture.h"

#include <gtest/gtest.h>

#include <system_error>

namespace {

using savertest::WebcamSpec;

class SaverList : public savertest::SaverTest {
protected:
    std::vector<std::string> Names(const std::vector<engine::tsdo>& list) {
        std::vector<std::string> names;
        for (const engine::tsdo& item : list) names.push_back(item.FRec.Name.str() + ":" + std::to_string(item.FRec.SavedCount));
        return names;
    }
};

TEST_F(SaverList, FiltersOfTheSettings) {
    WriteWebcams({
        {"http://a.test/1.jpg", "One", 2, true},
        {"", "", 0, true},                           // unused record
        {"http://a.test/3.jpg", "Three", 0, false},
        {"http://a.test/4.jpg", "Four", 300, false},
        {"http://a.test/5.jpg", "Five", 0, true},
    });
    // Pictures in the data folder itself must not count for the unused record.
    testsupport::WriteFile(dataDir() / "stray.jpg", savertest::JpegOf(8, 8, Qt::red));

    const struct {
        const char* name;
        int listOnly, savedOnly;
        std::vector<std::string> expected;
    } cases[] = {
        {"all webcams", 0, 0, {"One:2", "Three:0", "Four:255", "Five:0"}},
        {"list only", 1, 0, {"One:2", "Five:0"}},
        {"saved only", 0, 1, {"One:2", "Four:255"}},
        {"list and saved only", 1, 1, {"One:2"}},
        {"saved-only value 2 filters nothing", 0, 2, {"One:2", "Three:0", "Four:255", "Five:0"}},
    };
    for (const auto& c : cases) {
        auto settings = Extra1();
        settings.SaverListOnly = static_cast<std::uint8_t>(c.listOnly);
        settings.SaverSavedOnly = static_cast<std::uint8_t>(c.savedOnly);
        EXPECT_EQ(Names(saver::BuildSaverList(dataFolder(), settings)), c.expected) << c.name;
    }
}

TEST_F(SaverList, CountIgnoresOtherFilesAndFolders) {
    WriteWebcams({{"http://a.test/1.jpg", "One", 3}});
    testsupport::WriteFile(dataDir() / "One" / "header.txt", "x");
    testsupport::WriteFile(dataDir() / "One" / "UPPER.JPG", "x");
    std::filesystem::create_directories(dataDir() / "One" / "folder.jpg");
    auto rec = engine::ZeroRecord<engine::TWebcamDefRec>();
    rec.Name.assign("One");
    EXPECT_EQ(saver::CountSavedPictures(dataFolder(), rec), 4);
    EXPECT_EQ(rec.SavedCount, 4);
    rec.Name.assign("../One");
    EXPECT_EQ(saver::CountSavedPictures(dataFolder(), rec), 0);
}

TEST_F(SaverList, UnreadableFileRaises) {
    WriteWebcams({{"http://a.test/1.jpg", "One"}});
    std::filesystem::remove(dataDir() / "webcams.def");
    std::filesystem::create_directories(dataDir() / "webcams.def");  // a folder: reading fails
    EXPECT_THROW(saver::BuildSaverList(dataFolder(), Extra1()), std::system_error);
}

}  // namespace
