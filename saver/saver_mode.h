#pragma once
// The mode the screen saver is started in, from its first command-line parameter.

#include <cstdint>
#include <string_view>

namespace saver {

enum class SaverMode : std::uint8_t {
    ChangePassword = 0,  // "/a": nothing to do on Linux
    Preview = 1,         // "/p": shows nothing
    Configure = 2,       // "/c": the settings dialog
    Run = 3,             // "/s": the full-screen window
    None = 4,            // no recognised switch
};

// "/X", "-X" or "X" first (letters in either case) selects mode X; anything may follow, so
// "/c:1234" configures.
SaverMode ModeFromParameter(std::string_view first);

}  // namespace saver
