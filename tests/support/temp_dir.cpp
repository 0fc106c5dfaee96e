#include "tests/support/temp_dir.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace testsupport {

TempDir::TempDir(const std::filesystem::path& base) {
    std::string pattern = (base / "orvello-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

void WriteFile(const std::filesystem::path& file, const std::string& bytes) {
    std::filesystem::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + file.string());
}

std::string ReadFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

namespace {
void Swap(const char* name, const std::string& value, std::string& old, bool& had) {
    const char* current = std::getenv(name);
    had = current != nullptr;
    if (had) old = current;
    setenv(name, value.c_str(), 1);
}
void Restore(const char* name, const std::string& old, bool had) {
    if (had) setenv(name, old.c_str(), 1);
    else unsetenv(name);
}
}  // namespace

void IsolatedTest::SetUp() {
    std::filesystem::create_directories(configDir());
    std::filesystem::create_directories(programDir());
    std::filesystem::create_directories(dataDir());
    Swap("XDG_CONFIG_HOME", configDir().string(), oldConfig_, hadConfig_);
    Swap("ORVELLO_PROGRAM_DIR", programDir().string(), oldProgram_, hadProgram_);
}

void IsolatedTest::TearDown() {
    Restore("XDG_CONFIG_HOME", oldConfig_, hadConfig_);
    Restore("ORVELLO_PROGRAM_DIR", oldProgram_, hadProgram_);
}

}  // namespace testsupport
