#pragma once
// The motion-detection settings: the global record stored as "MOTIONSETTINGS" in the settings
// store, and the per-webcam overrides of record 2 (0 = use the global value).

#include "engine/webcam_records.h"

#include <array>
#include <cstdint>
#include <type_traits>

namespace engine {

struct TMotionSettingsRec {
    std::int32_t CellSize;     // 1..25; the block side in pixels of the quarter-size picture
    std::int32_t Threshold;    // 1..25; motion when the score reaches 4 x Threshold
    std::int32_t Sensitivity;  // 1..25; a higher value takes a smaller brightness ratio as change
    std::int32_t Unused[3];    // stored as the dialog holds them
};
static_assert(std::is_trivially_copyable_v<TMotionSettingsRec> && sizeof(TMotionSettingsRec) == 24);

inline constexpr const char* kMotionSettingsValue = "MOTIONSETTINGS";
inline constexpr int kMotionSettingMin = 1;
inline constexpr int kMotionSettingMax = 25;

TMotionSettingsRec DefaultMotionSettings();  // 4, 5, 13

// The six values in their stored order, as the main window keeps them, and back.
std::array<int, 6> MotionSettingsValues(const TMotionSettingsRec& rec);
TMotionSettingsRec MotionSettingsFromValues(const std::array<int, 6>& values);

// Each of the three values outside 1..25 becomes its default, so that no cell size of 0 or a
// negative one reaches a comparison.
TMotionSettingsRec ValidMotionSettings(TMotionSettingsRec rec);

// The global settings from the store. A missing key or value, a string value or one longer than
// 24 bytes gives the defaults; a shorter value replaces only its own bytes.
TMotionSettingsRec ReadGlobalMotionSettings();

// Writes the 24 bytes into the existing key (it is not created). False when nothing was written.
bool WriteGlobalMotionSettings(const TMotionSettingsRec& rec);

// The webcam's overrides that lie in 1..25 replace the global values; 0 or any other value
// out of range means the global value.
TMotionSettingsRec ApplyMotionOverrides(TMotionSettingsRec global, const TWebcamDef1Rec& rec2);

// The settings in effect: the global ones, with the webcam's overrides when rec2 is given.
TMotionSettingsRec LoadMotionSettings(const TWebcamDef1Rec* rec2);

}  // namespace engine
