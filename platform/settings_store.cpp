#include "platform/settings_store.h"

#include "platform/fd_io.h"

#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <sstream>
#include <thread>

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

// The value a file of a key's folder holds: its name and type; nothing for a file that holds
// none (a temporary one, another suffix).
std::optional<std::pair<std::string, ValueType>> ValueOfFile(std::string_view file) {
    if (file.starts_with(".tmp-")) return std::nullopt;
    for (ValueType type : {ValueType::Binary, ValueType::String}) {
        const std::string_view suffix = Suffix(type);
        if (file.size() > suffix.size() && file.ends_with(suffix))
            return std::pair{DecodeName(file.substr(0, file.size() - suffix.size())), type};
    }
    return std::nullopt;
}

std::string RandomSuffix() {
    thread_local std::mt19937_64 random{std::random_device{}()};
    return std::to_string(getpid()) + "-" + std::to_string(random());
}

[[noreturn]] void Fail(const char* what, int error) {
    throw SettingsError(std::string(what) + ": " + std::strerror(error));
}

class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

// Removes a folder no reader looks at any more (an old key swapped out) without holding up the
// caller: a key of many values takes seconds to remove, and a program that ends meanwhile leaves
// the rest to the next replacement of the key.
void SweepAway(fs::path folder) {
    std::thread([folder = std::move(folder)] {
        std::error_code ec;
        fs::remove_all(folder, ec);
    }).detach();
}

// A key being replaced is written into a folder beside it named ".KEY.swap-PID-RANDOM", which
// after the swap holds the old key until it is swept away. One that a killed program left behind
// (its process gone) is never the key itself: it is claimed under this program's id and swept.
void SweepLeftovers(const fs::path& parent, const std::string& prefix) {
    std::error_code ec;
    std::vector<fs::path> leftovers;
    for (fs::directory_iterator it(parent, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (!name.starts_with(prefix)) continue;
        // This program's own are being swept already.
        const pid_t owner = static_cast<pid_t>(std::atol(name.c_str() + prefix.size()));
        if (owner <= 0 || (owner != getpid() && ::kill(owner, 0) != 0 && errno == ESRCH)) leftovers.push_back(it->path());
    }
    for (const fs::path& leftover : leftovers) {
        const fs::path claimed = parent / (prefix + RandomSuffix());
        if (::rename(leftover.c_str(), claimed.c_str()) == 0) SweepAway(claimed);
    }
}

// Writes the values into the empty folder, then makes them and the folder durable at once (one
// flush of the file system, not one per file).
void WriteValues(const fs::path& folder, const std::vector<StoredValue>& values) {
    const Fd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() < 0) Fail("cannot write settings key", errno);
    for (const StoredValue& value : values) {
        const std::string file = EncodeName(value.name) + std::string(Suffix(value.type));
        const Fd fd(::openat(dir.get(), file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600));
        if (fd.get() < 0 || !WriteAll(fd.get(), value.bytes.data(), value.bytes.size()))
            Fail("cannot write setting", errno);
    }
    if (::syncfs(dir.get()) != 0 || ::fsync(dir.get()) != 0) Fail("cannot write settings key", errno);
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

void SettingsKey::ReplaceKey(std::string_view keyPath, const std::vector<StoredValue>& values) {
    const std::vector<std::string> parts = SplitKey(keyPath);
    if (parts.empty()) throw SettingsError("the settings root cannot be replaced");
    std::string parentPath = "Software";
    for (std::size_t i = 0; i + 1 < parts.size(); ++i) parentPath += "\\" + parts[i];
    const SettingsKey parent(parentPath, true);
    const std::optional<fs::path> existing = FindEntry(parent.folder(), EncodeName(parts.back()));
    const std::string live = existing ? existing->filename().string() : EncodeName(parts.back());
    const std::string prefix = "." + live + ".swap-";
    SweepLeftovers(parent.folder(), prefix);

    const std::string fresh = prefix + RandomSuffix();
    const fs::path freshFolder = parent.folder() / fresh;
    if (::mkdir(freshFolder.c_str(), 0777) != 0) Fail("cannot write settings key", errno);
    std::error_code ec;
    try {
        WriteValues(freshFolder, values);
        const Fd dir(::open(parent.folder().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (dir.get() < 0) Fail("cannot write settings key", errno);
        const unsigned swap = existing ? RENAME_EXCHANGE : RENAME_NOREPLACE;
        if (::renameat2(dir.get(), fresh.c_str(), dir.get(), live.c_str(), swap) != 0) Fail("cannot replace settings key", errno);
        ::fsync(dir.get());
    } catch (const SettingsError&) {
        fs::remove_all(freshFolder, ec);
        throw;
    }
    SweepAway(freshFolder);  // the old key now
}

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
        if (auto value = ValueOfFile(it->path().filename().string())) names.push_back(std::move(value->first));
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<StoredValue> SettingsKey::ReadAll() const {
    std::vector<StoredValue> values;
    std::error_code ec;
    for (fs::directory_iterator it(folder_, ec), end; !ec && it != end; it.increment(ec)) {
        if (!it->is_regular_file(ec)) continue;
        auto value = ValueOfFile(it->path().filename().string());
        std::string bytes;
        if (value && ReadWholeFile(it->path().string(), bytes))
            values.push_back({std::move(value->first), value->second, std::move(bytes)});
    }
    return values;
}

}  // namespace platform
