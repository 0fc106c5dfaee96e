#include "desktop/url_drop.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <system_error>

#include "platform/cp1252.h"

namespace desktop {

namespace {

std::string Lower(std::string_view s) {
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return std::tolower(c); });
    return out;
}

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() && Lower(s.substr(0, prefix.size())) == prefix;
}

// Splits at LF, CR LF or a lone CR.
template <typename Fn>
void ForEachLine(std::string_view text, Fn&& fn) {
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = text.size();
        if (!fn(text.substr(start, end - start))) return;
        start = end + 1;
        if (end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n') ++start;
    }
}

}  // namespace

bool AcceptablePictureUrl(std::string_view url) {
    return !url.empty() && url.size() <= 255 &&
           std::none_of(url.begin(), url.end(), [](unsigned char c) { return c < 32 || c == 127; });
}

DroppedLines UrlsFromText(std::string_view text) {
    DroppedLines result;
    ForEachLine(text, [&](std::string_view line) {
        if (result.linesRead == kMaxDroppedLines) {
            result.capped = true;
            return false;
        }
        ++result.linesRead;
        if (!StartsWithNoCase(line, "http:")) return true;
        std::string url = platform::Utf8ToCp1252(line);
        if (AcceptablePictureUrl(url)) result.urls.push_back(std::move(url));
        return true;
    });
    return result;
}

std::optional<std::string> ShortcutFileUrl(const std::filesystem::path& file) {
    const std::string extension = Lower(file.extension().string());
    const bool desktopFile = extension == ".desktop";
    if (extension != ".url" && !desktopFile) return std::nullopt;
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error) || std::filesystem::file_size(file, error) > kMaxShortcutFileSize ||
        error) {
        return std::nullopt;
    }
    std::ifstream in(file, std::ios::binary);
    std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (content.size() > kMaxShortcutFileSize) return std::nullopt;
    // A desktop file: only the keys of its main entry, and only when that entry is a link.
    bool inEntry = !desktopFile, isLink = !desktopFile;
    std::optional<std::string> url;
    ForEachLine(content, [&](std::string_view line) {
        if (desktopFile && !line.empty() && line.front() == '[') {
            inEntry = line == "[Desktop Entry]";
            return true;
        }
        if (!inEntry) return true;
        if (desktopFile && line == "Type=Link") isLink = true;
        if (!url && StartsWithNoCase(line, "url=")) url = std::string(line.substr(4));
        return true;
    });
    if (!isLink || !url) return std::nullopt;
    // Internet shortcuts are Windows-1252 text, desktop files UTF-8.
    return desktopFile ? *url : platform::Cp1252ToUtf8(*url);
}

}  // namespace desktop
