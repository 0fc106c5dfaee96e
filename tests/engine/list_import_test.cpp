#include "engine/list_import.h"

#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <string>
#include <system_error>
#include <vector>

namespace {

using namespace engine;

const std::string kFixtures = std::string(ORVELLO_FIXTURES) + "lists/";

// The fields a list can set, in one comparable line per webcam.
std::string Summary(const twebcamstaticobject& item) {
    const TWebcamDefRec& r = item.FRec;
    std::string cats;
    for (int k = 1; k <= kCategoryNamesUsed; ++k)
        if (r.Categories[k]) cats += (cats.empty() ? "" : ",") + std::to_string(k);
    std::string text = std::to_string(item.FPosition) + " " + r.PictureURL.str() + " |" + r.LinkURL.str() + "|" +
                       r.Description.str() + "|" + r.Name.str() + "| type " + std::to_string(r.WebcamType) +
                       " refr " + std::to_string(r.Refresh) + " login " + std::to_string(r.SendLogin) + " " +
                       r.UserName.str() + "/" + r.Password.str() + " cats " + cats + " |" +
                       item.FRec2.WeatherURL.str() + "|" + item.FRec2.Country.str() + "|" +
                       item.FRec2.MapURL.str() + "|" + item.FRec2.PlaceName.str() + "|";
    if (item.FHeaderLines)
        for (const std::string& line : *item.FHeaderLines) text += " +" + line;
    return text;
}

std::vector<std::string> Summaries(const twebcamstaticlist& list) {
    std::vector<std::string> out;
    for (const auto& item : list) out.push_back(Summary(item));
    return out;
}

TEST(ListImport, OwnFormatReadsEveryKeyAndCountsItsErrors) {
    twebcamstaticlist list;
    // One duplicate URL in another case, one REFR= and one TYPE= that are not numbers, and a
    // CATS= of 50 characters (7 missing).
    EXPECT_EQ(ImportWebcamList(list, kFixtures + "own_list.txt"), 10);
    const std::vector<std::string> expected = {
        "0 http://www.alpes.example/cams/col.jpg |http://www.alpes.example/|Col du Lautaret \xe9t\xe9|Lautaret \xe9t\xe9| "
        "type 0 refr 120 login 1 guest/secret cats 1,57 |http://meteo.example/lautaret|France|"
        "http://maps.example/lautaret|Lautaret| +Referer: http://www.alpes.example/",
        // The dropped duplicate's extra request line carries over to the next webcam.
        "1 http://port.example/live.mjpg ||Port stream|Cam017| type 2 refr -1 login 0 / "
        "cats 2,4,6,8,10,12,14,16,18,20,22,24,26,28,30,32,34,36,38,40,42,44,46,48,50 |||||"
        " +X-Carried: over",
        "2 http://lac.example/lac.jpg ||Lac|| type 0 refr -1 login 0 / cats 56 |||||",
    };
    EXPECT_EQ(Summaries(list), expected);
    EXPECT_FALSE(list[2].FHeaderLines.has_value());
}

TEST(ListImport, HostileListImportsSafely) {
    twebcamstaticlist list;
    EXPECT_EQ(ImportOwnListFormat(list, kFixtures + "hostile_list.txt"), 1);  // REFR= beyond 32 bits
    ASSERT_EQ(list.size(), 4u);  // the block without a picture and the unended one add nothing
    const std::vector<std::string> names = {list[0].FRec.Name.str(), list[1].FRec.Name.str(),
                                            list[2].FRec.Name.str(), list[3].FRec.Name.str()};
    // Unsafe folder names are emptied, so adding them gives the default name.
    EXPECT_EQ(names, (std::vector<std::string>{"", "", "ok name", ""}));
    for (const auto& item : list) EXPECT_EQ(item.FRec.Refresh, -1) << item.FRec.PictureURL.str();
    EXPECT_EQ(list[2].FRec.PictureURL.size(), 255u);
    EXPECT_EQ(list[2].FRec.PictureURL.str(), ("http://h.example/" + std::string(379, 'p')).substr(0, 255));
    EXPECT_EQ(list[2].FRec.Description.str(), std::string(255, 'd'));
    // Only the extra request line without control characters is kept.
    ASSERT_TRUE(list[1].FHeaderLines.has_value());
    EXPECT_EQ(*list[1].FHeaderLines, std::vector<std::string>{"X-Ok: yes"});
}

TEST(ListImport, OwnFormatNumbersAndCategories) {
    struct Case {
        std::string lines;
        int errors;
        int refresh;
        int type;
    };
    const std::vector<Case> cases = {
        {"REFR=30", 0, 30, 0},
        {"REFR= 30", 0, 30, 0},
        {"REFR=0", 0, 0, 0},
        {"REFR=-1", 0, -1, 0},
        {"REFR=-5", 0, -1, 0},
        {"REFR=-2147483648", 0, -1, 0},
        {"REFR=abc", 1, -1, 0},
        {"REFR=", 1, -1, 0},
        {"REFR=12x", 1, -1, 0},
        {"REFR=+-5", 1, -1, 0},
        {"REFR=2147483648", 1, -1, 0},
        {"TYPE=2", 0, -1, 2},
        {"TYPE=258", 0, -1, 2},  // the low byte
        {"TYPE=two", 1, -1, 0},
        {"TYPE=2\nTYPE=?", 1, -1, 0},
        {"refr=30", 0, -1, 0},  // keys are case-sensitive; unknown ones are passed over
    };
    for (const Case& c : cases) {
        twebcamstaticlist list;
        const std::string text = "ENCODE\nSTART\nPREF=http://x/y.jpg\n" + c.lines + "\nENDWC\n";
        EXPECT_EQ(ParseWebcamList(ListFormat::Own, text, list), c.errors) << c.lines;
        ASSERT_EQ(list.size(), 1u) << c.lines;
        EXPECT_EQ(list[0].FRec.Refresh, c.refresh) << c.lines;
        EXPECT_EQ(list[0].FRec.WebcamType, c.type) << c.lines;
    }

    twebcamstaticlist list;
    const std::string cats = "CATS=1x" + std::string(53, '0') + "1111";  // one bad, four ignored
    EXPECT_EQ(ParseWebcamList(ListFormat::Own, "START\nPREF=a\nCATS=" + std::string(57, '1') + "\n" + cats + "\nENDWC", list), 1);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].FRec.Categories[1], 1);
    EXPECT_EQ(list[0].FRec.Categories[2], 1);  // the bad character left the flag as it was
    EXPECT_EQ(list[0].FRec.Categories[3], 0);
    EXPECT_EQ(list[0].FRec.Categories[57], 1);
    EXPECT_EQ(list[0].FRec.Categories[58], 0);
}

