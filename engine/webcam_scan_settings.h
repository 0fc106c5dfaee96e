#pragma once
// The settings the scheduling of webcams reads while it runs: the slow scan of inactive webcams
// and the refresh cap of favourites. The main window's settings dialogs change them while fetch
// threads read them, so every value is atomic.

#include "engine/settings_records.h"

#include <atomic>

namespace engine {

struct twebcamscansettings {
    std::atomic<bool> SlowScanOn{false};
    std::atomic<int> SlowScanRefresh{60};  // minutes between fetches of a resting webcam
    std::atomic<int> SlowScanIdle{60};     // minutes without a new picture before it rests
    std::atomic<bool> FavRefreshOn{true};
    std::atomic<int> FavRefresh{15};       // seconds

    void Assign(const TConfigRec& config, const TExtra1Rec& extra1) {
        SlowScanOn = extra1.SlowScanOn != 0;
        SlowScanRefresh = config.SlowScanRefresh;
        SlowScanIdle = config.SlowScanIdle;
        FavRefreshOn = config.FavRefreshOn == 1;
        FavRefresh = config.FavRefresh;
    }
};

}  // namespace engine
