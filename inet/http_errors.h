#pragma once
// The HTTP engine's own result codes and texts (the shared ones are in engine_errors.h).

namespace inet {

constexpr int kErrHttpBusy = 143;
constexpr int kErrHttpStatus = 151;  // the text is the status line from the code on
constexpr int kErrNoServer = 152;
constexpr int kErrBadScheme = 153;

inline constexpr const char* kTextHttpBusy = "Busy performing current action.";
inline constexpr const char* kTextNoServer = "No server specified in URL";
inline constexpr const char* kTextBadScheme = "Specified URLScheme is invalid.";
inline constexpr const char* kTextOpenAttached = "Can't open attached file for reading.";
inline constexpr const char* kTextReadAttached = "Can't open file for reading.";

}  // namespace inet
