#include "platform/settings_store.h"

#include "platform/fd_io.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <sstream>

namespace fs = std::filesystem;

namespace platform {
namespace {

constexpr std::string_view kBinarySuffix = ".bin";
constexpr std::string_view kStringSuffix = ".sz";

std::string_view Suffix(ValueType type) {
    return type == ValueType::Binary ? kBinarySuffix : kStringSuffix;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

// Registry names may hold any character; a file name may not hold '/' and should not start
// with '.', so those (and '%' itself) are written as %XX.
std::string EncodeName(std::string_view name) {
    std::string out;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const auto c = static_cast<unsigned char>(name[i]);
        if (c == '/' || c == '%' || c == 0 || (i == 0 && c == '.')) {
            static const char* hex = "0123456789ABCDEF";
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

std::string DecodeName(std::string_view encoded) {
    std::string out;
    for (std::size_t i = 0; i < encoded.size(); ++i) {
        if (encoded[i] == '%' && i + 2 < encoded.size() && std::isxdigit(static_cast<unsigned char>(encoded[i + 1])) &&
            std::isxdigit(static_cast<unsigned char>(encoded[i + 2]))) {
            out += static_cast<char>(std::stoi(std::string(encoded.substr(i + 1, 2)), nullptr, 16));
            i += 2;
        } else {
            out += encoded[i];
        }
    }
    return out;
}

std::vector<std::string> SplitKey(std::string_view keyPath) {
    std::vector<std::string> parts;
    std::string part;
    for (char c : keyPath) {
        if (c == '\\' || c == '/') {
            if (!part.empty()) parts.push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    if (!part.empty()) parts.push_back(part);
    if (!parts.empty() && EqualNoCase(parts.front(), "Software")) parts.erase(parts.begin());
    return parts;
}

// The entry of folder whose name equals name ignoring case, preferring the exact spelling.
std::optional<fs::path> FindEntry(const fs::path& folder, std::string_view name) {
    std::error_code ec;
    const fs::path exact = folder / std::string(name);
    if (fs::exists(exact, ec)) return exact;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        if (EqualNoCase(it->path().filename().string(), name)) return it->path();
    return std::nullopt;
}

// The key's folder, each component matched without regard to case; nothing when missing.
std::optional<fs::path> ResolveKey(std::string_view keyPath) {
    fs::path folder = SettingsKey::Root();
    for (const std::string& part : SplitKey(keyPath)) {
        auto found = FindEntry(folder, EncodeName(part));
        if (!found) return std::nullopt;
        folder = *found;
    }
    return folder;
}

}  // namespace

fs::path SettingsKey::Root() {
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg) return xdg;
    const char* home = std::getenv("HOME");
    return fs::path(home && *home ? home : "/tmp") / ".config";
}

SettingsKey::SettingsKey(std::string_view keyPath, bool create) {
    if (auto existing = ResolveKey(keyPath)) {
        folder_ = *existing;
        return;
    }
    if (!create) throw SettingsError("settings key not found");
    fs::path folder = Root();
    for (const std::string& part : SplitKey(keyPath)) {
        const std::string encoded = EncodeName(part);
        auto found = FindEntry(folder, encoded);
        folder = found ? *found : folder / encoded;
    }
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec || !fs::is_directory(folder, ec)) throw SettingsError("cannot create settings key folder");
    folder_ = folder;
}

bool SettingsKey::KeyExists(std::string_view keyPath) { return ResolveKey(keyPath).has_value(); }

bool SettingsKey::DeleteKey(std::string_view keyPath) {
    auto folder = ResolveKey(keyPath);
    if (!folder || SplitKey(keyPath).empty()) return false;
    std::error_code ec;
    fs::remove_all(*folder, ec);
    return !ec;
}

std::optional<fs::path> SettingsKey::Find(std::string_view name, ValueType type) const {
    return FindEntry(folder_, EncodeName(name) + std::string(Suffix(type)));
}

std::optional<ValueInfo> SettingsKey::Info(std::string_view name) const {
    for (ValueType type : {ValueType::Binary, ValueType::String}) {
        if (auto file = Find(name, type)) {
            std::error_code ec;
            const auto size = fs::file_size(*file, ec);
            if (!ec) return ValueInfo{type, static_cast<std::size_t>(size)};
        }
    }
    return std::nullopt;
}

std::optional<std::string> SettingsKey::Read(std::string_view name, ValueType type) const {
    auto file = Find(name, type);
    if (!file) return std::nullopt;
    std::ifstream in(*file, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::optional<std::string> SettingsKey::ReadBinary(std::string_view name) const {
    return Read(name, ValueType::Binary);
}

std::optional<std::string> SettingsKey::ReadString(std::string_view name) const {
    return Read(name, ValueType::String);
}

void SettingsKey::Write(std::string_view name, ValueType type, std::string_view bytes) {
    const auto existing = Find(name, type);
    const fs::path target = existing ? *existing : folder_ / (EncodeName(name) + std::string(Suffix(type)));

    thread_local std::mt19937_64 random{std::random_device{}()};
    const fs::path temp = folder_ / (".tmp-" + std::to_string(getpid()) + "-" + std::to_string(random()));
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) throw SettingsError(std::string("cannot write setting: ") + std::strerror(errno));
    bool ok = WriteAll(fd, bytes.data(), bytes.size());
    ok = ::fsync(fd) == 0 && ok;
    ok = ::close(fd) == 0 && ok;
    if (!ok || ::rename(temp.c_str(), target.c_str()) != 0) {
        const int error = errno;
        ::unlink(temp.c_str());
        throw SettingsError(std::string("cannot write setting: ") + std::strerror(error));
    }
    const ValueType other = type == ValueType::Binary ? ValueType::String : ValueType::Binary;
    if (auto stale = Find(name, other)) {
        std::error_code ec;
        fs::remove(*stale, ec);
    }
}

void SettingsKey::WriteBinary(std::string_view name, const void* data, std::size_t size) {
    Write(name, ValueType::Binary, std::string_view(static_cast<const char*>(data), size));
}

void SettingsKey::WriteString(std::string_view name, std::string_view text) {
    Write(name, ValueType::String, text);
}

bool SettingsKey::DeleteValue(std::string_view name) {
    bool removed = false;
    for (ValueType type : {ValueType::Binary, ValueType::String}) {
        if (auto file = Find(name, type)) {
            std::error_code ec;
            removed = fs::remove(*file, ec) || removed;
        }
    }
    return removed;
}

std::vector<std::string> SettingsKey::ValueNames() const {
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(folder_, ec), end; !ec && it != end; it.increment(ec)) {
        if (!it->is_regular_file(ec)) continue;
        const std::string file = it->path().filename().string();
        if (file.rfind(".tmp-", 0) == 0) continue;
        for (ValueType type : {ValueType::Binary, ValueType::String}) {
            const std::string_view suffix = Suffix(type);
            if (file.size() > suffix.size() && file.ends_with(suffix))
                names.push_back(DecodeName(std::string_view(file).substr(0, file.size() - suffix.size())));
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace platform
