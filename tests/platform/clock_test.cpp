#include "platform/clock.h"
#include "platform/clock_datetime.h"
#include "tests/support/manual_clock.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ctime>
#include <stdexcept>

namespace {

using platform::DateTimeParts;

TEST(ClockDateTime, EncodesAndDecodesDayCounts) {
    struct Case {
        DateTimeParts parts;
        double days;
    };
    const Case cases[] = {
        {{1899, 12, 30, 0, 0, 0, 0}, 0.0},
        {{1970, 1, 1, 0, 0, 0, 0}, 25569.0},
        {{2000, 2, 29, 12, 0, 0, 0}, 36585.5},
        {{2026, 12, 10, 6, 0, 0, 0}, 46366.25},
        {{1994, 11, 15, 8, 12, 31, 0}, 34653.0 + (8 * 3600 + 12 * 60 + 31) / 86400.0},
    };
    for (const Case& c : cases) {
        EXPECT_NEAR(platform::EncodeDateTime(c.parts), c.days, 1e-9) << c.parts.year;
        const DateTimeParts back = platform::DecodeDateTime(c.days);
        EXPECT_EQ(back.year, c.parts.year);
        EXPECT_EQ(back.month, c.parts.month);
        EXPECT_EQ(back.day, c.parts.day);
        EXPECT_EQ(back.hour, c.parts.hour);
        EXPECT_EQ(back.minute, c.parts.minute);
        EXPECT_EQ(back.second, c.parts.second);
    }
}

TEST(ClockDateTime, DecodeRoundsToTheMillisecond) {
    // 23:59:59.9996 rounds into the next day, never to a second of 60.
    const DateTimeParts p = platform::DecodeDateTime(platform::EncodeDate(2026, 12, 31) + 0.99999999999);
    EXPECT_EQ(p.year, 2027);
    EXPECT_EQ(p.month, 1);
    EXPECT_EQ(p.day, 1);
    EXPECT_EQ(p.hour, 0);
    const DateTimeParts q = platform::DecodeDateTime(platform::EncodeDate(2026, 1, 1) +
                                                     platform::EncodeTime(10, 11, 12, 345));
    EXPECT_EQ(q.second, 12);
    EXPECT_EQ(q.millisecond, 345);
}

TEST(ClockDateTime, RefusesDatesAndTimesThatDoNotExist) {
    EXPECT_THROW(platform::EncodeDate(1900, 2, 29), std::invalid_argument);
    EXPECT_THROW(platform::EncodeDate(2026, 13, 1), std::invalid_argument);
    EXPECT_THROW(platform::EncodeDate(2026, 4, 31), std::invalid_argument);
    EXPECT_NO_THROW(platform::EncodeDate(2024, 2, 29));
    EXPECT_THROW(platform::EncodeTime(24, 0, 0), std::invalid_argument);
    EXPECT_THROW(platform::EncodeTime(0, 60, 0), std::invalid_argument);
    EXPECT_THROW(platform::EncodeTime(0, 0, 0, 1000), std::invalid_argument);
}

TEST(ClockDateTime, DayFractions) {
    EXPECT_DOUBLE_EQ(platform::DaysFromMinutes(1), 1.0 / 1440);
    EXPECT_DOUBLE_EQ(platform::DaysFromSeconds(1), 1.0 / 86400);
    EXPECT_DOUBLE_EQ(platform::DaysFromMinutes(60), platform::EncodeTime(1, 0, 0));
}

TEST(Clock, SystemLocalTimePlusBiasIsUniversalTime) {
    const platform::Clock& clock = platform::SystemClock();
    const double utcDays = static_cast<double>(std::time(nullptr)) / 86400.0 + platform::kUnixEpoch;
    const double fromLocal = clock.LocalNow() + platform::DaysFromMinutes(clock.UtcBiasMinutes());
    EXPECT_NEAR(fromLocal, utcDays, platform::DaysFromSeconds(2));
}

TEST(Clock, MonotonicNeverRunsBackwards) {
    double last = platform::SystemClock().MonotonicNow();
    for (int i = 0; i < 1000; ++i) {
        const double now = platform::SystemClock().MonotonicNow();
        ASSERT_GE(now, last);
        last = now;
    }
}

TEST(Clock, AnInstalledClockReplacesTheSystemClockUntilRemoved) {
    {
        testsupport::ManualClock manual(platform::EncodeDate(2001, 2, 3));
        EXPECT_EQ(platform::Now(), platform::EncodeDate(2001, 2, 3));
        manual.AdvanceSeconds(90);
        EXPECT_NEAR(platform::Now() - platform::EncodeDate(2001, 2, 3), platform::DaysFromSeconds(90), 1e-10);
        EXPECT_NEAR(platform::MonotonicNow(), 1000.0 + platform::DaysFromSeconds(90), 1e-10);
    }
    EXPECT_EQ(&platform::CurrentClock(), &platform::SystemClock());
}

}  // namespace