TEST(ListImport, AppendsAfterWhatTheListHolds) {
    twebcamstaticlist list(2);
    ParseWebcamList(ListFormat::Own, "START\r\nPREF=http://a/1.jpg\r\nENDWC\r\nSTART\r\nPREF=http://a/2.jpg\r\nENDWC", list);
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(list[2].FPosition, 2);
    EXPECT_EQ(list[3].FPosition, 3);
    EXPECT_EQ(list[3].FRec.PictureURL.str(), "http://a/2.jpg");
}

TEST(ListImport, ForeignFormats) {
    struct Case {
        std::string file;
        std::vector<std::string> expected;
    };
    const std::string none = " type 0 refr -1 login 0 / cats  |||||";
    const std::vector<Case> cases = {
        {"list.jcc",
         {// The description is the quoted text; ".jpg" ends the URL only in lower case.
          "0 http://a.example/pic.jpg ||Grand Place||" + none,
          "1 http://b.example/cam.JPG NAME=Harbour view WEB=http://b.example ||Harbour view ||" + none,
          "2 http://d.example/stream NAME=No picture suffix ||No picture suffix||" + none}},
        {"list.dat",
         {// Duplicates in another case, URLs of 80 characters or more and URLs with a NUL are skipped.
          "0 http://a.example/one.jpg ||||" + none, "1 http://d.example/three.jpg ||||" + none}},
        {"list.lgs",
         {// "[$" sections are no webcams; the last section has no picture line and ends the file.
          "0 http://mb.example/cam.jpg |http://mb.example/|Mont Blanc||" + none,
          "1 http://lac.example/lac.jpg |http://lac.example/|Lac||" + none}},
    };
    for (const Case& c : cases) {
        twebcamstaticlist list;
        EXPECT_EQ(ImportWebcamList(list, kFixtures + c.file), 0) << c.file;
        EXPECT_EQ(Summaries(list), c.expected) << c.file;
    }
}

TEST(ListImport, LgsSectionsCutOffAtTheEnd) {
    struct Case {
        std::string text;
        std::vector<std::string> urls;
    };
    const std::vector<Case> cases = {
        {"[A]\nIURL=http://a/1.jpg", {"http://a/1.jpg"}},  // no link line: kept without a link
        {"[A]\nIURL=http://a/1.jpg\n[B]\nIURL=http://b/2.jpg", {"http://a/1.jpg", "http://b/2.jpg"}},
        {"[A]\nIURL=\nHURL=http://a/", {}},  // no picture: nothing to add
        {"[A]\nHURL=http://a/", {}},
        {"[", {}},
        {"", {}},
    };
    for (const Case& c : cases) {
        twebcamstaticlist list;
        ParseWebcamList(ListFormat::Lgs, c.text, list);
        std::vector<std::string> urls;
        for (const auto& item : list) urls.push_back(item.FRec.PictureURL.str());
        EXPECT_EQ(urls, c.urls) << c.text;
    }
}

TEST(ListImport, FormatByExtension) {
    const std::vector<std::pair<std::string, ListFormat>> cases = {
        {"list.jcc", ListFormat::Jcc}, {"/x/LIST.JCC", ListFormat::Jcc}, {"a.Dat", ListFormat::Dat},
        {"b.lgs", ListFormat::Lgs},    {"europe.txt", ListFormat::Own},  {"list.lgs.txt", ListFormat::Own},
        {"jcc", ListFormat::Own},      {"", ListFormat::Own},            {".dat", ListFormat::Dat},
    };
    for (const auto& [name, format] : cases) EXPECT_EQ(ListFormatOf(name), format) << name;
}

TEST(ListImport, UnreadableFileThrows) {
    testsupport::TempDir temp;
    twebcamstaticlist list;
    EXPECT_THROW(ImportWebcamList(list, temp.folder() + "missing.txt"), std::system_error);
    EXPECT_THROW(ImportWebcamList(list, temp.folder()), std::system_error);  // a folder
    EXPECT_TRUE(list.empty());
}

}  // namespace
