#include "engine/kept_text_file.h"

#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

// Each step changes the file (or not) and says what the kept lines are then: read again after
// any change of the file, size or time, kept while all three stand.
TEST(KeptTextFile, ReadsTheFileAgainOnlyWhenItChanged) {
    testsupport::TempDir dir;
    const fs::path file = dir.path() / "header.txt";
    const std::string path = file.string();
    const auto write = [&](const std::string& text, fs::file_time_type time) {
        testsupport::WriteFile(file, text);
        fs::last_write_time(file, time);
    };
    const fs::file_time_type t0 = fs::file_time_type::clock::now() - std::chrono::hours(1);
    write("Date: one\r\nLast-Modified: A\r\n", t0);
    engine::KeptTextFile kept;
    ASSERT_EQ(kept.Lines(path), (Lines{"Date: one", "Last-Modified: A"}));

    struct Step {
        const char* what;
        std::function<void()> change;
        Lines lines;
    };
    const Step steps[] = {
        {"unchanged", [] {}, {"Date: one", "Last-Modified: A"}},
        // Rewritten in place with the same size and time: taken as the file kept.
        {"same inode, size and time", [&] { write("Date: two\r\nLast-Modified: B\r\n", t0); },
         {"Date: one", "Last-Modified: A"}},
        {"a later time", [&] { write("Date: two\r\nLast-Modified: B\r\n", t0 + std::chrono::seconds(1)); },
         {"Date: two", "Last-Modified: B"}},
        {"another size, same time",
         [&] { write("Date: three\r\nLast-Modified: C\r\n", t0 + std::chrono::seconds(1)); },
         {"Date: three", "Last-Modified: C"}},
        {"gone", [&] { fs::remove(file); }, {}},
        {"back with the time it had", [&] { write("Date: three\r\nLast-Modified: C\r\n", t0); },
         {"Date: three", "Last-Modified: C"}},
        {"replaced by a rename, same size and time",
         [&] {
             const fs::path next = dir.path() / "header.pxt";
             testsupport::WriteFile(next, "Date: thr3e\r\nLast-Modified: D\r\n");
             fs::last_write_time(next, t0);
             fs::rename(next, file);
         },
         {"Date: thr3e", "Last-Modified: D"}},
    };
    for (const Step& step : steps) {
        step.change();
        EXPECT_EQ(kept.Lines(path), step.lines) << step.what;
    }
    EXPECT_EQ(kept.Lines(dir.folder() + "other.txt"), Lines{});  // another file is no kept one
}

}  // namespace
