// Where ovl's dialogs open and whether their titles show whole, as openbox really draws them on
// a 1920 x 1080 Xvfb screen: message boxes (one whose text wraps, short ones), the windows of the
// menus, the list manager opened from the download dialog, global saving at its button. A title
// is whole when its bar holds the very letters openbox draws for the same title in a bar far
// wider than it (an xmessage window renamed to it), so the check rests on openbox's own font,
// theme and buttons, not on an estimate of ours.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/peers.h"
#include "tests/support/run_program.h"
#include "tests/support/temp_dir.h"
#include "tests/support/xvfb_display.h"
#include "tests/ui/whole_program_fixture.h"

namespace wholeprogram {
namespace {

using namespace std::chrono_literals;

constexpr int kScreenWidth = 1920, kScreenHeight = 1080;
// How far a centre may lie from the opener's: rounding, and a frame a pixel wider on one side.
constexpr int kCentreSlack = 4;
// The reference window's title between looks.
constexpr const char* kNeutralName = "xmessage";

// A window's frame on the screen, as the window manager drew it around the window.
struct Frame {
    int x = 0, y = 0, width = 0, height = 0;
    int title = 0;  // the height of its title bar
    int CentreX() const { return x + width / 2; }
    int CentreY() const { return y + height / 2; }
};

// Per column of the frame's title bar, how many of its pixels stand out from the bar's colour
// in their row: the title's letters, the icon and the buttons.
std::vector<int> TitleInk(const testsupport::Screenshot& shot, const Frame& frame) {
    std::vector<int> ink(static_cast<std::size_t>(std::max(frame.width, 0)), 0);
    for (int y = frame.y + 2; y < frame.y + frame.title - 1; ++y) {
        if (y < 0 || y >= shot.height) continue;
        std::vector<std::array<int, 3>> row;
        for (int x = frame.x; x < frame.x + frame.width; ++x) {
            const std::uint8_t* p = &shot.rgb[(static_cast<std::size_t>(y) * shot.width + std::clamp(x, 0, shot.width - 1)) * 3];
            row.push_back({p[0], p[1], p[2]});
        }
        std::vector<std::array<int, 3>> sorted = row;
        std::nth_element(sorted.begin(), sorted.begin() + sorted.size() / 2, sorted.end(),
                         [](const auto& a, const auto& b) { return a[0] + a[1] + a[2] < b[0] + b[1] + b[2]; });
        const std::array<int, 3> bar = sorted[sorted.size() / 2];
        for (std::size_t x = 0; x < row.size(); ++x)
            if (std::abs(row[x][0] - bar[0]) + std::abs(row[x][1] - bar[1]) + std::abs(row[x][2] - bar[2]) > 90) ++ink[x];
    }
    return ink;
}

// The letters' columns in the ink of a bar far wider than its title (left of the buttons, right
// of the icon).
std::vector<int> Letters(const std::vector<int>& ink, int title) {
    const int from = 2 * title, to = static_cast<int>(ink.size()) - 120;
    int first = -1, last = -1;
    for (int x = from; x < to; ++x)
        if (ink[x] > 0) {
            if (first < 0) first = x;
            last = x;
        }
    if (first < 0) return {};
    return {ink.begin() + first, ink.begin() + last + 1};
}

// Whether the bar's ink holds the letters somewhere, column for column (a pixel here or there
// apart: the letters' edges are shaded by where they fall between pixels). A title cut in the
// middle has other letters there, and those after the cut shifted.
bool HoldsLetters(const std::vector<int>& bar, const std::vector<int>& letters) {
    int total = 0;
    for (int n : letters) total += n;
    for (std::size_t at = 0; at + letters.size() <= bar.size(); ++at) {
        int differs = 0;
        for (std::size_t i = 0; i < letters.size(); ++i) differs += std::abs(bar[at + i] - letters[i]);
        if (differs * 8 <= total) return true;
    }
    return false;
}

class DialogPlacementWholeProgram : public WholeProgramTest {
protected:
    DialogPlacementWholeProgram() { screen_ = "1920x1080x24"; }
    void SetUp() override {
        WholeProgramTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        setenv("ORVELLO_SITE_ROOT", nginx_->Url("").c_str(), 1);
    }
    void TearDown() override {
        if (reference_ > 0) testsupport::EndProgram(reference_);
        unsetenv("ORVELLO_SITE_ROOT");
        WholeProgramTest::TearDown();
    }
    std::string Run(std::vector<std::string> argv) const {
        argv.insert(argv.begin(), {"env", "DISPLAY=" + xvfb_->display()});
        return testsupport::RunProgram(argv).out;
    }
    // The window's inside and the frame the window manager says it drew around it; nothing
    // until the window sits in that frame (openbox frames a window a moment after it maps).
    std::optional<Frame> FrameOf(const std::string& window) const {
        const std::optional<WindowRect> inside = RectOf(window);
        const std::string info = Run({"xwininfo", "-id", window});
        const std::string extents = Run({"xprop", "-id", window, "_NET_FRAME_EXTENTS"});
        int left = 0, right = 0, top = 0, bottom = 0;
        const std::size_t equals = extents.find(" = ");
        const std::size_t relativeX = info.find("Relative upper-left X:"), relativeY = info.find("Relative upper-left Y:");
        if (!inside || equals == std::string::npos || relativeX == std::string::npos || relativeY == std::string::npos ||
            std::sscanf(extents.c_str() + equals + 3, "%d, %d, %d, %d", &left, &right, &top, &bottom) != 4 ||
            std::atoi(info.c_str() + relativeX + 22) != left || std::atoi(info.c_str() + relativeY + 22) != top)
            return std::nullopt;
        return Frame{inside->x - left, inside->y - top, inside->width + left + right, inside->height + top + bottom, top};
    }
    // A plain window of another program, across the top of the screen, whose title bar shows a
    // title as openbox draws it where it has all the room it wants.
    bool StartReference() {
        reference_ = testsupport::StartProgram(testsupport::FindProgram("xmessage"), {"-geometry", "1700x20+100+0", " "},
                                               {"DISPLAY=" + xvfb_->display()}, (temp_.path() / "xmessage.log").string());
        referenceWindow_ = desktop_->WaitForWindow("^xmessage$", 10000);
        if (referenceWindow_.empty()) return false;
        Frame frame;
        neutralLetters_ = Letters(SettledInk(referenceWindow_, "reference", frame), frame.title);
        return !neutralLetters_.empty();
    }
    bool Activate(const std::string& window) const { return desktop_->Xdo({"windowactivate", "--sync", window}); }
    // The title bar's ink once two looks in a row agree (openbox has drawn the bar).
    std::vector<int> SettledInk(const std::string& window, const std::string& step, Frame& frame) const {
        std::vector<int> last;
        for (int look = 0; look < 20; ++look) {
            const std::optional<Frame> now = FrameOf(window);
            const std::optional<testsupport::Screenshot> shot = desktop_->Grab(ArtifactPath(step));
            if (now && shot) {
                std::vector<int> ink = TitleInk(*shot, *now);
                if (!ink.empty() && ink == last) {
                    frame = *now;
                    return ink;
                }
                last = std::move(ink);
            }
            std::this_thread::sleep_for(100ms);
        }
        return last;
    }
    // The letters openbox draws for title in a bar with all the room it wants.
    std::vector<int> ReferenceLetters(const std::string& title) {
        if (auto known = letters_.find(title); known != letters_.end()) return known->second;
        Run({"xprop", "-id", referenceWindow_, "-f", "_NET_WM_NAME", "8u", "-set", "_NET_WM_NAME", title});
        Activate(referenceWindow_);
        std::vector<int> letters;
        for (int look = 0; look < 20 && letters.empty(); ++look) {
            Frame frame;
            std::vector<int> ink = SettledInk(referenceWindow_, "reference", frame);
            std::vector<int> seen = Letters(ink, frame.title);
            if (!seen.empty() && seen != lastLetters_ && seen != neutralLetters_) letters = seen;
        }
        // Named back, so that it is never taken for one of ovl's windows.
        Run({"xprop", "-id", referenceWindow_, "-f", "_NET_WM_NAME", "8u", "-set", "_NET_WM_NAME", kNeutralName});
        lastLetters_ = letters;
        letters_[title] = letters;
        return letters;
    }
    // The window's title bar shows title whole: with the window active, as the reference is
    // when its letters are taken.
    void ExpectWholeTitle(const std::string& window, const std::string& title, const std::string& step) {
        ASSERT_TRUE(Activate(window));
        Frame frame;
        const std::vector<int> bar = SettledInk(window, step, frame);
        const std::vector<int> letters = ReferenceLetters(title);
        ASSERT_FALSE(letters.empty()) << "openbox drew no title \"" << title << "\" on the reference";
        EXPECT_TRUE(HoldsLetters(bar, letters))
            << "\"" << title << "\" is cut in its " << frame.width << " px window (" << letters.size()
            << " px of letters); see " << ArtifactPath(step);
        ASSERT_TRUE(Activate(window));
    }
    void ExpectCentredOn(const std::string& window, const std::string& opener, const char* what) {
        const std::optional<Frame> dialog = FrameOf(window), under = FrameOf(opener);
        ASSERT_TRUE(dialog && under) << what;
        EXPECT_LE(std::abs(dialog->CentreX() - under->CentreX()), kCentreSlack) << what;
        EXPECT_LE(std::abs(dialog->CentreY() - under->CentreY()), kCentreSlack) << what;
        EXPECT_TRUE(dialog->x >= 0 && dialog->y >= 0 && dialog->x + dialog->width <= kScreenWidth &&
                    dialog->y + dialog->height <= kScreenHeight)
            << what << " leaves the screen";
    }
    // Opens the item downs below the first of the menu that keys open.
    void Menu(std::vector<std::string> keys, int downs) {
        ASSERT_TRUE(Activate(mainWindow_));
        keys.insert(keys.end(), static_cast<std::size_t>(std::abs(downs)), downs >= 0 ? "Down" : "Up");
        keys.push_back("Return");
        ASSERT_TRUE(desktop_->Keys(keys));
    }
    // The window whose title matches, once it sits still in its frame.
    std::string Window(const std::string& title, const std::string& other) {
        const std::string window = desktop_->WaitForWindow(title, 20000, other);
        EXPECT_FALSE(window.empty()) << "no window " << title << "\n" << OvlLog();
        std::optional<Frame> last;
        const bool still = !window.empty() && testsupport::WaitFor([&] {
            const std::optional<Frame> now = FrameOf(window);
            const bool same = now && last && now->x == last->x && now->y == last->y && now->width == last->width &&
                              now->height == last->height;
            last = now;
            return same;
        }, 10s);
        EXPECT_TRUE(window.empty() || still) << title << " never sat still in a frame";
        return window;
    }
    // The window the menu item opens shows centred on the main window with its whole title.
    void ExpectOnTheWindowWithItsWholeTitle(const std::vector<std::string>& keys, int downs, const std::string& title,
                                            const std::string& step) {
        Menu(keys, downs);
        const std::string window = Window("^" + title + "$", mainWindow_);
        ASSERT_FALSE(window.empty());
        ExpectCentredOn(window, mainWindow_, title.c_str());
        ExpectWholeTitle(window, title, step);
        Close(window);
    }
    void Close(const std::string& window, const std::string& key = "Escape") {
        ASSERT_TRUE(Activate(window));
        ASSERT_TRUE(desktop_->Keys({key}));
        ASSERT_TRUE(testsupport::WaitFor([&] { return !desktop_->Visible(window); }, 10s));
    }

