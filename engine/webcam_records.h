#pragma once
// The two fixed-size records that describe one webcam: record 1 in webcams.def and record 2 in
// webcams1.def, parallel by record number. The layouts are the files' formats, byte for byte:
// 32-bit little-endian integers, one-byte flags, length-prefixed Windows-1252 strings.

#include "engine/short_string.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>

namespace engine {

inline constexpr int kCategorySlots = 255;   // category flags 1..255 are stored
inline constexpr int kCategoryNamesUsed = 57;  // of which 1..57 have names

// Picture-saving mode (record 1's SaveMode): 0 every changed picture, 1..253 the first and then
// every (N+1)-th, 254 on motion only, 255 none.
inline constexpr std::uint8_t kSaveEvery = 0;
inline constexpr std::uint8_t kSaveOnMotion = 254;
inline constexpr std::uint8_t kSaveNone = 255;

inline constexpr std::uint8_t kWebcamTypeStream = 2;

struct TWebcamDefRec {
    String255 PictureURL;     // empty = unused record
    String255 LinkURL;
    String255 Name;           // also the webcam's folder below the data folder
    String255 Description;
    std::int32_t Refresh;     // seconds; -1 in imported lists = the auto-create refresh
    std::uint8_t Enabled;
    std::uint8_t SendLogin;
    String255 UserName;
    String255 Password;
    std::uint8_t InSaverList;  // rewritten in place by both programs' screen-saver list editors
    std::uint8_t SavedCount;   // screen saver's memory only; the main program writes 0
    std::uint8_t HeadCheck;    // non-zero: HEAD first, fetch when Last-Modified changed
    std::uint8_t WebcamType;   // kWebcamTypeStream = live stream
    std::uint8_t SaveMode;
    // Category k (1..255) is Categories[k]; slot 0 is the padding byte before them.
    std::uint8_t Categories[kCategorySlots + 1];
};

struct TWebcamDef1Rec {
    String255 WeatherURL;
    String255 MapURL;
    String255 PlaceName;
    String255 Country;
    String255 FilePrefix;      // prefix of the saved pictures' file names
    std::uint8_t Unused1[256];
    std::int32_t MotionCellSize;     // 0 = the global motion setting
    std::int32_t MotionThreshold;    // 0 = global
    std::int32_t MotionSensitivity;  // 0 = global
    std::uint16_t EnhanceLevel;      // 0 = not set yet
    std::uint16_t EnhanceMix;        // 0 = not set yet
    std::uint8_t Favourite;
    std::uint8_t Unused2;
    std::uint8_t NoCheck;            // always fetch the picture, no header check
    std::uint8_t EnhanceOn;
};

static_assert(std::is_trivially_copyable_v<TWebcamDefRec> && std::is_standard_layout_v<TWebcamDefRec>);
static_assert(sizeof(TWebcamDefRec) == 1804);
static_assert(offsetof(TWebcamDefRec, LinkURL) == 256);
static_assert(offsetof(TWebcamDefRec, Name) == 512);
static_assert(offsetof(TWebcamDefRec, Description) == 768);
static_assert(offsetof(TWebcamDefRec, Refresh) == 1024);
static_assert(offsetof(TWebcamDefRec, Enabled) == 1028);
static_assert(offsetof(TWebcamDefRec, SendLogin) == 1029);
static_assert(offsetof(TWebcamDefRec, UserName) == 1030);
static_assert(offsetof(TWebcamDefRec, Password) == 1286);
static_assert(offsetof(TWebcamDefRec, InSaverList) == 1542);
static_assert(offsetof(TWebcamDefRec, SavedCount) == 1543);
static_assert(offsetof(TWebcamDefRec, HeadCheck) == 1544);
static_assert(offsetof(TWebcamDefRec, WebcamType) == 1545);
static_assert(offsetof(TWebcamDefRec, SaveMode) == 1546);
static_assert(offsetof(TWebcamDefRec, Categories) + 1 == 1548);

static_assert(std::is_trivially_copyable_v<TWebcamDef1Rec> && std::is_standard_layout_v<TWebcamDef1Rec>);
static_assert(sizeof(TWebcamDef1Rec) == 1556);
static_assert(offsetof(TWebcamDef1Rec, FilePrefix) == 1024);
static_assert(offsetof(TWebcamDef1Rec, MotionCellSize) == 1536);
static_assert(offsetof(TWebcamDef1Rec, MotionThreshold) == 1540);
static_assert(offsetof(TWebcamDef1Rec, MotionSensitivity) == 1544);
static_assert(offsetof(TWebcamDef1Rec, EnhanceLevel) == 1548);
static_assert(offsetof(TWebcamDef1Rec, EnhanceMix) == 1550);
static_assert(offsetof(TWebcamDef1Rec, Favourite) == 1552);
static_assert(offsetof(TWebcamDef1Rec, NoCheck) == 1554);
static_assert(offsetof(TWebcamDef1Rec, EnhanceOn) == 1555);

// A zero-filled record, the state every record starts from.
template <typename Rec>
Rec ZeroRecord() {
    Rec rec;
    std::memset(&rec, 0, sizeof rec);
    return rec;
}

// A list item holding a copy of one record 1, used by the screen-saver list editors.
class tsdo {
public:
    explicit tsdo(const TWebcamDefRec& rec) : FRec(rec) {}
    TWebcamDefRec FRec;
};

}  // namespace engine
