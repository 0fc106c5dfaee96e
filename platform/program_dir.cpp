#include "platform/program_dir.h"

#include <cstdlib>
#include <filesystem>

namespace platform {

std::string WithTrailingSlash(std::string folder) {
    if (!folder.empty() && folder.back() != '/') folder += '/';
    return folder;
}

std::string ProgramFolder() {
    if (const char* override = std::getenv("ORVELLO_PROGRAM_DIR"); override && *override)
        return WithTrailingSlash(override);
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) return WithTrailingSlash(std::filesystem::current_path(ec).string());
    return WithTrailingSlash(exe.parent_path().string());
}

}  // namespace platform
