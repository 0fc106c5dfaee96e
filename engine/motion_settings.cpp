#include "engine/motion_settings.h"

#include "engine/regconfig.h"
#include "platform/settings_store.h"

#include <cstring>

namespace engine {
namespace {

bool InRange(std::int32_t v) { return v >= kMotionSettingMin && v <= kMotionSettingMax; }

}  // namespace

TMotionSettingsRec DefaultMotionSettings() {
    return TMotionSettingsRec{4, 5, 13, {0, 0, 0}};
}

std::array<int, 6> MotionSettingsValues(const TMotionSettingsRec& rec) {
    return {rec.CellSize, rec.Threshold, rec.Sensitivity, rec.Unused[0], rec.Unused[1], rec.Unused[2]};
}

TMotionSettingsRec MotionSettingsFromValues(const std::array<int, 6>& values) {
    return {values[0], values[1], values[2], {values[3], values[4], values[5]}};
}

TMotionSettingsRec ValidMotionSettings(TMotionSettingsRec rec) {
    const TMotionSettingsRec defaults = DefaultMotionSettings();
    if (!InRange(rec.CellSize)) rec.CellSize = defaults.CellSize;
    if (!InRange(rec.Threshold)) rec.Threshold = defaults.Threshold;
    if (!InRange(rec.Sensitivity)) rec.Sensitivity = defaults.Sensitivity;
    return rec;
}

TMotionSettingsRec ReadGlobalMotionSettings() {
    TMotionSettingsRec rec = DefaultMotionSettings();
    try {
        const platform::SettingsKey key(kSettingsKey, false);
        const auto bytes = key.ReadBinary(kMotionSettingsValue);
        if (bytes && bytes->size() <= sizeof rec)
            std::memcpy(&rec, bytes->data(), bytes->size());
    } catch (const platform::SettingsError&) {
        // No key yet: the defaults.
    }
    return ValidMotionSettings(rec);
}

bool WriteGlobalMotionSettings(const TMotionSettingsRec& rec) {
    try {
        platform::SettingsKey key(kSettingsKey, false);
        key.WriteBinary(kMotionSettingsValue, &rec, sizeof rec);
        return true;
    } catch (const platform::SettingsError&) {
        return false;
    }
}

TMotionSettingsRec ApplyMotionOverrides(TMotionSettingsRec global, const TWebcamDef1Rec& rec2) {
    if (InRange(rec2.MotionCellSize)) global.CellSize = rec2.MotionCellSize;
    if (InRange(rec2.MotionThreshold)) global.Threshold = rec2.MotionThreshold;
    if (InRange(rec2.MotionSensitivity)) global.Sensitivity = rec2.MotionSensitivity;
    return global;
}

TMotionSettingsRec LoadMotionSettings(const TWebcamDef1Rec* rec2) {
    const TMotionSettingsRec global = ReadGlobalMotionSettings();
    return rec2 ? ApplyMotionOverrides(global, *rec2) : global;
}

}  // namespace engine
