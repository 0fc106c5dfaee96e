#pragma once
// Date-times as day counts: whole days since 1899-12-30 plus the fraction of the day, the form
// in which records, due times and file-name stamps are computed. One minute is 1/1440 day, one
// second 1/86400 day.

#include <cstdint>

namespace platform {

using TDateTime = double;

inline constexpr double kMinutesPerDay = 1440.0;
inline constexpr double kSecondsPerDay = 86400.0;
inline constexpr double kMillisecondsPerDay = 86400000.0;
inline constexpr TDateTime kUnixEpoch = 25569.0;  // 1970-01-01 00:00

inline constexpr TDateTime DaysFromMinutes(double minutes) { return minutes / kMinutesPerDay; }
inline constexpr TDateTime DaysFromSeconds(double seconds) { return seconds / kSecondsPerDay; }

struct DateTimeParts {
    int year = 0, month = 0, day = 0;
    int hour = 0, minute = 0, second = 0, millisecond = 0;
};

bool IsValidDate(int year, int month, int day);

// Throw std::invalid_argument for a date or time that does not exist.
TDateTime EncodeDate(int year, int month, int day);
TDateTime EncodeTime(int hour, int minute, int second, int millisecond = 0);
TDateTime EncodeDateTime(const DateTimeParts& parts);

// Splits a date-time, rounded to the nearest millisecond.
DateTimeParts DecodeDateTime(TDateTime value);

}  // namespace platform
