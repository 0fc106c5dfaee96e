#pragma once
// What is dropped on the quick bar, turned into picture URLs: the lines of a text that begin with
// "http:" (any case), and the address of an Internet-shortcut file (".url": its "URL=" line) or
// of a desktop link file (".desktop": the "URL=" line of a Type=Link entry). No Qt.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace desktop {

// A dropped text is read up to this many lines; the rest is left out and the user told.
inline constexpr std::size_t kMaxDroppedLines = 5000;
// A shortcut file larger than this is not read.
inline constexpr std::uintmax_t kMaxShortcutFileSize = 64 * 1024;

struct DroppedLines {
    std::vector<std::string> urls;  // Windows-1252 bytes, as record strings hold them
    std::size_t linesRead = 0;
    bool capped = false;  // lines past kMaxDroppedLines were left out
};

// Every line (LF, CR LF or CR) whose first five characters lower-cased are "http:" and that can
// be a webcam's picture URL (AcceptablePictureUrl). text: UTF-8.
DroppedLines UrlsFromText(std::string_view text);
// What a webcam added in the editor may hold: at most 255 bytes, no control characters.
bool AcceptablePictureUrl(std::string_view url);
// The text a shortcut file gives to UrlsFromText: the rest of its "URL=" line (any case); for a
// ".desktop" file only within a Type=Link entry. Nothing for another extension, a file that is
// not a regular file or is larger than kMaxShortcutFileSize, or one without such a line.
std::optional<std::string> ShortcutFileUrl(const std::filesystem::path& file);

}  // namespace desktop
