// Which savers may run side by side: one of a kind full screen or configuring, any number in
// daemon windows (one per screen), never the two kinds together, and a lock that cannot be
// taken counts as held.
#include "saver/saver_instance.h"

#include "tests/saver/saver_fixture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

namespace {

using saver::SaverInstance;

class SaverInstanceTest : public savertest::SaverTest {};

TEST_F(SaverInstanceTest, KindsDoNotMix) {
    struct Case {
        const char* name;
        bool firstHosted, secondHosted, secondAlone;
    };
    const Case cases[] = {
        {"two full screen", false, false, false},
        {"two hosted (two screens)", true, true, true},
        {"hosted beside full screen", false, true, false},
        {"full screen beside hosted", true, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const SaverInstance first(c.firstHosted);
        ASSERT_TRUE(first.alone());
        EXPECT_EQ(SaverInstance(c.secondHosted).alone(), c.secondAlone);
        EXPECT_TRUE(first.alone());
    }
    // One that gave way holds nothing: the next runs.
    {
        const SaverInstance full(false);
        EXPECT_FALSE(SaverInstance(true).alone());
    }
    EXPECT_TRUE(SaverInstance(false).alone());
}

TEST_F(SaverInstanceTest, LockThatCannotBeTakenCountsAsHeld) {
    for (const char* lock : {"OVLSaver", "OVLSaverHosted"}) {
        SCOPED_TRACE(lock);
        const std::filesystem::path path = platform::LockFile::PathFor(lock);
        std::filesystem::remove(path);  // left by the round before
        std::filesystem::create_directory(path);
        EXPECT_FALSE(SaverInstance(false).alone());
        EXPECT_FALSE(SaverInstance(true).alone());
        std::filesystem::remove(path);
    }
}

}  // namespace
