#include "platform/settings_store.h"

#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <random>
#include <thread>

namespace {

using platform::SettingsKey;
using platform::ValueType;

class SettingsStore : public testsupport::IsolatedTest {};

TEST_F(SettingsStore, KeyIsAFolderBelowTheConfigRootWithoutSoftware) {
    SettingsKey key("Software\\Quenmark\\Orvello2", true);
    EXPECT_EQ(key.folder(), configDir() / "Quenmark" / "Orvello2");
    key.WriteBinary("CONFIG", "\x01\x00\x02", 3);
    key.WriteString("OVLPROGDIR", "/opt/orvello/");
    EXPECT_EQ(testsupport::ReadFile(key.folder() / "CONFIG.bin"), std::string("\x01\x00\x02", 3));
    EXPECT_EQ(testsupport::ReadFile(key.folder() / "OVLPROGDIR.sz"), "/opt/orvello/");
}

TEST_F(SettingsStore, ReadReportsTypeAndSizeAndKeepsTypesApart) {
    SettingsKey key("Software\\Quenmark\\Orvello2", true);
    key.WriteBinary("A", "12345", 5);
    key.WriteString("B", "text");
    ASSERT_TRUE(key.Info("A"));
    EXPECT_EQ(key.Info("A")->type, ValueType::Binary);
    EXPECT_EQ(key.Info("A")->size, 5u);
    EXPECT_EQ(key.Info("B")->type, ValueType::String);
    EXPECT_FALSE(key.Info("C"));
    EXPECT_FALSE(key.ReadString("A"));
    EXPECT_FALSE(key.ReadBinary("B"));
    // Rewriting with the other type replaces the value.
    key.WriteString("A", "now text");
    EXPECT_EQ(key.Info("A")->type, ValueType::String);
    EXPECT_FALSE(key.ReadBinary("A"));
    EXPECT_EQ(key.ValueNames(), (std::vector<std::string>{"A", "B"}));
}

TEST_F(SettingsStore, NamesMatchWithoutRegardToCase) {
    SettingsKey("Software\\Quenmark\\Orvello2", true).WriteBinary("Config", "x", 1);
    SettingsKey other("\\SOFTWARE\\quenmark\\orvello2", false);
    EXPECT_EQ(other.folder(), configDir() / "Quenmark" / "Orvello2");
    EXPECT_EQ(other.ReadBinary("CONFIG"), "x");
    other.WriteBinary("CONFIG", "y", 1);  // replaces the existing file, adds none
    EXPECT_EQ(other.ValueNames(), (std::vector<std::string>{"Config"}));
}

TEST_F(SettingsStore, SubkeysValueNamesAndDeletes) {
    SettingsKey bar("Software\\Quenmark\\Orvello2\\QuickBar", true);
    bar.WriteString("0", "Cam001");
    bar.WriteString("a/b", "slash");   // any name is stored safely
    bar.WriteString(".hidden", "dot");
    EXPECT_EQ(bar.ValueNames(), (std::vector<std::string>{".hidden", "0", "a/b"}));
    EXPECT_EQ(bar.ReadString("a/b"), "slash");
    EXPECT_TRUE(bar.DeleteValue("0"));
    EXPECT_FALSE(bar.DeleteValue("0"));
    EXPECT_TRUE(SettingsKey::DeleteKey("Software\\Quenmark\\Orvello2\\QuickBar"));
    EXPECT_FALSE(SettingsKey::KeyExists("Software\\Quenmark\\Orvello2\\QuickBar"));
    EXPECT_TRUE(SettingsKey::KeyExists("Software\\Quenmark\\Orvello2"));
}

TEST_F(SettingsStore, MissingKeyWithoutCreateThrows) {
    EXPECT_THROW(SettingsKey("Software\\Nobody", false), platform::SettingsError);
}

TEST_F(SettingsStore, KeyThatCannotBeMadeThrows) {
    testsupport::WriteFile(configDir() / "Blocked", "a file where the key's folder would be");
    EXPECT_THROW(SettingsKey("Software\\Blocked\\Key", true), platform::SettingsError);
}

TEST_F(SettingsStore, TwoProcessesWritingOneKeyKeepEachOthersValues) {
    SettingsKey("Software\\Quenmark\\Orvello2", true);
    constexpr int kWrites = 200;
    std::vector<pid_t> children;
    for (const char* name : {"CONFIG", "EXTRA1"}) {
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            SettingsKey key("Software\\Quenmark\\Orvello2", false);
            for (int i = 0; i < kWrites; ++i) {
                const std::string value(100 + i, static_cast<char>('a' + i % 26));
                key.WriteBinary(name, value.data(), value.size());
                // Every read sees a whole value of one write, never half of one.
                const auto back = key.ReadBinary(name);
                if (!back || back->size() < 100 || back->find_first_not_of((*back)[0]) != std::string::npos) _exit(1);
            }
            _exit(0);
        }
        children.push_back(pid);
    }
    for (pid_t pid : children) {
        int status = 0;
        waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    SettingsKey key("Software\\Quenmark\\Orvello2", false);
    EXPECT_EQ(key.Info("CONFIG")->size, 100u + kWrites - 1);
    EXPECT_EQ(key.Info("EXTRA1")->size, 100u + kWrites - 1);
    EXPECT_EQ(key.ValueNames().size(), 2u);  // no temporary file left behind
}

constexpr const char* kBarKey = "Software\\Quenmark\\Orvello2\\QuickBar";

// n string values "0" .. and one binary value "POS", each naming its set.
std::vector<platform::StoredValue> ValueSet(const std::string& set, int n) {
    std::vector<platform::StoredValue> values;
    for (int i = 0; i < n; ++i) values.push_back({std::to_string(i), ValueType::String, set + std::to_string(i)});
    values.push_back({"POS", ValueType::Binary, set});
    return values;
}

// The key as a set name: "A" or "B" when it holds exactly that set, else what it holds.
std::string KeySet() {
    std::vector<platform::StoredValue> values = SettingsKey(kBarKey, false).ReadAll();
    const auto pos = std::find_if(values.begin(), values.end(), [](const auto& v) { return v.name == "POS"; });
    if (pos == values.end()) return "no POS among " + std::to_string(values.size()) + " values";
    const std::string set = pos->bytes;
    std::sort(values.begin(), values.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
    std::vector<platform::StoredValue> whole = ValueSet(set, static_cast<int>(values.size()) - 1);
    std::sort(whole.begin(), whole.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
    const bool same = std::equal(values.begin(), values.end(), whole.begin(), whole.end(), [](const auto& a, const auto& b) {
        return a.name == b.name && a.type == b.type && a.bytes == b.bytes;
    });
    return same ? set + std::to_string(values.size() - 1) : "a mixture of " + std::to_string(values.size()) + " values";
}

// Whether the folder comes to hold the key's folder alone, within a few seconds.
bool NothingBesideTheKey(const std::filesystem::path& parent) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    for (;;) {
        std::size_t entries = 0;
        for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(parent)) ++entries;
        if (entries == 1) return true;
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

TEST_F(SettingsStore, ReplaceKeyPutsTheNewValuesInPlaceOfTheOldOnesAndSubkeys) {
    SettingsKey old(kBarKey, true);
    old.WriteString("7", "stale");
    SettingsKey(std::string(kBarKey) + "\\Sub", true).WriteString("x", "y");
    SettingsKey::ReplaceKey("software\\quenmark\\orvello2\\quickbar", ValueSet("A", 3));
    EXPECT_EQ(KeySet(), "A3");
    EXPECT_FALSE(SettingsKey::KeyExists(std::string(kBarKey) + "\\Sub"));
    EXPECT_EQ(SettingsKey(kBarKey, false).folder(), configDir() / "Quenmark" / "Orvello2" / "QuickBar");
    // Nothing is left beside the key (the old one is swept away in the background).
    EXPECT_TRUE(NothingBesideTheKey(configDir() / "Quenmark" / "Orvello2"));
    // A key that was missing is made.
    SettingsKey::ReplaceKey("Software\\Quenmark\\Orvello2\\Other", {});
    EXPECT_TRUE(SettingsKey(std::string("Software\\Quenmark\\Orvello2\\Other"), false).ReadAll().empty());
}

TEST_F(SettingsStore, ReadAllGivesEveryValueWithItsTypeAndSkipsTemporaryFiles) {
    SettingsKey key(kBarKey, true);
    key.WriteString("a/b", "slash");
    key.WriteBinary("DOROZADATA", "\x00\x01", 2);
    testsupport::WriteFile(key.folder() / ".tmp-1-2", "half written");
    std::vector<platform::StoredValue> values = key.ReadAll();
    std::sort(values.begin(), values.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
    ASSERT_EQ(values.size(), 2u);
    EXPECT_EQ(values[0].name, "DOROZADATA");
    EXPECT_EQ(values[0].type, ValueType::Binary);
    EXPECT_EQ(values[0].bytes, std::string("\x00\x01", 2));
    EXPECT_EQ(values[1].name, "a/b");
    EXPECT_EQ(values[1].type, ValueType::String);
}

// A writer killed at random moments of replacing the key, over and over: each time the key holds
// one set whole, and the next replacement clears what the killed one left beside the key.
TEST_F(SettingsStore, AKillAtAnyMomentOfReplaceKeyLeavesTheOldOrTheNewValuesWhole) {
    SettingsKey::ReplaceKey(kBarKey, ValueSet("A", 200));
    std::mt19937 random(std::random_device{}());
    for (int run = 0; run < 25; ++run) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int i = 0;; ++i) SettingsKey::ReplaceKey(kBarKey, ValueSet(i % 2 ? "A" : "B", i % 2 ? 200 : 150));
        }
        std::this_thread::sleep_for(std::chrono::microseconds(std::uniform_int_distribution<int>(0, 40000)(random)));
        kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        const std::string set = KeySet();
        EXPECT_TRUE(set == "A200" || set == "B150") << "run " << run << ": " << set;
    }
    SettingsKey::ReplaceKey(kBarKey, ValueSet("A", 1));
    EXPECT_TRUE(NothingBesideTheKey(configDir() / "Quenmark" / "Orvello2"));
}

}  // namespace

