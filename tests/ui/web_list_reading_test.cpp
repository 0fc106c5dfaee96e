// A list read for the list manager: the long-operation notice before a ".dat" list and the
// hourglass while any foreign list is read, gone afterwards however the read ends.
#include "ui/web/list_reading.h"

#include "platform/qt/scripted_prompts.h"
#include "ui/dialogs/dialog_controls.h"

#include <QApplication>
#include <QCursor>

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

bool Hourglass() { return QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::WaitCursor; }

TEST(ReadWebcamList, DatListWarnsFirstAndForeignListsReadUnderTheHourglass) {
    struct Case {
        const char* path;
        bool notice;
        bool hourglass;
    };
    const std::vector<Case> cases = {
        {"/l/cams.dat", true, true}, {"/l/CAMS.DAT", true, true}, {"/l/cams.jcc", false, true},
        {"/l/cams.lgs", false, true}, {"/l/cams.txt", false, false}, {"/l/dat", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        platform::ScriptedPrompts prompts;
        QStringList shownBeforeRead;
        bool hourglassWhileRead = false;
        engine::twebcamstaticlist list;
        EXPECT_EQ(ui::ReadWebcamList(list, c.path,
                                     [&](engine::twebcamstaticlist&, const std::string& path) {
                                         EXPECT_EQ(path, c.path);
                                         shownBeforeRead = prompts.shown;
                                         hourglassWhileRead = Hourglass();
                                         return 3;
                                     }),
                  3);
        EXPECT_EQ(shownBeforeRead, c.notice ? QStringList{ui::Message(65116)} : QStringList{});
        EXPECT_EQ(hourglassWhileRead, c.hourglass);
        EXPECT_FALSE(Hourglass());
    }
    engine::twebcamstaticlist list;
    platform::ScriptedPrompts prompts;
    EXPECT_THROW(ui::ReadWebcamList(list, "/l/gone.dat",
                                    [](engine::twebcamstaticlist&, const std::string&) -> int {
                                        throw std::runtime_error("gone");
                                    }),
                 std::runtime_error);
    EXPECT_FALSE(Hourglass());
}

}  // namespace
