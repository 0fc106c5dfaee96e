// Dropped text and shortcut files turned into picture URLs.

#include <gtest/gtest.h>

#include <string>

#include "desktop/url_drop.h"
#include "tests/support/temp_dir.h"

namespace desktop {
namespace {

TEST(DroppedText, OnlyLinesBeginningWithHttpAreTaken) {
    struct Case {
        const char* line;
        bool taken;
    } cases[] = {
        {"http://cam.example/a.jpg", true},
        {"HTTP://cam.example/b.jpg", true},  // the scheme is compared lower-cased
        {"Http:x", true},
        {" http://cam.example/c.jpg", false},  // a leading blank
        {"https://cam.example/d.jpg", false},  // not "http:" in its first five characters
        {"ftp://cam.example/e.jpg", false},
        {"http:/with\ta tab", false},  // a control character
        {"", false},
    };
    for (const Case& c : cases) {
        const DroppedLines lines = UrlsFromText(c.line);
        EXPECT_EQ(lines.urls.size(), c.taken ? 1u : 0u) << '"' << c.line << '"';
        if (c.taken && !lines.urls.empty()) EXPECT_EQ(lines.urls[0], c.line);
    }
}

TEST(DroppedText, LinesEndInAnyWayAndLongOnesAreRefused) {
    const std::string text = "http://a/1.jpg\r\nsome words\nhttp://a/2.jpg\rhttp://a/" + std::string(300, 'x') + "\n";
    const DroppedLines lines = UrlsFromText(text);
    EXPECT_EQ(lines.urls, (std::vector<std::string>{"http://a/1.jpg", "http://a/2.jpg"}));
    EXPECT_FALSE(lines.capped);
    // UTF-8 text becomes the record's Windows-1252 bytes.
    EXPECT_EQ(UrlsFromText("http://a/caf\xc3\xa9.jpg").urls, (std::vector<std::string>{"http://a/caf\xe9.jpg"}));
}

TEST(DroppedText, ReadingStopsAtTheLineCap) {
    std::string text;
    for (std::size_t i = 0; i < kMaxDroppedLines + 10; ++i) text += "http://a/" + std::to_string(i) + ".jpg\n";
    const DroppedLines lines = UrlsFromText(text);
    EXPECT_TRUE(lines.capped);
    EXPECT_EQ(lines.linesRead, kMaxDroppedLines);
    EXPECT_EQ(lines.urls.size(), kMaxDroppedLines);
}

class ShortcutFiles : public testsupport::IsolatedTest {
protected:
    std::filesystem::path Write(const std::string& name, const std::string& content) {
        const std::filesystem::path file = temp_.path() / name;
        testsupport::WriteFile(file, content);
        return file;
    }
};

TEST_F(ShortcutFiles, TheAddressLineOfAnInternetShortcutOrADesktopLink) {
    struct Case {
        const char* name;
        std::string content;
        std::optional<std::string> url;
    } cases[] = {
        {"lower.url", "[InternetShortcut]\r\nurl=http://cam.example/l.jpg\r\n", "http://cam.example/l.jpg"},
        {"UPPER.URL", "[InternetShortcut]\r\nURL=http://cam.example/u.jpg\r\nIconIndex=0\r\n", "http://cam.example/u.jpg"},
        {"first.url", "URL=http://a/1.jpg\nURL=http://a/2.jpg\n", "http://a/1.jpg"},
        {"none.url", "[InternetShortcut]\r\nIconIndex=0\r\n", std::nullopt},
        {"cam.desktop", "[Desktop Entry]\nName=Cam\nType=Link\nURL=http://cam.example/d.jpg\n", "http://cam.example/d.jpg"},
        {"app.desktop", "[Desktop Entry]\nName=App\nType=Application\nURL=http://cam.example/x.jpg\n", std::nullopt},
        {"action.desktop", "[Desktop Entry]\nType=Link\nURL=http://a/main.jpg\n[Desktop Action x]\nURL=http://a/other\n",
         "http://a/main.jpg"},
        {"notes.txt", "URL=http://cam.example/t.jpg\n", std::nullopt},
        {"big.url", "URL=http://cam.example/big.jpg\n" + std::string(kMaxShortcutFileSize, ' '), std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(ShortcutFileUrl(Write(c.name, c.content)), c.url) << c.name;
}

TEST_F(ShortcutFiles, AFolderOrAMissingFileGivesNothing) {
    std::filesystem::create_directories(temp_.path() / "folder.url");
    EXPECT_EQ(ShortcutFileUrl(temp_.path() / "folder.url"), std::nullopt);
    EXPECT_EQ(ShortcutFileUrl(temp_.path() / "missing.url"), std::nullopt);
}

}  // namespace
}  // namespace desktop
