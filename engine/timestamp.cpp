#include "engine/timestamp.h"

#include "platform/clock.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <stdexcept>

namespace engine {
namespace {

std::string Stamp(platform::TDateTime at, bool hundredths) {
    const platform::DateTimeParts p = platform::DecodeDateTime(at);
    char year[8];
    std::snprintf(year, sizeof year, "%04d", p.year);
    std::string s = year + TwoDigits(p.month) + TwoDigits(p.day) + TwoDigits(p.hour) + TwoDigits(p.minute) +
                    TwoDigits(p.second);
    if (hundredths) s += TwoDigits(p.millisecond / 10);
    return s;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int Number(std::string_view digits) {
    int n = 0;
    for (char c : digits) n = n * 10 + (c - '0');
    return n;
}

// The date-time of 14 digits YYYYMMDDHHMMSS, or 0 when they name no valid moment.
platform::TDateTime FromStamp(std::string_view d) {
    const int year = Number(d.substr(0, 4)), month = Number(d.substr(4, 2)), day = Number(d.substr(6, 2));
    const int hour = Number(d.substr(8, 2)), minute = Number(d.substr(10, 2)), second = Number(d.substr(12, 2));
    if (!platform::IsValidDate(year, month, day) || hour > 23 || minute > 59 || second > 59) return 0;
    return platform::EncodeDate(year, month, day) + platform::EncodeTime(hour, minute, second);
}

}  // namespace

std::string TwoDigits(int value) {
    if (value < 0 || value > 99) throw std::out_of_range("Twostring out of range");
    return {static_cast<char>('0' + value / 10), static_cast<char>('0' + value % 10)};
}

std::string TimestampName() { return Stamp(platform::Now(), false); }
std::string TimestampNameCs() { return TimestampNameCs(platform::Now()); }
std::string TimestampNameCs(platform::TDateTime at) { return Stamp(at, true); }

platform::TDateTime TimestampNameToDateTime(std::string_view fileName) {
    const auto slash = fileName.find_last_of("/\\");
    std::string_view name = slash == std::string_view::npos ? fileName : fileName.substr(slash + 1);
    if (name.size() >= 4) {
        std::string ext(name.substr(name.size() - 4));
        for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (ext == ".jpg") name.remove_suffix(4);
    }
    std::size_t start = name.size();
    while (start > 0 && IsDigit(name[start - 1])) --start;
    const std::string_view digits = name.substr(start);
    if (digits.size() < 14) return 0;
    // A stream frame's stamp carries two more digits (hundredths); a picture's stamp may follow
    // a prefix that ends in digits. The 16-digit reading is taken when it names a valid moment.
    if (digits.size() >= 16) {
        if (const auto t = FromStamp(digits.substr(digits.size() - 16, 14))) return t;
    }
    return FromStamp(digits.substr(digits.size() - 14));
}

std::string TimestampValue() {
    const platform::Clock& clock = platform::CurrentClock();
    const double minutes = (clock.LocalNow() - platform::kUnixEpoch) * platform::kMinutesPerDay +
                           clock.UtcBiasMinutes();
    return std::to_string(static_cast<std::int64_t>(minutes * 60000.0));
}

}  // namespace engine
