#include "tests/support/peers.h"

#include <cstdlib>
#include <filesystem>
#include <sstream>

namespace testsupport {

std::string FindProgram(const std::string& name) {
    std::string path = std::getenv("PATH") ? std::getenv("PATH") : "";
    path += ":/usr/sbin:/sbin:/usr/local/sbin";
    std::istringstream dirs(path);
    for (std::string dir; std::getline(dirs, dir, ':');) {
        if (dir.empty()) continue;
        std::filesystem::path candidate = std::filesystem::path(dir) / name;
        std::error_code ec;
        if (std::filesystem::is_regular_file(candidate, ec)) return candidate.string();
    }
    return {};
}

bool PeersRequired() {
    const char* value = std::getenv("ORVELLO_REQUIRE_PEERS");
    return value && std::string(value) == "1";
}

}  // namespace testsupport
