#pragma once
// The settings records stored as binary values of the key Software\Quenmark\Orvello2.
// Each is read and written whole; the layouts are the stored formats, byte for byte, and are
// shared with the screen saver.

#include "engine/short_string.h"

#include <cstddef>
#include <cstdint>
#include <type_traits>

namespace engine {

struct TConfigRec {              // "CONFIG"
    std::int32_t MaxThreads;     // fetch threads; the engine clamps to 4..64
    std::int32_t LeftPanelWidth;
    std::uint8_t Unused8;
    String255 ProxyHost;         // empty = no proxy
    std::uint8_t Unused265;
    std::uint8_t UseProxy;       // takes effect only with a non-empty ProxyHost
    std::uint8_t Unused267;
    std::int32_t ProxyPort;      // low 16 bits used
    ShortString<35> FontName;    // kept in the record; nothing reads it
    std::int32_t Unused308;
    std::uint16_t FavRefresh;    // refresh cap of favourite webcams, seconds
    std::uint8_t Unused314;
    std::uint8_t FavRefreshOn;
    std::int32_t HintsOff;
    std::int32_t SlowScanRefresh;  // minutes between fetches of a resting webcam
    std::int32_t SlowScanIdle;     // minutes without a new picture before a webcam rests
    String255 ListFile;
    std::int32_t WindowWidth;
    std::int32_t WindowHeight;
    std::uint8_t Reserved[8];
};

struct TExtraRec {               // "EXTRA"
    String255 DataDir;           // data folder, ending in '/'; empty = the program's folder
    std::uint8_t Unused256[4];
    std::int32_t WindowState;    // 0 normal, 1 minimised, 2 maximised
};

struct TExtra1Rec {              // "EXTRA1", shared with the screen saver
    String255 ProxyUser;         // non-empty = send proxy credentials
    String255 ProxyPassword;
    std::uint8_t Unused512;
    std::uint8_t QuickBarShown;
    std::uint8_t AutoStart;      // start webcams created from lists and drops at once
    std::uint8_t SlowScanOn;
    std::uint8_t OneWordNames;
    std::uint8_t SaverWithMain;  // 517..520 and 524..531 belong to the screen saver
    std::uint8_t SaverListOnly;
    std::uint8_t SaverInOrder;
    std::uint8_t SaverSavedOnly;
    std::uint8_t AutoSaveMode;
    std::uint8_t Padding522[2];
    std::int32_t SaverInterval;  // seconds per picture (0 is taken as 10)
    std::int32_t SaverDisplay;   // 0 full screen, 1 normal, 2 double
    std::int32_t AutoRefresh;    // refresh of webcams created from lists
    String255 WeatherURL;
    String255 MapURL;
    String255 WeatherQuery;      // $P = place, $C = country
    String255 MapQuery;
};

struct TExtra2Rec {              // "EXTRA2"
    std::uint8_t Unused0[256];
    std::int32_t ThumbWidth;     // 0 is read as 86
    std::int32_t ThumbHeight;    // 0 is read as 80
    std::uint8_t Unused264[1340 - 264];
};

struct TDiskManRec {             // "DISKMAN"
    std::uint8_t Unused0;
    String255 Unused1;
    std::uint8_t Padding257[3];
    std::int32_t ActivePage;     // 1 live view, 2 disk pictures
    std::uint8_t Unused264;
    std::uint8_t Unused265;
    std::uint8_t Unused266;
    std::uint8_t AutoLoad;
    std::int32_t Unused268;
    double Unused272;
    std::uint8_t GlobalSaveOn;   // one save mode for all webcams
    std::uint8_t OneWordPrefix;
    ShortString<37> FontName;
    std::uint16_t NoIfModifiedSince;  // low byte = HeadCheck of webcams created from lists
    std::uint8_t Unused322;
    std::uint8_t GlobalSaveMode;
    std::uint8_t TrayIcon;
    std::uint8_t Padding325[3];
};

template <typename Rec>
inline constexpr bool kIsRecord = std::is_trivially_copyable_v<Rec> && std::is_standard_layout_v<Rec>;

static_assert(kIsRecord<TConfigRec> && sizeof(TConfigRec) == 600);
static_assert(offsetof(TConfigRec, ProxyHost) == 9);
static_assert(offsetof(TConfigRec, UseProxy) == 266);
static_assert(offsetof(TConfigRec, ProxyPort) == 268);
static_assert(offsetof(TConfigRec, FontName) == 272);
static_assert(offsetof(TConfigRec, Unused308) == 308);
static_assert(offsetof(TConfigRec, FavRefresh) == 312);
static_assert(offsetof(TConfigRec, FavRefreshOn) == 315);
static_assert(offsetof(TConfigRec, HintsOff) == 316);
static_assert(offsetof(TConfigRec, SlowScanRefresh) == 320);
static_assert(offsetof(TConfigRec, SlowScanIdle) == 324);
static_assert(offsetof(TConfigRec, ListFile) == 328);
static_assert(offsetof(TConfigRec, WindowWidth) == 584);
static_assert(offsetof(TConfigRec, WindowHeight) == 588);
static_assert(offsetof(TConfigRec, Reserved) == 592);

static_assert(kIsRecord<TExtraRec> && sizeof(TExtraRec) == 264);
static_assert(offsetof(TExtraRec, WindowState) == 260);

static_assert(kIsRecord<TExtra1Rec> && sizeof(TExtra1Rec) == 1560);
static_assert(offsetof(TExtra1Rec, QuickBarShown) == 513);
static_assert(offsetof(TExtra1Rec, SaverWithMain) == 517);
static_assert(offsetof(TExtra1Rec, SaverSavedOnly) == 520);
static_assert(offsetof(TExtra1Rec, AutoSaveMode) == 521);
static_assert(offsetof(TExtra1Rec, SaverInterval) == 524);
static_assert(offsetof(TExtra1Rec, SaverDisplay) == 528);
static_assert(offsetof(TExtra1Rec, AutoRefresh) == 532);
static_assert(offsetof(TExtra1Rec, WeatherURL) == 536);
static_assert(offsetof(TExtra1Rec, MapURL) == 792);
static_assert(offsetof(TExtra1Rec, WeatherQuery) == 1048);
static_assert(offsetof(TExtra1Rec, MapQuery) == 1304);

static_assert(kIsRecord<TExtra2Rec> && sizeof(TExtra2Rec) == 1340);
static_assert(offsetof(TExtra2Rec, ThumbWidth) == 256);
static_assert(offsetof(TExtra2Rec, ThumbHeight) == 260);

static_assert(kIsRecord<TDiskManRec> && sizeof(TDiskManRec) == 328);
static_assert(offsetof(TDiskManRec, ActivePage) == 260);
static_assert(offsetof(TDiskManRec, AutoLoad) == 267);
static_assert(offsetof(TDiskManRec, Unused272) == 272);
static_assert(offsetof(TDiskManRec, GlobalSaveOn) == 280);
static_assert(offsetof(TDiskManRec, FontName) == 282);
static_assert(offsetof(TDiskManRec, NoIfModifiedSince) == 320);
static_assert(offsetof(TDiskManRec, GlobalSaveMode) == 323);
static_assert(offsetof(TDiskManRec, TrayIcon) == 324);

}  // namespace engine
