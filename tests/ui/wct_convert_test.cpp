// "Importer wct": the tab-separated table into a webcam list; a short line writes nothing.
#include "ui/tools/wct_convert.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <string>

#include "tests/support/temp_dir.h"

namespace {

using testsupport::ReadFile;
using testsupport::WriteFile;

std::string Row(const std::string& category, const std::string& description, const std::string& url,
                const std::string& link) {
    // Fields 0..9 each end in a tab; the text after the last tab is no field.
    return category + "\t" + description + "\tx\t" + url + "\t4\t5\t6\t7\t8\t" + link + "\tlast";
}

std::string Block(const std::string& url, const std::string& link, const std::string& description,
                  const std::string& cats) {
    return "START\r\nPREF=" + url + "\r\nHREF=" + link + "\r\nDESC=" + description + "\r\nTYPE=0\r\nCATS=" + cats +
           "\r\nWREF=\r\nCNTY=\r\nMREF=\r\nPNAM=\r\nENDWC\r\n";
}

std::string Flags(std::initializer_list<int> positions) {
    std::string flags(57, '0');
    for (int p : positions) flags[p - 1] = '1';
    return flags;
}

TEST(WctConvertTest, EachRowBecomesAWebcamWithItsCategory) {
    testsupport::TempDir dir;
    WriteFile(dir.path() / "wct.dat",
              Row("Monde", "Paris", "http://a/1.jpg", "http://a/") + "\r\n" +
                  Row("M\xE9t\xE9o", "Nice", "http://b/2.jpg", "http://b/") + "\n" +
                  Row("Espace", "Lune", "http://c/3.jpg", "http://c/") + "\n" +
                  Row("monde", "Autre", "http://d/4.jpg", "") + "\n");
    ui::ConvertWctFile(dir.folder());
    EXPECT_EQ("ENCODE\r\n" + Block("http://a/1.jpg", "http://a/", "Paris", Flags({1})) +
                  Block("http://b/2.jpg", "http://b/", "Nice", Flags({13})) +
                  Block("http://c/3.jpg", "http://c/", "Lune", Flags({57})) +
                  Block("http://d/4.jpg", "", "Autre", Flags({})),  // the name is compared exactly
              ReadFile(dir.path() / "wct.txt"));
    EXPECT_EQ(2, std::distance(std::filesystem::directory_iterator(dir.path()), {}));  // no temporary left
}

TEST(WctConvertTest, AShortLineOrAMissingTableWritesNothing) {
    testsupport::TempDir dir;
    EXPECT_THROW(ui::ConvertWctFile(dir.folder()), std::exception);
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "wct.txt"));

    const struct {
        const char* name;
        std::string table;
        const char* text;
    } cases[] = {
        // Nine fields: the tenth (the link) is missing.
        {"nine fields", Row("Monde", "Paris", "u", "l") + "\n" + "a\tb\tc\td\te\tf\tg\th\ti\tj\n",
         "List index out of bounds (9)"},
        {"no tab at all", "just text\n", "List index out of bounds (3)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteFile(dir.path() / "wct.txt", "older list");
        WriteFile(dir.path() / "wct.dat", c.table);
        try {
            ui::ConvertWctFile(dir.folder());
            ADD_FAILURE() << "no error";
        } catch (const std::out_of_range& e) {
            EXPECT_STREQ(c.text, e.what());
        }
        EXPECT_EQ("older list", ReadFile(dir.path() / "wct.txt"));
    }
}

}  // namespace
