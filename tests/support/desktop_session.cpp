#include "tests/support/desktop_session.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <thread>

#include "tests/support/run_program.h"

namespace testsupport {
namespace {

bool Near(const std::uint8_t* pixel, Rgb colour, int tolerance) {
    return std::abs(pixel[0] - colour.r) <= tolerance && std::abs(pixel[1] - colour.g) <= tolerance &&
           std::abs(pixel[2] - colour.b) <= tolerance;
}

// A binary PPM (P6, maximum 255) as ffmpeg writes it.
std::optional<Screenshot> ReadPpm(const std::string& bytes) {
    std::size_t at = 0;
    auto field = [&]() -> std::string {
        while (at < bytes.size() && std::isspace(static_cast<unsigned char>(bytes[at]))) ++at;
        const std::size_t start = at;
        while (at < bytes.size() && !std::isspace(static_cast<unsigned char>(bytes[at]))) ++at;
        return bytes.substr(start, at - start);
    };
    if (field() != "P6") return std::nullopt;
    Screenshot shot;
    shot.width = std::atoi(field().c_str());
    shot.height = std::atoi(field().c_str());
    if (field() != "255" || shot.width <= 0 || shot.height <= 0) return std::nullopt;
    ++at;  // the one blank after the maximum
    const std::size_t size = static_cast<std::size_t>(shot.width) * shot.height * 3;
    if (bytes.size() < at + size) return std::nullopt;
    shot.rgb.assign(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                    bytes.begin() + static_cast<std::ptrdiff_t>(at + size));
    return shot;
}

}  // namespace

int Screenshot::CountNear(Rgb colour, int tolerance) const {
    int count = 0;
    for (std::size_t i = 0; i + 2 < rgb.size(); i += 3) count += Near(&rgb[i], colour, tolerance);
    return count;
}

int Screenshot::WidestRun(Rgb colour, int tolerance) const {
    int widest = 0;
    for (int y = 0; y < height; ++y) {
        int row = 0;
        for (int x = 0; x < width; ++x)
            row += Near(&rgb[(static_cast<std::size_t>(y) * width + x) * 3], colour, tolerance);
        widest = std::max(widest, row);
    }
    return widest;
}

std::optional<std::pair<int, int>> Screenshot::CentreOf(Rgb colour, int tolerance) const {
    int left = width, top = height, right = -1, bottom = -1;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (Near(&rgb[(static_cast<std::size_t>(y) * width + x) * 3], colour, tolerance)) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    if (right < 0) return std::nullopt;
    return std::pair{(left + right) / 2, (top + bottom) / 2};
}

std::optional<Screenshot> DesktopSession::Grab(const std::filesystem::path& png) const {
    const ProgramResult grab = RunProgram({"ffmpeg", "-loglevel", "error", "-f", "x11grab", "-i", display_,
                                           "-frames:v", "1", "-f", "image2pipe", "-vcodec", "ppm", "-"});
    if (grab.exit_code != 0) return std::nullopt;
    std::optional<Screenshot> shot = ReadPpm(grab.out);
    if (shot && !png.empty()) {
        std::filesystem::create_directories(png.parent_path());
        const std::filesystem::path ppm = png.string() + ".ppm";
        std::ofstream(ppm, std::ios::binary) << grab.out;
        RunProgram({"ffmpeg", "-loglevel", "error", "-y", "-i", ppm.string(), png.string()});
        std::filesystem::remove(ppm);
    }
    return shot;
}

bool DesktopSession::Xdo(const std::vector<std::string>& arguments, std::string* out) const {
    std::vector<std::string> argv{"env", "DISPLAY=" + display_, "xdotool"};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    const ProgramResult result = RunProgram(argv);
    if (out) *out = result.out;
    return result.exit_code == 0;
}

std::string DesktopSession::WaitForWindow(const std::string& namePattern, int timeoutMs,
                                          const std::string& other) const {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        std::string ids;
        if (Xdo({"search", "--onlyvisible", "--name", namePattern}, &ids)) {
            std::istringstream lines(ids);
            for (std::string id; std::getline(lines, id);)
                if (!id.empty() && id != other) return id;
        }
        if (std::chrono::steady_clock::now() >= deadline) return {};
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
}

bool DesktopSession::Visible(const std::string& window) const {
    std::string ids;
    if (!Xdo({"search", "--onlyvisible", "--name", ".*"}, &ids)) return false;
    std::istringstream lines(ids);
    for (std::string id; std::getline(lines, id);)
        if (id == window) return true;
    return false;
}

bool DesktopSession::Focus(const std::string& window) const { return Xdo({"windowfocus", "--sync", window}); }

bool DesktopSession::Keys(const std::vector<std::string>& keys) const {
    std::vector<std::string> arguments{"key", "--delay", "60"};
    arguments.insert(arguments.end(), keys.begin(), keys.end());
    return Xdo(arguments);
}

bool DesktopSession::Type(const std::string& text) const { return Xdo({"type", "--delay", "20", text}); }

bool DesktopSession::Click(const std::string& window, int x, int y) const {
    return Xdo({"mousemove", "--window", window, std::to_string(x), std::to_string(y), "click", "1"});
}

bool DesktopSession::ClickAt(std::pair<int, int> point, bool twice) const {
    std::vector<std::string> arguments{"mousemove", std::to_string(point.first), std::to_string(point.second), "click"};
    if (twice) arguments.insert(arguments.end(), {"--repeat", "2", "--delay", "80"});
    arguments.push_back("1");
    return Xdo(arguments);
}

}  // namespace testsupport
