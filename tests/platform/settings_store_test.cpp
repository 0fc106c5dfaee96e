#include "platform/settings_store.h"

#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

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

}  // namespace
