#include "engine/definition_files.h"

#include "platform/safe_name.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <set>

namespace {

using namespace engine;
namespace fs = std::filesystem;

TWebcamDefRec Rec1(const std::string& name, const std::string& url = "http://cams.local/pic.jpg") {
    TWebcamDefRec rec = ZeroRecord<TWebcamDefRec>();
    rec.PictureURL.assign(url);
    rec.Name.assign(name);
    rec.Enabled = 1;
    return rec;
}

TWebcamDef1Rec Rec2(const std::string& prefix) {
    TWebcamDef1Rec rec = ZeroRecord<TWebcamDef1Rec>();
    rec.FilePrefix.assign(prefix);
    return rec;
}

class DefinitionFiles : public testsupport::IsolatedTest {
protected:
    std::string dir() const { return dataDir().string() + "/"; }
    std::string def() const { return testsupport::ReadFile(dir() + kWebcamsDef); }
    std::string def1() const { return testsupport::ReadFile(dir() + kWebcams1Def); }
    void Write(int n, const std::string& name, bool enabled = true) {
        TWebcamDefRec rec = Rec1(name, "http://cams.local/" + name + ".jpg");
        rec.Enabled = enabled;
        ASSERT_TRUE(WriteDefRecord(dir(), n, rec));
        ASSERT_TRUE(WriteDef1Record(dir(), n, Rec2("p" + name)));
    }
    std::vector<std::string> Names() {
        std::vector<std::string> names;
        for (const auto& d : ReadDefinitionFiles(dir())) names.push_back(d.rec1.Name.str() + "/" + d.rec2.FilePrefix.str());
        return names;
    }
};

TEST_F(DefinitionFiles, RecordsAreStoredFieldByFieldAtTheirOffsets) {
    TWebcamDefRec rec = Rec1("Cam001");
    rec.LinkURL.assign("http://link");
    rec.Description.assign("desc");
    rec.Refresh = 0x01020304;
    rec.SendLogin = 1;
    rec.UserName.assign("user");
    rec.Password.assign("pw");
    rec.InSaverList = 1;
    rec.HeadCheck = 9;
    rec.WebcamType = kWebcamTypeStream;
    rec.SaveMode = 254;
    rec.Categories[1] = 1;
    rec.Categories[57] = 1;
    ASSERT_TRUE(WriteDefRecord(dir(), 0, rec));
    const std::string raw = def();
    ASSERT_EQ(raw.size(), 1804u);
    auto field = [&](std::size_t off, std::size_t len) { return raw.substr(off, len); };
    EXPECT_EQ(field(0, 26), std::string("\x19http://cams.local/pic.jpg"));
    EXPECT_EQ(field(256, 12), "\x0bhttp://link");
    EXPECT_EQ(field(512, 7), "\x06" "Cam001");
    EXPECT_EQ(field(768, 5), "\x04" "desc");
    EXPECT_EQ(field(1024, 4), "\x04\x03\x02\x01");
    EXPECT_EQ(field(1028, 2), "\x01\x01");
    EXPECT_EQ(field(1030, 5), "\x04user");
    EXPECT_EQ(field(1286, 3), "\x02pw");
    EXPECT_EQ(field(1542, 5), std::string("\x01\x00\x09\x02\xFE", 5));
    EXPECT_EQ(raw[1548], 1);
    EXPECT_EQ(raw[1547 + 57], 1);
    EXPECT_EQ(raw[1547 + 58], 0);

    TWebcamDef1Rec rec2 = Rec2("pre");
    rec2.WeatherURL.assign("w");
    rec2.Country.assign("FR");
    rec2.MotionCellSize = 8;
    rec2.MotionThreshold = 5;
    rec2.MotionSensitivity = 30;
    rec2.EnhanceLevel = 0x0102;
    rec2.EnhanceMix = 7;
    rec2.Favourite = 1;
    rec2.NoCheck = 1;
    rec2.EnhanceOn = 1;
    ASSERT_TRUE(WriteDef1Record(dir(), 0, rec2));
    const std::string raw1 = def1();
    ASSERT_EQ(raw1.size(), 1556u);
    EXPECT_EQ(raw1.substr(0, 2), "\x01w");
    EXPECT_EQ(raw1.substr(768, 3), "\x02" "FR");
    EXPECT_EQ(raw1.substr(1024, 4), "\x03pre");
    EXPECT_EQ(raw1.substr(1536, 20),
              std::string("\x08\0\0\0\x05\0\0\0\x1e\0\0\0\x02\x01\x07\0\x01\0\x01\x01", 20));
}

TEST_F(DefinitionFiles, RoundTripKeepsBytesPastAStringsLength) {
    TWebcamDefRec rec = Rec1("LongerName");
    rec.Name.assign("Short");  // the tail "Name" of the longer value stays in the field
    ASSERT_TRUE(WriteDefRecord(dir(), 0, rec));
    ASSERT_TRUE(WriteDef1Record(dir(), 0, Rec2("x")));
    const auto loaded = ReadDefinitionFiles(dir());
    ASSERT_EQ(loaded.size(), 1u);
    EXPECT_EQ(loaded[0].rec1.Name.str(), "Short");
    EXPECT_EQ(std::memcmp(&loaded[0].rec1, &rec, sizeof rec), 0);
    EXPECT_EQ(std::string(loaded[0].rec1.Name.chars, 10), "ShortrName");
}

TEST_F(DefinitionFiles, OverlongLengthByteIsClampedToTheField) {
    ShortString<35> font;
    std::memset(&font, 'x', sizeof font);
    font.length = 200;
    EXPECT_EQ(font.size(), 35u);
    EXPECT_EQ(font.str(), std::string(35, 'x'));
}

TEST_F(DefinitionFiles, WritingPastTheEndPadsWithZeroRecords) {
    ASSERT_TRUE(WriteDefRecord(dir(), 2, Rec1("Third")));
    const std::string raw = def();
    ASSERT_EQ(raw.size(), 3 * 1804u);
    EXPECT_EQ(raw.substr(0, 2 * 1804), std::string(2 * 1804, '\0'));
    EXPECT_EQ(raw.substr(2 * 1804 + 512, 6), "\x05Third");
}

TEST_F(DefinitionFiles, AFileThatCannotBeOpenedIsNeverReplaced) {
    fs::create_directories(dir() + kWebcamsDef);  // exists, but cannot be opened as a file
    EXPECT_FALSE(WriteDefRecord(dir(), 0, Rec1("A")));
    EXPECT_TRUE(fs::is_directory(dir() + kWebcamsDef));
}

TEST_F(DefinitionFiles, MissingSecondFileIsCreatedWithZeroRecords) {
    for (int n = 0; n < 3; ++n) ASSERT_TRUE(WriteDefRecord(dir(), n, Rec1("C" + std::to_string(n))));
    const auto loaded = ReadDefinitionFiles(dir());
    EXPECT_EQ(loaded.size(), 3u);
    EXPECT_EQ(def1(), std::string(4668, '\0'));
}

TEST_F(DefinitionFiles, ShortSecondFileIsPaddedWithZeroRecords) {
    Write(0, "A");
    for (int n = 1; n < 3; ++n) ASSERT_TRUE(WriteDefRecord(dir(), n, Rec1("C" + std::to_string(n))));
    const auto loaded = ReadDefinitionFiles(dir());
    ASSERT_EQ(loaded.size(), 3u);
    EXPECT_EQ(loaded[0].rec2.FilePrefix.str(), "pA");
    EXPECT_TRUE(loaded[1].rec2.FilePrefix.empty());
    EXPECT_TRUE(loaded[2].rec2.FilePrefix.empty());
    EXPECT_EQ(def1().size(), 3 * 1556u);
    EXPECT_EQ(def1().substr(1556), std::string(2 * 1556, '\0'));
}

TEST_F(DefinitionFiles, MissingFilesLoadNothing) {
    EXPECT_TRUE(ReadDefinitionFiles(dir()).empty());
    EXPECT_FALSE(fs::exists(dir() + kWebcams1Def));
}

TEST_F(DefinitionFiles, EmptyUrlRecordsAreCompactedAway) {
    Write(0, "A");
    ASSERT_TRUE(WriteDefRecord(dir(), 1, Rec1("Hole", "")));
    Write(2, "C");
    EXPECT_EQ(Names(), (std::vector<std::string>{"A/pA", "C/pC"}));
    // The files now agree with the list positions.
    EXPECT_EQ(def().size(), 2 * 1804u);
    EXPECT_EQ(def1().size(), 2 * 1556u);
}

TEST_F(DefinitionFiles, DeletesRemoveTheRightRecordsAndKeepBackups) {
    Write(0, "A");
    Write(1, "B", false);
    Write(2, "C");
    Write(3, "B");
    const std::string before = def(), before1 = def1();

    ASSERT_TRUE(DeleteDefRecordNumber(dir(), 2));
    EXPECT_EQ(Names(), (std::vector<std::string>{"A/pA", "B/pB", "B/pB"}));
    EXPECT_EQ(testsupport::ReadFile(dir() + "webcams.bak"), before);
    EXPECT_EQ(testsupport::ReadFile(dir() + "webcams1.bak"), before1);

    ASSERT_TRUE(DeleteDisabledDefRecords(dir()));
    EXPECT_EQ(Names(), (std::vector<std::string>{"A/pA", "B/pB"}));

    ASSERT_TRUE(DeleteDefRecordsByName(dir(), "b"));  // names compare exactly
    EXPECT_EQ(Names().size(), 2u);
    ASSERT_TRUE(DeleteDefRecordsByName(dir(), "B"));
    EXPECT_EQ(Names(), (std::vector<std::string>{"A/pA"}));
    EXPECT_FALSE(fs::exists(dir() + "webcams.def_"));
    EXPECT_FALSE(fs::exists(dir() + "webcams1.def_"));
}

TEST_F(DefinitionFiles, DeletingTheOnlyWebcamLeavesEmptyFiles) {
    Write(0, "A");
    const std::string before = def();
    ASSERT_TRUE(DeleteDefRecordNumber(dir(), 0));
    EXPECT_EQ(fs::file_size(dir() + kWebcamsDef), 0u);
    EXPECT_EQ(fs::file_size(dir() + kWebcams1Def), 0u);
    EXPECT_EQ(testsupport::ReadFile(dir() + "webcams.bak"), before);
}

TEST_F(DefinitionFiles, DeleteThatCannotWriteLeavesBothFilesAsTheyWere) {
    Write(0, "A");
    Write(1, "B");
    const std::string before = def(), before1 = def1();
    // Each of the two new generations in turn cannot be created.
    for (const char* blocked : {"webcams.def_", "webcams1.def_"}) {
        fs::create_directories(dir() + blocked);
        EXPECT_FALSE(DeleteDefRecordNumber(dir(), 0));
        EXPECT_EQ(def(), before);
        EXPECT_EQ(def1(), before1);
        fs::remove(dir() + blocked);
        EXPECT_FALSE(fs::exists(dir() + "webcams.def_"));
        EXPECT_FALSE(fs::exists(dir() + "webcams1.def_"));
    }
}

TEST_F(DefinitionFiles, InterruptedRewritesAreRecoveredAtLoad) {
    Write(0, "A");
    Write(1, "B");
    const std::string def0 = def(), def10 = def1();

    // Cut off before webcams.def was in place: only the new generation remains.
    fs::rename(dir() + kWebcamsDef, dir() + "webcams.def_");
    EXPECT_EQ(Names(), (std::vector<std::string>{"A/pA", "B/pB"}));
    EXPECT_EQ(def(), def0);

    // Cut off between the two replacements: webcams1.def_ is the matching new generation.
    testsupport::WriteFile(dir() + "webcams1.def_", def10.substr(0, 1556));
    testsupport::WriteFile(dir() + kWebcamsDef, def0.substr(0, 1804));
    EXPECT_EQ(Names(), (std::vector<std::string>{"A/pA"}));
    EXPECT_EQ(def1(), def10.substr(0, 1556));

    // Cut off before either replacement: the old generation stands, the new one is dropped.
    testsupport::WriteFile(dir() + "webcams.def_", "partial");
    testsupport::WriteFile(dir() + "webcams1.def_", "partial");
    EXPECT_EQ(Names(), (std::vector<std::string>{"A/pA"}));
    EXPECT_FALSE(fs::exists(dir() + "webcams.def_"));
    EXPECT_FALSE(fs::exists(dir() + "webcams1.def_"));
}

TEST(FormatNumber3, Table) {
    struct Case {
        unsigned n;
        const char* text;
    } cases[] = {{0, "000"}, {7, "007"}, {42, "042"}, {999, "999"}, {1000, "A000"}, {1001, "A001"}, {2345, "B345"}, {26999, "Z999"}};
    for (const Case& c : cases) EXPECT_EQ(FormatNumber3(static_cast<std::uint16_t>(c.n)), c.text) << c.n;
}

TEST_F(DefinitionFiles, NextFreeCamNumberSkipsExistingFolders) {
    struct Case {
        int count;
        std::vector<std::string> folders;
        int next;
    } cases[] = {
        {0, {}, 1},
        {0, {"Cam001"}, 2},
        {0, {"Cam001", "Cam002", "Cam004"}, 3},
        {999, {}, 1000},
        {999, {"CamA000"}, 1001},
        {65535, {"Cam000"}, 65536},  // past 16 bits: no wrap onto the names of 0, 1, ...
    };
    for (const Case& c : cases) {
        testsupport::TempDir data;
        for (const auto& f : c.folders) fs::create_directories(data.path() / f);
        EXPECT_EQ(NextFreeCamNumber(data.folder(), c.count), c.next) << c.count;
    }
}

// Past "CamZ999" the default name is the number's digits: every default name is a distinct safe
// folder name, also for lists longer than 16 bits count.
TEST(DefaultWebcamName, LettersThenDigitsAllSafeFolderNames) {
    const struct {
        int n;
        const char* name;
    } cases[] = {{7, "Cam007"}, {2345, "CamB345"}, {26999, "CamZ999"}, {27000, "Cam27000"}, {28000, "Cam28000"},
                 {65535, "Cam65535"}, {65536, "Cam65536"}, {100001, "Cam100001"}};
    for (const auto& c : cases) EXPECT_EQ(DefaultWebcamName(c.n), c.name) << c.n;
    std::set<std::string> names;
    for (int n = 1; n <= 70000; ++n) {
        const std::string name = DefaultWebcamName(n);
        ASSERT_TRUE(platform::IsSafeFolderName(name)) << n;
        ASSERT_TRUE(names.insert(name).second) << n;
    }
    TWebcamDefRec rec;
    testsupport::TempDir data;
    InitNewWebcamRecord(rec, data.folder(), 27999);
    EXPECT_EQ(rec.Name.str(), "Cam28000");
}

TEST_F(DefinitionFiles, NewWebcamDefaults) {
    fs::create_directories(dataDir() / "Cam001");
    TWebcamDefRec rec;
    std::memset(&rec, 0x55, sizeof rec);
    InitNewWebcamRecord(rec, dir(), 0);
    EXPECT_EQ(rec.PictureURL.str(), "http://");
    EXPECT_EQ(rec.LinkURL.str(), "(Optional link URL here)");
    EXPECT_EQ(rec.Name.str(), "Cam002");
    EXPECT_EQ(rec.Refresh, 60);
    EXPECT_EQ(rec.Enabled, 1);
    EXPECT_EQ(rec.SendLogin, 0);
    EXPECT_TRUE(rec.Description.empty());
    EXPECT_EQ(std::string(rec.Name.chars + 6, 249), std::string(249, '\0'));
}

}  // namespace
