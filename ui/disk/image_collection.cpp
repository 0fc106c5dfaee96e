#include "ui/disk/image_collection.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <stdexcept>
#include <string_view>
#include <system_error>
#include <utility>

namespace ui {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string Upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

bool EndsWithNoCase(const std::string& name, std::string_view suffix) {
    return name.size() >= suffix.size() && Upper(name.substr(name.size() - suffix.size())) == suffix;
}

char TypeLetter(const std::string& name) {
    if (EndsWithNoCase(name, ".JPG")) return 'J';
    if (EndsWithNoCase(name, ".CAM")) return 'M';
    return 'X';
}

}  // namespace

std::optional<platform::TDateTime> FolderNameToDate(const std::string& name) {
    static constexpr std::string_view kMonths = "JANFEBMARAPRMAYJUNJULAUGSEPOCTNOVDEC";
    if (name.size() != 7 || !IsDigit(name[0]) || !IsDigit(name[1]) || !IsDigit(name[5]) || !IsDigit(name[6]))
        return std::nullopt;
    // Only a whole month name counts: three letters at a month's place in the list.
    const std::string month = Upper(name.substr(2, 3));
    int monthNumber = 0;
    for (std::size_t at = 0; at < kMonths.size(); at += 3)
        if (kMonths.substr(at, 3) == month) monthNumber = static_cast<int>(at / 3) + 1;
    if (monthNumber == 0) return std::nullopt;
    const int day = (name[0] - '0') * 10 + (name[1] - '0');
    const int yy = (name[5] - '0') * 10 + (name[6] - '0');
    const int year = yy < 95 ? 2000 + yy : 1900 + yy;
    if (!platform::IsValidDate(year, monthNumber, day)) return std::nullopt;
    return platform::EncodeDate(year, monthNumber, day);
}

std::string EntryName(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

void SortFoldersByDate(std::vector<std::string>& paths) {
    bool swapped = true;
    while (swapped) {
        swapped = false;
        for (std::size_t i = 0; i + 1 < paths.size(); ++i) {
            const std::string first = EntryName(paths[i]);
            if (first == "..") continue;
            const auto a = FolderNameToDate(first);
            const auto b = FolderNameToDate(EntryName(paths[i + 1]));
            if (a && b && *a > *b) {
                std::swap(paths[i], paths[i + 1]);
                swapped = true;
            }
        }
    }
}

std::string timagecollection::GetPath(int i) const {
    return i >= 1 && i <= Count() ? FPaths[static_cast<std::size_t>(i - 1)] : std::string();
}

int timagecollection::ItemType(int i) const {
    if (i < 1 || i > Count()) return kEntryOther;
    switch (FTypes[static_cast<std::size_t>(i - 1)]) {
        case 'F': return kEntryFolder;
        case 'J': return kEntryJpeg;
        case 'M': return kEntryCam;
        default: return kEntryOther;
    }
}

void timagecollection::Clear() {
    FPaths.clear();
    FTypes.clear();
}

void timagecollection::Load(const std::string& folder, std::uint8_t flags) {
    namespace fs = std::filesystem;
    std::error_code error;
    if (!fs::is_directory(folder, error)) throw std::runtime_error(folder + "n'existe pas");
    FFlags = flags;
    FFolder = folder;
    if (FFolder.empty() || FFolder.back() != '/') FFolder += '/';

    std::vector<std::string> folders, files;
    if (flags & kListFolders) folders.push_back(FFolder + "..");
    for (fs::directory_iterator it(FFolder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        std::error_code kind;
        if (it->is_directory(kind)) {
            if (flags & kListFolders) folders.push_back(FFolder + name);
        } else if ((flags & kListAllFiles) || ((flags & kListJpegFiles) && EndsWithNoCase(name, ".JPG"))) {
            files.push_back(FFolder + name);
        }
    }
    std::sort(folders.begin(), folders.end());
    SortFoldersByDate(folders);
    std::sort(files.begin(), files.end());
    for (std::string& path : folders) {
        FPaths.push_back(std::move(path));
        FTypes.push_back('F');
    }
    for (std::string& path : files) {
        FTypes.push_back(TypeLetter(EntryName(path)));
        FPaths.push_back(std::move(path));
    }
}

}  // namespace ui
