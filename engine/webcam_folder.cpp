#include "engine/webcam_folder.h"

#include "platform/fd_io.h"
#include "platform/safe_name.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <strings.h>
#include <sys/stat.h>

#include <cstring>

namespace engine {
namespace {

bool EndsWithJpg(const char* name) {
    const std::size_t n = std::strlen(name);
    return n >= 4 && strcasecmp(name + n - 4, ".jpg") == 0;
}

}  // namespace

void EnsureFolder(const std::string& dataDir, const std::string& name) {
    const std::string folder = platform::SafeSubfolder(dataDir, name);
    if (!folder.empty()) mkdir(folder.c_str(), 0777);  // exists already, or cannot be made: both dropped
}

bool RenameWebcamFolder(const std::string& dataDir, const std::string& oldName, const std::string& newName) {
    const std::string from = platform::SafeSubfolder(dataDir, oldName);
    const std::string to = platform::SafeSubfolder(dataDir, newName);
    if (from.empty() || to.empty()) return false;
    return renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0;
}

std::vector<std::string> ReadTextLines(const std::string& path) {
    std::vector<std::string> lines;
    std::string text;
    if (!platform::ReadWholeFile(path, text)) return lines;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string_view line(text.data() + start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.emplace_back(line);
        start = end + 1;
    }
    return lines;
}

std::string LatestJpegInFolder(const std::string& folder) {
    std::string latest;
    DIR* dir = opendir(folder.c_str());
    if (!dir) return latest;
    while (const dirent* entry = readdir(dir)) {
        if (entry->d_type == DT_DIR) continue;  // a folder named "x.jpg" is no picture
        if (EndsWithJpg(entry->d_name) && (latest.empty() || strcasecmp(entry->d_name, latest.c_str()) > 0))
            latest = entry->d_name;
    }
    closedir(dir);
    return latest;
}

std::vector<std::string> JpegNamesInFolder(const std::string& folder) {
    std::vector<std::string> names;
    DIR* dir = opendir(folder.c_str());
    if (!dir) return names;
    while (const dirent* entry = readdir(dir)) {
        if (entry->d_type != DT_DIR && EndsWithJpg(entry->d_name)) names.emplace_back(entry->d_name);
    }
    closedir(dir);
    return names;
}

}  // namespace engine
