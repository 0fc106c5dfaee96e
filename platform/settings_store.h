#pragma once
// The settings store that stands in for the current user's registry: one folder per key below
// ${XDG_CONFIG_HOME:-$HOME/.config}, one file per value. "NAME.bin" holds a binary value byte for
// byte, "NAME.sz" a string value. The first key component "Software" is dropped, so the key
// Software\Quenmark\Orvello2 is the folder Quenmark/Orvello2/. Key and value names match without
// regard to letter case, as registry names do.
//
// Every write goes to a temporary file in the key's folder, is flushed and renamed into place, so
// another process never reads half a value, and two processes writing different values of one
// key never lose each other's writes. A key can also be replaced whole (ReplaceKey): its new
// values are written into a folder beside it, which is then swapped in at once.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

class SettingsError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class ValueType { Binary, String };

struct ValueInfo {
    ValueType type;
    std::size_t size;
};

struct StoredValue {
    std::string name;
    ValueType type;
    std::string bytes;
};

class SettingsKey {
public:
    // Opens the key, creating its folders when create is true. Throws SettingsError when the
    // key is missing (and not created) or its folder cannot be made.
    SettingsKey(std::string_view keyPath, bool create);

    // The store's root folder: $XDG_CONFIG_HOME, else $HOME/.config.
    static std::filesystem::path Root();
    // Removes a key with all its values and subkeys; false when it did not exist.
    static bool DeleteKey(std::string_view keyPath);
    static bool KeyExists(std::string_view keyPath);
    // Replaces the key, its values and subkeys, with values (the key is made when missing). A
    // reader, and a program killed at any moment of it, finds either the old key whole or the new
    // one whole. A value another process writes into the old key meanwhile is lost with it. The
    // old key's folder is removed in the background afterwards.
    // Throws SettingsError when the new key cannot be written; the old one then stays.
    static void ReplaceKey(std::string_view keyPath, const std::vector<StoredValue>& values);

    const std::filesystem::path& folder() const { return folder_; }

    std::optional<ValueInfo> Info(std::string_view name) const;
    // The value's bytes, or nothing when it is missing or of the other type.
    std::optional<std::string> ReadBinary(std::string_view name) const;
    std::optional<std::string> ReadString(std::string_view name) const;

    // Replace the value atomically (a value of the other type under that name is removed).
    // Throw SettingsError when the value cannot be written.
    void WriteBinary(std::string_view name, const void* data, std::size_t size);
    void WriteString(std::string_view name, std::string_view text);

    bool DeleteValue(std::string_view name);
    std::vector<std::string> ValueNames() const;
    // Every value, read in one pass over the key's folder: the cost grows with the number of
    // values, not with its square. Values that cannot be read are left out.
    std::vector<StoredValue> ReadAll() const;

private:
    std::optional<std::filesystem::path> Find(std::string_view name, ValueType type) const;
    std::optional<std::string> Read(std::string_view name, ValueType type) const;
    void Write(std::string_view name, ValueType type, std::string_view bytes);

    std::filesystem::path folder_;
};

}  // namespace platform
