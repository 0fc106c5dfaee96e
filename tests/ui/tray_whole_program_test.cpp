// The program ovl with a notification area on its desktop (trayer): the icon is there, "Envoyer
// dans le systray" hides the window, a double click on the icon brings it back, and "Quitter"
// in the icon's menu ends the program cleanly with its records written. Screenshots are kept.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/peers.h"
#include "tests/support/webcam_defs.h"
#include "tests/support/xvfb_display.h"
#include "tests/ui/whole_program_fixture.h"

namespace wholeprogram {
namespace {

using namespace std::chrono_literals;

struct WindowBox {
    std::string id;
    int x = 0, y = 0, width = 0, height = 0;
};

class TrayWholeProgram : public WholeProgramTest {
protected:
    void TearDown() override {
        WholeProgramTest::TearDown();  // ovl first, then its tray host
        testsupport::EndProgram(trayer_);
    }

    // trayer along the top right of the screen, owning the display's notification area.
    void StartTrayHost() {
        trayer_ = testsupport::StartProgram(
            testsupport::FindProgram("trayer"),
            {"--edge", "top", "--align", "right", "--widthtype", "pixel", "--width", "120", "--heighttype", "pixel",
             "--height", "32", "--SetDockType", "true", "--transparent", "false"},
            {"DISPLAY=" + xvfb_->display()}, (temp_.path() / "trayer.log").string());
        ASSERT_GT(trayer_, 0);
        ASSERT_FALSE(desktop_->WaitForWindow("^panel$", 10000).empty()) << testsupport::ReadFile(temp_.path() / "trayer.log");
    }

    // A visible window of ovl: its main window, or the icon (a small window in the tray).
    std::optional<WindowBox> FindWindow(bool icon) const {
        std::string ids;
        if (!desktop_->Xdo({"search", "--onlyvisible", "--pid", std::to_string(ovl_)}, &ids)) return std::nullopt;
        std::istringstream lines(ids);
        for (std::string id; std::getline(lines, id);) {
            std::string shell;
            if (id.empty() || !desktop_->Xdo({"getwindowgeometry", "--shell", id}, &shell)) continue;
            WindowBox box{id};
            std::istringstream values(shell);
            for (std::string line; std::getline(values, line);) {
                const auto equals = line.find('=');
                if (equals == std::string::npos) continue;
                const std::string key = line.substr(0, equals);
                const int value = std::atoi(line.c_str() + equals + 1);
                if (key == "X") box.x = value;
                if (key == "Y") box.y = value;
                if (key == "WIDTH") box.width = value;
                if (key == "HEIGHT") box.height = value;
            }
            if ((box.width <= 64 && box.height <= 64) == icon) return box;
        }
        return std::nullopt;
    }
    std::optional<WindowBox> WaitForWindow(bool icon) const {
        std::optional<WindowBox> box;
        testsupport::WaitFor([&] { return (box = FindWindow(icon)).has_value(); }, 20s);
        return box;
    }

    // Pixels inside a box of the screen that are all dark or all light (a menu over the black
    // desktop).
    static int Pixels(const testsupport::Screenshot& shot, const WindowBox& box, bool dark) {
        int count = 0;
        for (int y = std::max(0, box.y); y < std::min(shot.height, box.y + box.height); ++y)
            for (int x = std::max(0, box.x); x < std::min(shot.width, box.x + box.width); ++x) {
                const std::uint8_t* p = &shot.rgb[(static_cast<std::size_t>(y) * shot.width + x) * 3];
                const bool isDark = p[0] < 100 && p[1] < 100 && p[2] < 100;
                const bool isLight = p[0] > 200 && p[1] > 200 && p[2] > 200;
                if (dark ? isDark : isLight) ++count;
            }
        return count;
    }

