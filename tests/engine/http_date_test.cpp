#include "engine/http_date.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

using platform::EncodeDate;
using platform::EncodeTime;

const double kUnchanged = 123.0;

TEST(HttpDate, ParseHttpDateTable) {
    struct Case {
        const char* line;
        double expected;
    };
    const double nov15 = EncodeDate(1994, 11, 15) + EncodeTime(8, 12, 31);
    const Case cases[] = {
        {"Date Tue, 15 Nov 1994 08:12:31 GMT", nov15},
        {"Date: Tue, 15 Nov 1994 08:12:31 GMT", nov15},
        {"Last-Modified Tue,15 nov 1994 08:12:31", nov15},
        {"Last-Modified Tuesday,   15   NOV   1994   08:12:31 GMT", nov15},
        {"Date Thu, 01 Jan 1970 00:00:00 GMT", EncodeDate(1970, 1, 1)},
        {"Date Sun, 31 Dec 2006 23:59:59 +0100", EncodeDate(2006, 12, 31) + EncodeTime(23, 59, 59)},
        {"Date Tue 15 Nov 1994 08:12:31 GMT", kUnchanged},  // no comma
        {"Date Tue, 15 Noe 1994 08:12:31 GMT", kUnchanged},  // unknown month
        {"Date", kUnchanged},
    };
    for (const Case& c : cases) {
        double value = kUnchanged;
        engine::ParseHttpDate(c.line, value);
        EXPECT_DOUBLE_EQ(value, c.expected) << c.line;
    }
}

TEST(HttpDate, MalformedNumbersAndImpossibleDatesRaise) {
    for (const char* line : {"Date Tue, 5 Nov 1994 08:12:31 GMT", "Date Tue, xx Nov 1994 08:12:31 GMT",
                             "Date Tue, 15 Nov 94 08:12:31 GMT", "Date Tue, 31 Feb 1994 08:12:31 GMT",
                             "Date Tue, 15 Nov 1994 25:12:31 GMT", "Date Tue, 15 Nov 1994 08:12"}) {
        double value = kUnchanged;
        EXPECT_THROW(engine::ParseHttpDate(line, value), std::invalid_argument) << line;
        EXPECT_DOUBLE_EQ(value, kUnchanged) << line;
    }
}

TEST(HttpDate, ReadHeaderDatesTable) {
    const double date = EncodeDate(2026, 12, 10) + EncodeTime(8, 0, 0);
    const double modified = EncodeDate(2026, 12, 9) + EncodeTime(7, 30, 0);
    struct Case {
        const char* what;
        std::vector<std::string> lines;
        double serverDate, lastModified;
    };
    const std::vector<Case> cases = {
        {"both",
         {"HTTP/1.0 200 OK", "Date Thu, 10 Dec 2026 08:00:00 GMT", "Last-Modified Wed, 09 Dec 2026 07:30:00 GMT"},
         date, modified},
        {"names in any case", {"DATE Thu, 10 Dec 2026 08:00:00 GMT", "last-modified Wed, 09 Dec 2026 07:30:00 GMT"},
         date, modified},
        {"modified after the server's date is clamped",
         {"Last-Modified Fri, 11 Dec 2026 09:00:00 GMT", "Date Thu, 10 Dec 2026 08:00:00 GMT"}, date, date},
        {"no date: modified kept as it is", {"Last-Modified Fri, 11 Dec 2026 09:00:00 GMT"}, 0,
         EncodeDate(2026, 12, 11) + EncodeTime(9, 0, 0)},
        {"a date line without a comma", {"Date Thu 10 Dec 2026 08:00:00 GMT"}, 0, 0},
        {"a broken line ends the reading",
         {"Date Thu, 10 Dec 2026 08:00:00 GMT", "Last-Modified Wed, x9 Dec 2026 07:30:00 GMT",
          "Last-Modified Wed, 09 Dec 2026 07:30:00 GMT"},
         date, 0},
        {"empty", {}, 0, 0},
    };
    for (const Case& c : cases) {
        const engine::HeaderDates dates = engine::ReadHeaderDates(c.lines);
        EXPECT_DOUBLE_EQ(dates.serverDate, c.serverDate) << c.what;
        EXPECT_DOUBLE_EQ(dates.lastModified, c.lastModified) << c.what;
    }
}

}  // namespace
