// The program ovl as a whole against servers that misbehave: with -AUTOCAP it runs three healthy
// webcams beside one webcam of each hostile kind (header flood, busy socket, a byte a second,
// empty reply at refresh 0, truncated JPEG, HTML, chunked framing, no status line) and a fast
// webcam whose pictures come several a second. The healthy webcams keep getting pictures, each
// hostile webcam is logged with its reason, the memory stays bounded, and a close writes the
// settings records.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "engine/definition_files.h"
#include "engine/webcam_records.h"
#include "tests/support/hostile_peer.h"
#include "tests/ui/whole_program_fixture.h"

namespace wholeprogram {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using testsupport::HostilePeer;
using Kind = HostilePeer::Kind;

// A guard against a flood filling the memory, not a performance figure.
constexpr long kMemoryLimitKb = 1024 * 1024;
// Every healthy webcam gets at least one picture in every window this long.
constexpr auto kPictureWindow = 10s;
// The byte-a-second webcam fails only at the turn limit (two minutes); a little more for a
// loaded machine.
constexpr auto kLongestRun = 150s;

struct Hostile {
    Kind kind;
    const char* reason;  // what its error-log entry says
};
const Hostile kHostile[] = {
    {Kind::HeaderFlood, "200: Out of memory."},
    {Kind::BusySocket, "Picture larger than 33554432 bytes"},
    {Kind::ByteASecond, "Turn not finished within 120000 ms"},
    {Kind::EmptyReply, "empty reply"},
    {Kind::TruncatedJpeg, "picture cut off"},
    {Kind::Html, "not a JPEG picture"},
    {Kind::Chunked, "not a JPEG picture"},
    {Kind::NoStatusLine, "not a JPEG picture"},
};

class HostileWholeProgram : public WholeProgramTest {
protected:
    void AddWebcam(int index, const std::string& name, const std::string& url, int refresh, int type = 0) {
        engine::TWebcamDefRec rec{};
        rec.WebcamType = static_cast<decltype(rec.WebcamType)>(type);
        rec.PictureURL.assign(url);
        rec.Name.assign(name);
        rec.Refresh = refresh;
        rec.Enabled = 1;
        ASSERT_TRUE(engine::WriteDefRecord(dataFolder(), index, rec));
    }
    std::vector<std::string> Pictures(testsupport::Rgb first, testsupport::Rgb second, const std::string& name) {
        ServePicture(name + "1.jpg", first);
        ServePicture(name + "2.jpg", second);
        return {testsupport::ReadFile(nginx_->root() / (name + "1.jpg")),
                testsupport::ReadFile(nginx_->root() / (name + "2.jpg"))};
    }
    int JpegCount(const std::string& name) const {
        int count = 0;
        std::error_code error;
        for (const auto& e : std::filesystem::directory_iterator(dataDir() / name, error))
            count += e.path().extension() == ".jpg" ? 1 : 0;
        return count;
    }
    // A field of /proc/<ovl>/status in kB ("VmRSS", "VmHWM"); 0 when unreadable.
    long StatusKb(const std::string& field) const {
        std::ifstream status("/proc/" + std::to_string(ovl_) + "/status");
        std::string line;
        while (std::getline(status, line))
            if (line.rfind(field + ":", 0) == 0) return std::stol(line.substr(field.size() + 1));
        return 0;
    }
    std::string Errors() const {
        const auto file = programDir() / "errors.txt";
        return std::filesystem::exists(file) ? testsupport::ReadFile(file) : std::string();
    }
    static std::string Entry(const std::string& name, const std::string& reason) {
        return " - " + name + " > Error fetching picture: " + reason + "\n";
    }
    // Whether each cell's status lamp is red (status 7), in the grid's order. A cell has two
    // small lamps one above the other, the status and, below it, the indicator (yellow for these
    // webcams): a pixel of a lamp colour with black three rows below and yellow six rows below
    // is a status lamp's middle column.
    static std::vector<bool> RedStatusLamps(const testsupport::Screenshot& shot) {
        const auto at = [&](int x, int y) {
            const std::uint8_t* p = &shot.rgb[(static_cast<std::size_t>(y) * shot.width + x) * 3];
            return testsupport::Rgb{p[0], p[1], p[2]};
        };
        const auto is = [](testsupport::Rgb a, testsupport::Rgb b) { return a.r == b.r && a.g == b.g && a.b == b.b; };
        struct Lamp {
            int x, y;
            bool red;
        };
        std::vector<Lamp> lamps;
        for (int y = 0; y + 6 < shot.height; ++y)
            for (int x = 0; x < shot.width; ++x) {
                const testsupport::Rgb c = at(x, y);
                const bool lampColour = is(c, kRed) || is(c, kGreen) || is(c, kBlue) || is(c, kYellow) ||
                                        is(c, testsupport::Rgb{255, 0, 255});
                if (!lampColour || !is(at(x, y + 3), {0, 0, 0}) || !is(at(x, y + 6), kYellow)) continue;
                const bool seen = std::any_of(lamps.begin(), lamps.end(), [&](const Lamp& l) {
                    return std::abs(l.x - x) <= 6 && std::abs(l.y - y) <= 6;
                });
                if (!seen) lamps.push_back({x, y, is(c, kRed)});
            }
        std::sort(lamps.begin(), lamps.end(), [](const Lamp& a, const Lamp& b) {
            return std::abs(a.y - b.y) > 6 ? a.y < b.y : a.x < b.x;
        });
        std::vector<bool> red;
        for (const Lamp& l : lamps) red.push_back(l.red);
        return red;
    }
};

TEST_F(HostileWholeProgram, HealthyWebcamsGoOnAndEachHostileOneIsLogged) {
    std::vector<std::unique_ptr<HostilePeer>> peers;
    const std::vector<std::string> healthyNames = {"Healthy1", "Healthy2", "Healthy3"};
    const std::vector<std::vector<std::string>> healthyPictures = {
        Pictures(kRed, kGreen, "a"), Pictures(kBlue, kYellow, "b"), Pictures(kGreen, kBlue, "c")};
    int index = 0;
    for (std::size_t i = 0; i < healthyNames.size(); ++i) {
        peers.push_back(std::make_unique<HostilePeer>(Kind::Picture, healthyPictures[i]));
        AddWebcam(index++, healthyNames[i], peers.back()->Url(), 1);
    }
    for (const Hostile& hostile : kHostile) {
        peers.push_back(std::make_unique<HostilePeer>(hostile.kind, healthyPictures[0]));
        AddWebcam(index++, HostilePeer::KindName(hostile.kind), peers.back()->Url(), 0);
    }
    peers.push_back(std::make_unique<HostilePeer>(Kind::PacedPicture, healthyPictures[1], HostilePeer::kCameraPace));
    AddWebcam(index++, "fast", peers.back()->Url(), 0);

    ASSERT_TRUE(StartOvl({"-AUTOCAP"}));
    ASSERT_TRUE(desktop_->Focus(mainWindow_));
    ASSERT_TRUE(desktop_->Keys({"ctrl+g"}));  // error logging on

    // Watches the healthy webcams' pictures and the memory until every hostile webcam is logged.
    const auto start = Clock::now();
    std::map<std::string, std::pair<int, Clock::time_point>> last;  // pictures, when they changed
    for (const auto& name : healthyNames) last[name] = {0, start};
    Clock::duration longestGap{};
    std::string gapOf;
    long peakRssKb = 0;
    const auto allLogged = [&] {
        const std::string log = Errors();
        for (const Hostile& hostile : kHostile)
            if (log.find(Entry(HostilePeer::KindName(hostile.kind), hostile.reason)) == std::string::npos)
                return false;
        return true;
    };
    bool logged = false;
    // Which webcams' status lamps were seen red, looked at every few seconds.
    const std::size_t cells = healthyNames.size() + std::size(kHostile) + 1;
    std::vector<bool> seenRed(cells, false);
    int looks = 0;
    const auto look = [&] {
        if (const auto shot = desktop_->Grab()) {
            const std::vector<bool> red = RedStatusLamps(*shot);
            if (red.size() != cells) return;
            ++looks;
            for (std::size_t i = 0; i < cells; ++i) seenRed[i] = seenRed[i] || red[i];
        }
    };
    auto nextLook = start;
    while (Clock::now() - start < kLongestRun) {
        std::this_thread::sleep_for(500ms);
        const auto now = Clock::now();
        if (now >= nextLook) {
            nextLook = now + 4s;
            look();
        }
        peakRssKb = std::max(peakRssKb, StatusKb("VmRSS"));
        if (peakRssKb > kMemoryLimitKb) break;
        for (const auto& name : healthyNames) {
            const int count = JpegCount(name);
            auto& [seen, when] = last[name];
            if (count != seen) {
                // The first picture may take the start-up's time; from then on the windows count.
                if (seen > 0 && now - when > longestGap) {
                    longestGap = now - when;
                    gapOf = name;
                }
                seen = count;
                when = now;
            }
        }
        if ((logged = allLogged()) && now - start > 3 * kPictureWindow) break;
    }
    look();  // the byte-a-second webcam fails only at the end, and shows it for its pause
    for (const auto& name : healthyNames) {
        const auto& [seen, when] = last[name];
        if (seen > 0 && Clock::now() - when > longestGap) {
            longestGap = Clock::now() - when;
            gapOf = name;
        }
        EXPECT_GE(seen, 10) << name;
    }
    Shot("hostile_mix");
    peakRssKb = std::max(peakRssKb, StatusKb("VmHWM"));
    // What the start wrote is removed, so that the records found afterwards are the close's.
    const std::filesystem::path records = configDir() / "Quenmark" / "Orvello2";
    const char* const recordNames[] = {"CONFIG.bin", "EXTRA.bin", "EXTRA1.bin", "EXTRA2.bin", "DISKMAN.bin"};
    for (const char* name : recordNames) std::filesystem::remove(records / name);
    const std::optional<int> status = StopOvl();

    EXPECT_LT(longestGap, kPictureWindow) << gapOf << " went without a picture for "
                                          << std::chrono::duration_cast<std::chrono::milliseconds>(longestGap).count()
                                          << " ms";
    EXPECT_LT(peakRssKb, kMemoryLimitKb);
    EXPECT_TRUE(logged);
    // Each hostile webcam shows its failure (status 7), the healthy and the fast ones never do.
    ASSERT_GE(looks, 3);
    for (std::size_t i = 0; i < cells; ++i)
        EXPECT_EQ(seenRed[i], i >= healthyNames.size() && i < cells - 1) << "cell " << i;
    const std::string log = Errors();
    for (const Hostile& hostile : kHostile)
        EXPECT_NE(log.find(Entry(HostilePeer::KindName(hostile.kind), hostile.reason)), std::string::npos)
            << HostilePeer::KindName(hostile.kind) << "\n" << log.substr(0, 4000);
    // The fast webcam's pictures of one second each kept a file: some carry hundredths.
    int withHundredths = 0;
    for (const auto& e : std::filesystem::directory_iterator(dataDir() / "fast"))
        withHundredths += std::regex_match(e.path().filename().string(), std::regex("[0-9]{16}\\.jpg")) ? 1 : 0;
    EXPECT_GE(withHundredths, 1);

    ASSERT_TRUE(status.has_value()) << "ovl did not end\n" << OvlLog();
    EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << *status << "\n" << OvlLog();
    for (const char* name : recordNames) EXPECT_TRUE(std::filesystem::exists(records / name)) << name;
}

// An address typed without "http://" can never be asked for: the webcam, fetched or streamed,
// shows as failing (its status lamp red, not back to waiting after the error pause) and the error
// log says why.
TEST_F(HostileWholeProgram, AnAddressWithoutHttpShowsAsFailing) {
    const std::string address = Url("a.jpg").substr(std::string("http://").size());
    AddWebcam(0, "Fetched", address, 60);
    AddWebcam(1, "Streamed", address, 60, engine::kWebcamTypeStream);
    // Both start with the deferred load, a second after the window shows: error logging is on
    // by then.
    ASSERT_TRUE(StartOvl({"-AUTOCAP"}));
    ASSERT_TRUE(desktop_->Focus(mainWindow_));
    ASSERT_TRUE(desktop_->Keys({"ctrl+g"}));
    const std::string reason = "152: No server specified in URL";
    ASSERT_TRUE(testsupport::WaitFor([&] {
        const std::string log = Errors();
        return log.find(Entry("Fetched", reason)) != std::string::npos &&
               log.find(Entry("Streamed", reason)) != std::string::npos;
    }, 20s)) << Errors() << OvlLog();
    const auto bothRed = [](const testsupport::Screenshot& shot) {
        return RedStatusLamps(shot) == std::vector<bool>{true, true};
    };
    EXPECT_TRUE(ScreenShows("failing", bothRed, 10000)) << OvlLog();
    // Past the error pause (2 s) the lamps are still red.
    EXPECT_FALSE(ScreenShows("still_failing", [&](const testsupport::Screenshot& shot) { return !bothRed(shot); },
                             4000));
    StopOvl();
}

}  // namespace
}  // namespace wholeprogram