    pid_t reference_ = -1;
    std::string referenceWindow_;
    std::map<std::string, std::vector<int>> letters_;
    std::vector<int> lastLetters_, neutralLetters_;
};

TEST_F(DialogPlacementWholeProgram, DialogsOpenOnTheWindowThatOpenedThemWithTheirWholeTitle) {
    ORVELLO_NEED_PEER("openbox");
    ORVELLO_NEED_PEER("xmessage");
    ORVELLO_NEED_PEER("xprop");
    ASSERT_TRUE(StartWindowManager());
    testsupport::WriteFile(nginx_->root() / "ovlver.txt", "20030225");
    ServePicture("harbour.jpg", kRed);
    std::string list = "ENCODE\r\n";
    for (const char* name : {"Harbour", "Beach"})
        list += "START\r\nPREF=" + Url("harbour.jpg?" + std::string(name)) + "\r\nNAME=" + name + "\r\nDESC=" + name +
                "\r\nREFR=60\r\nENDWC\r\n";
    testsupport::WriteFile(nginx_->root() / "lists" / "eu.txt", list);
    testsupport::WriteFile(nginx_->root() / "wclist24url.txt", "Europe - 2 webcams," + Url("lists/eu.txt") + "\r\n");
    ASSERT_TRUE(StartOvl());
    ASSERT_TRUE(StartReference());

    // No webcam yet: "Démarrer toutes les webcams" asks whether to add some from a list, in a
    // box whose text wraps.
    Menu({"alt+w"}, 0);
    std::string box = Window("^Orvello$", mainWindow_);
    ASSERT_FALSE(box.empty());
    ExpectCentredOn(box, mainWindow_, "the no-webcam question");
    ExpectWholeTitle(box, "Orvello", "no_webcam_question");
    Close(box);

    // Images, "Enregistrer l'image actuelle" with no picture: a box with a short text.
    Menu({"alt+i"}, 0);
    box = Window("^Orvello$", mainWindow_);
    ASSERT_FALSE(box.empty());
    ExpectCentredOn(box, mainWindow_, "the nothing-to-save message");
    ExpectWholeTitle(box, "Orvello", "nothing_to_save_message");
    Close(box);

    // Aide (reached from Outils: Alt+A opens Affichage first): the version check, then the
    // colours of the status lamps.
    Menu({"alt+o", "Right", "Right"}, 3);
    const std::string check = Window("^Orvello - Verification de l'existance de nouvelle version$", mainWindow_);
    ASSERT_FALSE(check.empty());
    ASSERT_TRUE(testsupport::WaitFor([&] { return Requests("ovlver.txt?") >= 1; }, 20s)) << OvlLog();
    ExpectCentredOn(check, mainWindow_, "the version check");
    ExpectWholeTitle(check, "Orvello - Verification de l'existance de nouvelle version", "version_check");
    Close(check);
    ExpectOnTheWindowWithItsWholeTitle({"alt+o", "Right", "Right"}, 4, "Statut des diodes colorées", "lamp_colours");
    ExpectOnTheWindowWithItsWholeTitle({"alt+o"}, 5, "Pamètres de la détection de mouvement", "motion_settings");

    // Fichier, "Télécharger les listes de Webcams": a double click on the list saves it and says
    // so in a box on the download dialog; its "Ajouter webcam à partir de la liste" opens the
    // list manager on the download dialog too, and the manager's own box opens on the manager.
    Menu({"alt+f"}, -4);
    const std::string download = Window("^Télécharger la list des Webcams$", mainWindow_);
    ASSERT_FALSE(download.empty());
    ASSERT_TRUE(testsupport::WaitFor([&] { return Requests("wclist24url.txt") >= 1; }, 20s)) << OvlLog();
    box.clear();
    for (int attempt = 0; attempt < 5 && box.empty(); ++attempt) {
        std::this_thread::sleep_for(300ms);
        ASSERT_TRUE(Activate(download));
        ASSERT_TRUE(desktop_->Xdo({"mousemove", "--window", download, "60", "38", "click", "--repeat", "2", "--delay",
                                   "80", "1"}));
        box = desktop_->WaitForWindow("^Orvello$", 5000, mainWindow_);
    }
    ASSERT_FALSE(box.empty()) << OvlLog();
    box = Window("^Orvello$", mainWindow_);
    ExpectCentredOn(box, download, "the saved-list message");
    Close(box, "Return");
    // The download dialog moved off the main window's middle, where the manager used to open.
    ASSERT_TRUE(desktop_->Xdo({"windowmove", "--sync", download, "60", "560"}));
    ASSERT_TRUE(Activate(download));
    ASSERT_TRUE(desktop_->Keys({"Tab", "space"}));
    const std::string manager = Window("^Gestionnaire de liste webcams$", mainWindow_);
    ASSERT_FALSE(manager.empty());
    ExpectCentredOn(manager, download, "the list manager");
    ASSERT_TRUE(desktop_->Keys({"Tab", "Tab", "Tab", "Tab", "Tab", "Tab", "space"}));
    box = Window("^Orvello$", mainWindow_);
    ASSERT_FALSE(box.empty());
    ExpectCentredOn(box, manager, "the added-webcams message");
    ExpectWholeTitle(box, "Orvello", "added_webcams_message");
    Close(box, "Return");
    Close(manager);
    Close(download);

    // Global saving opens at the bottom-left corner of its "..." button, the last control of
    // the status row at the window's bottom right, and stays within the screen.
    const std::optional<Frame> main = FrameOf(mainWindow_);
    ASSERT_TRUE(main.has_value());
    Menu({"alt+o"}, 3);
    const std::string globalSave = Window("^Enregistrement glogal des paramètres$", mainWindow_);
    ASSERT_FALSE(globalSave.empty());
    const std::optional<Frame> saving = FrameOf(globalSave);
    ASSERT_TRUE(saving.has_value());
    const int insideRight = main->x + main->width - 1, insideBottom = main->y + main->height - 5;
    EXPECT_NEAR(saving->x, insideRight - 30, 12) << "global saving opens left of its button's corner";
    EXPECT_TRUE(saving->y + saving->height == kScreenHeight || std::abs(saving->y - insideBottom) <= 12)
        << saving->y << " for a window ending at " << insideBottom;
    EXPECT_LE(saving->x + saving->width, kScreenWidth);
    EXPECT_LE(saving->y + saving->height, kScreenHeight);
    ExpectWholeTitle(globalSave, "Enregistrement glogal des paramètres", "global_saving");
    Close(globalSave);

    // Fichier, "Exporter des webcams dans une liste", now that there are webcams.
    ExpectOnTheWindowWithItsWholeTitle({"alt+f"}, -3, "Enregistrement des préférences pour les webcams", "export_choice");
    EXPECT_TRUE(StopOvl().has_value()) << OvlLog();
}

}  // namespace
}  // namespace wholeprogram
