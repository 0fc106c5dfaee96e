#include "engine/list_writer.h"

#include "engine/list_import.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <system_error>

namespace {

using namespace engine;

struct Webcam {
    TWebcamDefRec rec = ZeroRecord<TWebcamDefRec>();
    TWebcamDef1Rec rec2 = ZeroRecord<TWebcamDef1Rec>();
};

Webcam FullWebcam(const std::string& name, const std::string& url) {
    Webcam w;
    w.rec.PictureURL.assign(url);
    w.rec.LinkURL.assign("http://link.example/");
    w.rec.Description.assign("Vue sur la baie \xe0 l'aube");
    w.rec.Name.assign(name);
    w.rec.WebcamType = kWebcamTypeStream;
    w.rec.Refresh = -1;
    w.rec.UserName.assign("user");
    w.rec.Password.assign("pass word");
    w.rec.Categories[1] = 1;
    w.rec.Categories[30] = 7;  // any non-zero flag is set
    w.rec.Categories[57] = 1;
    w.rec2.WeatherURL.assign("http://weather.example/");
    w.rec2.Country.assign("Suisse");
    w.rec2.MapURL.assign("http://map.example/");
    w.rec2.PlaceName.assign("Gen\xe8ve");
    return w;
}

TEST(ListWriter, BlockLinesInTheirOrderWithCrlf) {
    Webcam w = FullWebcam("Baie", "http://cam.example/pic.jpg");
    w.rec.Refresh = -30;
    w.rec.Categories[57] = 0;
    // Not written: the saving mode, the header check, the prefix, the favourite flag.
    w.rec.SaveMode = 12;
    w.rec.HeadCheck = 1;
    w.rec2.FilePrefix.assign("pre");
    w.rec2.Favourite = 1;
    const std::string cats = "1" + std::string(28, '0') + "1" + std::string(27, '0');
    EXPECT_EQ(FormatListBlock(w.rec, w.rec2, {"Referer: http://x/", "X-A: b"}),
              "START\r\nPREF=http://cam.example/pic.jpg\r\nHREF=http://link.example/\r\n"
              "DESC=Vue sur la baie \xe0 l'aube\r\nNAME=Baie\r\nTYPE=2\r\nREFR=-30\r\nUSER=user\r\n"
              "PASS=pass word\r\nCATS=" + cats + "\r\nWREF=http://weather.example/\r\nCNTY=Suisse\r\n"
              "MREF=http://map.example/\r\nPNAM=Gen\xe8ve\r\nADDH=Referer: http://x/\r\nADDH=X-A: b\r\nENDWC\r\n");
}

TEST(ListWriter, WrittenListReadsBackToTheSameRecords) {
    struct Case {
        std::string name, expectedName;
        std::string user;
        int refresh;
    };
    // A name beginning "cam" in any case is a default name: it is not written and comes back empty.
    const std::vector<Case> cases = {
        {"Lautaret", "Lautaret", "user", -1}, {"cam12", "", "", 60}, {"CAMERA", "", "user", 0},
        {"ca", "ca", "", 3600},              {"", "", "", 5},
    };
    testsupport::TempDir temp;
    std::string blocks;
    std::vector<Webcam> webcams;
    for (std::size_t i = 0; i < cases.size(); ++i) {
        Webcam w = FullWebcam(cases[i].name, "http://cam.example/" + std::to_string(i) + ".jpg");
        w.rec.UserName.assign(cases[i].user);
        if (cases[i].user.empty()) w.rec.Password.assign("");
        w.rec.SendLogin = !cases[i].user.empty();
        w.rec.Refresh = cases[i].refresh;
        webcams.push_back(w);
        blocks += FormatListBlock(w.rec, w.rec2, i == 0 ? std::vector<std::string>{"X-Line: 1"} : std::vector<std::string>{});
    }
    const std::string file = temp.folder() + "export.txt";
    WriteListFile(file, false, blocks);

    twebcamstaticlist list;
    ASSERT_EQ(ImportWebcamList(list, file), 0);
    ASSERT_EQ(list.size(), cases.size());
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const TWebcamDefRec& in = webcams[i].rec;
        const TWebcamDefRec& out = list[i].FRec;
        SCOPED_TRACE(cases[i].name);
        EXPECT_EQ(out.PictureURL.str(), in.PictureURL.str());
        EXPECT_EQ(out.LinkURL.str(), in.LinkURL.str());
        EXPECT_EQ(out.Description.str(), in.Description.str());
        EXPECT_EQ(out.Name.str(), cases[i].expectedName);
        EXPECT_EQ(out.WebcamType, in.WebcamType);
        EXPECT_EQ(out.Refresh, in.Refresh);
        EXPECT_EQ(out.UserName.str(), in.UserName.str());
        EXPECT_EQ(out.Password.str(), in.Password.str());
        EXPECT_EQ(out.SendLogin, in.SendLogin);
        for (int k = 1; k <= kCategoryNamesUsed; ++k) EXPECT_EQ(out.Categories[k] != 0, in.Categories[k] != 0) << k;
        EXPECT_EQ(list[i].FRec2.WeatherURL.str(), webcams[i].rec2.WeatherURL.str());
        EXPECT_EQ(list[i].FRec2.Country.str(), webcams[i].rec2.Country.str());
        EXPECT_EQ(list[i].FRec2.MapURL.str(), webcams[i].rec2.MapURL.str());
        EXPECT_EQ(list[i].FRec2.PlaceName.str(), webcams[i].rec2.PlaceName.str());
        EXPECT_EQ(list[i].FHeaderLines.has_value(), i == 0);
    }
    EXPECT_EQ(*list[0].FHeaderLines, std::vector<std::string>{"X-Line: 1"});
}

TEST(ListWriter, AppendingWritesTheHeaderLineAgain) {
    testsupport::TempDir temp;
    const std::string file = temp.folder() + "list.txt";
    const Webcam a = FullWebcam("A", "http://a/1.jpg"), b = FullWebcam("B", "http://b/2.jpg");
    const std::string blockA = FormatListBlock(a.rec, a.rec2, {}), blockB = FormatListBlock(b.rec, b.rec2, {});
    testsupport::WriteFile(file, "old contents\r\n");
    WriteListFile(file, false, blockA);
    EXPECT_EQ(testsupport::ReadFile(file), "ENCODE\r\n" + blockA);
    WriteListFile(file, true, blockB);
    EXPECT_EQ(testsupport::ReadFile(file), "ENCODE\r\n" + blockA + "ENCODE\r\n" + blockB);
    WriteListFile(temp.folder() + "new.txt", true, blockB);
    EXPECT_EQ(testsupport::ReadFile(temp.folder() + "new.txt"), "ENCODE\r\n" + blockB);
    EXPECT_THROW(WriteListFile(temp.folder() + "no/such/folder.txt", false, blockA), std::system_error);
}

TEST(ListWriter, LineBreaksInAValueCannotStartAKey) {
    Webcam w = FullWebcam("A", "http://a/1.jpg");
    w.rec.Description.assign("two\r\nPREF=http://evil/x.jpg\nlines");
    testsupport::TempDir temp;
    WriteListFile(temp.folder() + "l.txt", false, FormatListBlock(w.rec, w.rec2, {"X: y\r"}));
    twebcamstaticlist list;
    ImportWebcamList(list, temp.folder() + "l.txt");
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].FRec.PictureURL.str(), "http://a/1.jpg");
    EXPECT_EQ(list[0].FRec.Description.str(), "twoPREF=http://evil/x.jpglines");
    EXPECT_EQ(*list[0].FHeaderLines, std::vector<std::string>{"X: y"});
}

}  // namespace
