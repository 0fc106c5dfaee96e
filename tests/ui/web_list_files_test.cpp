// The files of the list download: the index lines, the saved list's file name, the known lists
// of "downloaded.txt" and the line-to-path rule of the list manager.
#include "ui/web/list_files.h"

#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <system_error>

namespace {

TEST(ListIndex, SplitsNameAndUrlAtTheFirstComma) {
    const auto entries = ui::ParseListIndex(
        "Europe - 150 webcams,http://site/europe.txt\r\n\r\nhttp://site/unnamed.txt\nAsia,http://site/a,b.txt");
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].name, "Europe - 150 webcams");
    EXPECT_EQ(entries[0].url, "http://site/europe.txt");
    EXPECT_EQ(entries[1].name, "");  // a line without a comma is all URL
    EXPECT_EQ(entries[1].url, "http://site/unnamed.txt");
    EXPECT_EQ(entries[2].name, "Asia");
    EXPECT_EQ(entries[2].url, "http://site/a,b.txt");
}

TEST(SavedListFileName, CutsAtTheFirstDashAndKeepsOnlySafeCharacters) {
    const std::vector<std::pair<std::string, QString>> cases = {
        {"Europe - 150 webcams", "europe.txt"},
        {"Asia", "asia.txt"},
        {"-Top-", "-top-.txt"},                  // a dash first: the name stays whole
        {"../../x", "x.txt"},                    // no separator, no ".." left
        {"..\\..\\etc", "etc.txt"},
        {"a/b - c", "ab.txt"},
        {"Am\xE9rique du Sud", "amérique du sud.txt"},  // Windows-1252 from the site
        {"x..y", "x.y.txt"},
        {"..", "list.txt"},
        {"", "list.txt"},
        {"A-B", "list.txt"},                     // the blank before the dash is the "A"
        {"tab\there", "tabhere.txt"},
    };
    for (const auto& [name, file] : cases) EXPECT_EQ(ui::SavedListFileName(name), file) << name;
    EXPECT_LE(ui::SavedListFileName(std::string(300, 'a')).size(), 104);
}

TEST(ListPathOfLine, TakesThePathAfterTheNameOrABarePathWhole) {
    const std::vector<std::pair<QString, QString>> cases = {
        {"Europe - 150 webcams - /opt/ovl/europe.txt", "/opt/ovl/europe.txt"},
        {"Asia - /opt/ovl/asia.txt", "/opt/ovl/asia.txt"},
        {"/etc/passwd - /opt/ovl/etcpasswd.txt", "/opt/ovl/etcpasswd.txt"},
        {"A - /tmp/x - /opt/ovl/a.txt", "/opt/ovl/a.txt"},
        {"A - /opt/ovl/b - /opt/ovl/a.txt", "/opt/ovl/a.txt"},
        {"-b - c - /opt/ovl/-b - c.txt", "/opt/ovl/-b - c.txt"},
        {"/opt/ovl/own.txt", "/opt/ovl/own.txt"},
        {"Asia - /home/me/My - Lists/asia.txt", "/home/me/My - Lists/asia.txt"},  // another folder's
        {"/home/me/lists - 2026/own.txt", "/home/me/lists - 2026/own.txt"},
        {"Old - relative.txt", "relative.txt"},
        {"plain.txt", "plain.txt"},
    };
    for (const auto& [line, path] : cases)
        EXPECT_EQ(ui::ListPathOfLine(line, "/opt/ovl/"), path) << line.toStdString();
}

class DownloadedFile : public ::testing::Test {
protected:
    testsupport::TempDir temp_;
    std::string folder_ = temp_.folder();
};

TEST_F(DownloadedFile, KeepsOneSortedLinePerList) {
    EXPECT_TRUE(ui::ReadDownloadedLines(folder_).isEmpty());  // missing file: no lines
    ui::AddDownloadedEntry(folder_, "Europe - /p/europe.txt");
    ui::AddDownloadedEntry(folder_, "asia - /p/asia.txt");
    ui::AddDownloadedEntry(folder_, "Europe - /p/europe.txt");
    EXPECT_EQ(ui::ReadDownloadedLines(folder_), (QStringList{"asia - /p/asia.txt", "Europe - /p/europe.txt"}));
    EXPECT_EQ(testsupport::ReadFile(temp_.path() / "downloaded.txt"), "asia - /p/asia.txt\nEurope - /p/europe.txt\n");
}

TEST_F(DownloadedFile, ListTextIsReplacedWholeOrNotAtAll) {
    const std::string path = folder_ + "europe.txt";
    ui::SaveListText(path, "old");
    ui::SaveListText(path, "ENCODE\nSTART\n");
    EXPECT_EQ(testsupport::ReadFile(path), "ENCODE\nSTART\n");
    EXPECT_THROW(ui::SaveListText(folder_ + "missing/europe.txt", "text"), std::system_error);
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(temp_.path())) ++files;
    EXPECT_EQ(files, 1u);  // no temporary file left behind
}

}  // namespace
