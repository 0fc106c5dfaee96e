// Exporting webcams to a list file.

#include "tests/ui/commands_fixture.h"

#include "tests/support/temp_dir.h"
#include "ui/commands/command_messages.h"

#include <filesystem>

namespace commandstest {
namespace {

namespace fs = std::filesystem;

class ExportCommand : public CommandsTest {
protected:
    void SetUp() override {
        CommandsTest::SetUp();
        MakeManagerWith({"One", "Two"});
        host_.selectEnabled = [](int& which, int& append) {
            which = 4;  // the current webcam only
            append = 0;
            return true;
        };
    }
};

TEST_F(ExportCommand, TheListFileAlwaysEndsInTxt) {
    host_.current = 2;
    for (const char* chosen : {"list", "other.TXT"}) {
        SCOPED_TRACE(chosen);
        host_.saveFileName = QString::fromStdString((temp_.path() / chosen).string());
        commands_->SaveWebcamList1Click();
    }
    const std::string list = testsupport::ReadFile(temp_.path() / "list.txt");
    EXPECT_NE(list.find("Two"), std::string::npos);
    EXPECT_EQ(list.find("One"), std::string::npos);
    EXPECT_TRUE(fs::exists(temp_.path() / "other.TXT"));
    EXPECT_TRUE(host_.prompts.isEmpty());
    EXPECT_EQ(host_.calls.first(), "Tselectenabled");
    EXPECT_EQ(host_.calls.at(1), "SaveDialog1 Text files (*.txt);;All FIles (*)");
}

TEST_F(ExportCommand, AFileThatCannotBeWrittenIsSaid) {
    const QString file = QString::fromStdString((temp_.path() / "missing" / "list.txt").string());
    host_.saveFileName = file;
    commands_->SaveWebcamList1Click();
    EXPECT_EQ(host_.prompts, QStringList{"message: " + Text(ui::kMsgFileError) + file});
}

TEST_F(ExportCommand, CancelledChoicesWriteNothing) {
    host_.saveFileName.clear();
    commands_->SaveWebcamList1Click();
    host_.selectEnabled = nullptr;
    commands_->SaveWebcamList1Click();
    EXPECT_EQ(host_.calls, (QStringList{"Tselectenabled", "SaveDialog1 Text files (*.txt);;All FIles (*)",
                                        "Tselectenabled"}));
    EXPECT_TRUE(host_.prompts.isEmpty());
}

}  // namespace
}  // namespace commandstest
