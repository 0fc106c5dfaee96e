#include "engine/logs.h"

#include "platform/fd_io.h"
#include "platform/program_dir.h"

#include <fcntl.h>
#include <unistd.h>

#include <fstream>

namespace engine {
namespace {

std::string JoinLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line;
        text += '\n';
    }
    return text;
}

}  // namespace

terrorlog::terrorlog() : FFileName(platform::ProgramFolder() + "errors.txt") {}

void terrorlog::Add(const std::vector<std::string>& lines) {
    if (!FEnabled || FFileName.empty()) return;
    // One append of the whole entry: earlier entries are never read or rewritten, and the
    // entry's lines stay together.
    const std::string text = JoinLines(lines);
    const int fd = ::open(FFileName.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) return;
    platform::WriteAll(fd, text.data(), text.size());
    ::close(fd);
}

void tdebuglog::Save() {
    std::ofstream out(FFileName, std::ios::binary | std::ios::trunc);
    out << JoinLines(FLines);
    FLines.clear();
}

}  // namespace engine