    // Pixels inside a box that stand out from its top-left pixel (the tray's background): the
    // icon's picture, whatever its colours.
    static int PicturePixels(const testsupport::Screenshot& shot, const WindowBox& box) {
        const auto at = [&](int x, int y) { return &shot.rgb[(static_cast<std::size_t>(y) * shot.width + x) * 3]; };
        const int x0 = std::max(0, box.x), y0 = std::max(0, box.y);
        const std::uint8_t* background = at(x0, y0);
        int count = 0;
        for (int y = y0; y < std::min(shot.height, box.y + box.height); ++y)
            for (int x = x0; x < std::min(shot.width, box.x + box.width); ++x) {
                const std::uint8_t* p = at(x, y);
                for (int c = 0; c < 3; ++c)
                    if (std::abs(p[c] - background[c]) > 40) {
                        ++count;
                        break;
                    }
            }
        return count;
    }

    bool IconClick(const WindowBox& icon, const std::vector<std::string>& click) const {
        std::vector<std::string> arguments{"mousemove", std::to_string(icon.x + icon.width / 2),
                                           std::to_string(icon.y + icon.height / 2), "sleep", "0.3", "click"};
        arguments.insert(arguments.end(), click.begin(), click.end());
        return desktop_->Xdo(arguments);
    }

    pid_t trayer_ = -1;
};

TEST_F(TrayWholeProgram, HidesToTheIconComesBackAndQuitsFromItsMenu) {
    ORVELLO_NEED_PEER("trayer");
    ServePicture("red.jpg", kRed);
    testsupport::WriteWebcamDefs(dataFolder(), {Url("red.jpg")});
    StartTrayHost();
    ASSERT_TRUE(StartOvl());

    const std::optional<WindowBox> main = WaitForWindow(false);
    const std::optional<WindowBox> icon = WaitForWindow(true);
    ASSERT_TRUE(main && icon) << OvlLog();
    mainWindow_ = main->id;
    const std::optional<testsupport::Screenshot> first = Shot("icon_in_tray");
    ASSERT_TRUE(first);
    EXPECT_GT(PicturePixels(*first, *icon), 10) << "no picture where the icon is";

    // File menu, "Envoyer dans le systray": the item above the last one ("Quitter").
    ASSERT_TRUE(desktop_->Focus(mainWindow_));
    ASSERT_TRUE(desktop_->Keys({"alt+f", "Up", "Up", "Return"}));
    ASSERT_TRUE(testsupport::WaitFor([&] { return !desktop_->Visible(mainWindow_); }, 10s)) << OvlLog();
    Shot("hidden");
    EXPECT_TRUE(FindWindow(true).has_value());  // the icon stays

    // A double click on the icon brings the window back.
    ASSERT_TRUE(IconClick(*icon, {"--repeat", "2", "--delay", "120", "1"}));
    ASSERT_TRUE(testsupport::WaitFor([&] { return desktop_->Visible(mainWindow_); }, 10s)) << OvlLog();
    Shot("restored");

    // Hidden again, then "Quitter" in the icon's menu (its last item) ends the program.
    ASSERT_TRUE(desktop_->Focus(mainWindow_));
    ASSERT_TRUE(desktop_->Keys({"alt+f", "Up", "Up", "Return"}));
    ASSERT_TRUE(testsupport::WaitFor([&] { return !desktop_->Visible(mainWindow_); }, 10s)) << OvlLog();
    ASSERT_TRUE(IconClick(*icon, {"3"}));
    // The menu opens below the tray, over the black desktop.
    const WindowBox below{"", icon->x - 200, icon->y + icon->height + 4, 200, 60};
    ASSERT_TRUE(ScreenShows("tray_menu", [&](const testsupport::Screenshot& shot) {
        return Pixels(shot, below, false) > 2000;
    }, 10000)) << OvlLog();
    ASSERT_TRUE(desktop_->Keys({"Up", "Return"}));

    const std::optional<int> status = testsupport::WaitForChild(ovl_, 30s);
    ASSERT_TRUE(status.has_value()) << "ovl did not end\n" << OvlLog();
    ovl_ = -1;
    EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << *status << "\n" << OvlLog();
    const std::filesystem::path records = configDir() / "Quenmark" / "Orvello2";
    for (const char* name : {"CONFIG.bin", "EXTRA.bin", "EXTRA1.bin", "EXTRA2.bin", "DISKMAN.bin"})
        EXPECT_TRUE(std::filesystem::exists(records / name)) << name;
}

}  // namespace
}  // namespace wholeprogram
