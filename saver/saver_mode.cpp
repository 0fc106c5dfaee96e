#include "saver/saver_mode.h"

#include <cctype>
#include <string>

namespace saver {
namespace {

bool Selects(const std::string& upper, char letter) {
    if (upper.empty()) return false;
    if (upper[0] == letter) return true;
    return upper.size() >= 2 && (upper[0] == '/' || upper[0] == '-') && upper[1] == letter;
}

}  // namespace

SaverMode ModeFromParameter(std::string_view first) {
    std::string upper(first);
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    SaverMode mode = SaverMode::None;
    // Four separate tests, in this order; the first character decides, so one matches at most.
    if (Selects(upper, 'A')) mode = SaverMode::ChangePassword;
    if (Selects(upper, 'S')) mode = SaverMode::Run;
    if (Selects(upper, 'P')) mode = SaverMode::Preview;
    if (Selects(upper, 'C')) mode = SaverMode::Configure;
    return mode;
}

}  // namespace saver
