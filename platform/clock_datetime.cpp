#include "platform/clock_datetime.h"

#include <cmath>
#include <stdexcept>

namespace platform {
namespace {

// Days between 1970-01-01 and a proleptic Gregorian date, and back.
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void CivilFromDays(std::int64_t z, int& year, int& month, int& day) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(static_cast<std::int64_t>(yoe) + era * 400 + (month <= 2));
}

int DaysInMonth(int year, int month) {
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

}  // namespace

bool IsValidDate(int year, int month, int day) {
    return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
           day <= DaysInMonth(year, month);
}

TDateTime EncodeDate(int year, int month, int day) {
    if (!IsValidDate(year, month, day)) throw std::invalid_argument("Invalid argument to date encode");
    return static_cast<double>(DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day))) +
           kUnixEpoch;
}

TDateTime EncodeTime(int hour, int minute, int second, int millisecond) {
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 || millisecond < 0 ||
        millisecond > 999)
        throw std::invalid_argument("Invalid argument to time encode");
    return ((hour * 60.0 + minute) * 60.0 * 1000.0 + second * 1000.0 + millisecond) / kMillisecondsPerDay;
}

TDateTime EncodeDateTime(const DateTimeParts& p) {
    return EncodeDate(p.year, p.month, p.day) + EncodeTime(p.hour, p.minute, p.second, p.millisecond);
}

DateTimeParts DecodeDateTime(TDateTime value) {
    const std::int64_t total = std::llround(value * kMillisecondsPerDay);
    std::int64_t days = total / 86400000;
    std::int64_t ms = total % 86400000;
    if (ms < 0) {
        ms += 86400000;
        --days;
    }
    DateTimeParts p;
    CivilFromDays(days - static_cast<std::int64_t>(kUnixEpoch), p.year, p.month, p.day);
    p.millisecond = static_cast<int>(ms % 1000);
    p.second = static_cast<int>(ms / 1000 % 60);
    p.minute = static_cast<int>(ms / 60000 % 60);
    p.hour = static_cast<int>(ms / 3600000);
    return p;
}

}  // namespace platform
