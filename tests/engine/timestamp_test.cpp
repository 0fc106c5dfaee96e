#include "engine/timestamp.h"
#include "tests/support/manual_clock.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

using platform::EncodeDate;
using platform::EncodeTime;

TEST(Timestamp, TwoDigits) {
    EXPECT_EQ(engine::TwoDigits(0), "00");
    EXPECT_EQ(engine::TwoDigits(7), "07");
    EXPECT_EQ(engine::TwoDigits(99), "99");
    for (int bad : {100, -1}) {
        try {
            engine::TwoDigits(bad);
            ADD_FAILURE() << bad << " accepted";
        } catch (const std::out_of_range& e) {
            EXPECT_STREQ(e.what(), "Twostring out of range");
        }
    }
}

TEST(Timestamp, NamesUseTheLocalTime) {
    testsupport::ManualClock clock(EncodeDate(2026, 3, 4) + EncodeTime(5, 6, 7, 895));
    EXPECT_EQ(engine::TimestampName(), "20260304050607");
    EXPECT_EQ(engine::TimestampNameCs(), "2026030405060789");
}

TEST(Timestamp, NameToDateTimeReadsTheStampBeforeTheExtension) {
    const double stamp = EncodeDate(2026, 12, 10) + EncodeTime(8, 15, 2);
    const double stampCs = EncodeDate(2026, 12, 10) + EncodeTime(8, 15, 2);  // hundredths are dropped
    struct Case {
        const char* name;
        double expected;
    };
    const Case cases[] = {
        {"20261210081502.jpg", stamp},
        {"cam20261210081502.jpg", stamp},
        {"/data/Cam 001/cam20261210081502.JPG", stamp},
        {"cam2006-20261210081502.jpg", stamp},  // digits in the prefix
        {"cam12x20261210081502.jpg", stamp},
        {"cam1220261210081502.jpg", stamp},     // prefix digits run into the stamp
        {"cam7" "20261210081502.jpg", stamp},
        {"street2026121008150245.jpg", stampCs},  // stream frame: hundredths follow
        {"20261210081502", stamp},
        {"", 0},
        {"header.txt", 0},
        {"cam.jpg", 0},
        {"cam2026121008.jpg", 0},              // too short
        {"cam20261310081502.jpg", 0},          // month 13
        {"cam20260230081502.jpg", 0},          // 30 February
        {"cam20261210250000.jpg", 0},          // hour 25
    };
    for (const Case& c : cases) EXPECT_DOUBLE_EQ(engine::TimestampNameToDateTime(c.name), c.expected) << c.name;
}

TEST(Timestamp, ValueIsMillisecondsSince1970InUniversalTime) {
    struct Case {
        double local;
        int bias;
        const char* expected;
    };
    const Case cases[] = {
        {EncodeDate(1970, 1, 1) + EncodeTime(1, 0, 0), -60, "0"},
        {EncodeDate(1970, 1, 1), 0, "0"},
        {EncodeDate(1970, 1, 2) + EncodeTime(0, 0, 1, 500), 0, "86401500"},
        {EncodeDate(2026, 12, 10) + EncodeTime(9, 0, 0), -60, "1796889600000"},
        {EncodeDate(2026, 12, 10) + EncodeTime(3, 0, 0), 300, "1796889600000"},
    };
    for (const Case& c : cases) {
        testsupport::ManualClock clock(c.local, c.bias);
        EXPECT_EQ(engine::TimestampValue(), c.expected) << c.local << " " << c.bias;
    }
}

}  // namespace
