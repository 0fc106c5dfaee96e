#pragma once
// What a person does at a desktop, for whole-program tests on a private X display: find and
// focus a window, type and press keys (xdotool), click, and look at the screen (ffmpeg's
// x11grab). Every call is bounded in time; failures are reported, never thrown.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace testsupport {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
};

struct Screenshot {
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgb;  // rows top-down, three bytes a pixel

    // Pixels whose every channel lies within tolerance of colour.
    int CountNear(Rgb colour, int tolerance = 40) const;
    // The largest count of such pixels in one row: a wide area of the colour shows as a long
    // row, a thumbnail as a short one.
    int WidestRun(Rgb colour, int tolerance = 40) const;
    // The middle of the box around such pixels (screen coordinates); nothing when there are none.
    std::optional<std::pair<int, int>> CentreOf(Rgb colour, int tolerance = 40) const;
};

class DesktopSession {
public:
    explicit DesktopSession(std::string display) : display_(std::move(display)) {}

    // The whole screen; also written as a PNG file when png is given (a test artifact).
    std::optional<Screenshot> Grab(const std::filesystem::path& png = {}) const;

    // xdotool with these arguments on the display; true when it succeeded. Its output in out.
    bool Xdo(const std::vector<std::string>& arguments, std::string* out = nullptr) const;
    // The id of the first visible window whose name matches the pattern (a regular
    // expression) and that is not other, waiting up to timeoutMs for it; empty when none came.
    std::string WaitForWindow(const std::string& namePattern, int timeoutMs = 10000,
                              const std::string& other = {}) const;
    // Whether the window is still there and mapped.
    bool Visible(const std::string& window) const;
    // Gives the window the keyboard focus (there is no window manager to do it).
    bool Focus(const std::string& window) const;
    // Keys as xdotool names them ("alt+w", "Down", "Return"), one after another.
    bool Keys(const std::vector<std::string>& keys) const;
    bool Type(const std::string& text) const;
    // A left click at a point of a window.
    bool Click(const std::string& window, int x, int y) const;
    // A click, or a double click, at a point of the screen.
    bool ClickAt(std::pair<int, int> point, bool twice = false) const;

private:
    std::string display_;
};

}  // namespace testsupport
