#include "engine/http_date.h"

#include <cctype>
#include <stdexcept>

namespace engine {
namespace {

std::string_view Trim(std::string_view s) {
    while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ') s.remove_prefix(1);
    while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ') s.remove_suffix(1);
    return s;
}

// Takes up to n characters off the front of s.
std::string_view Take(std::string_view& s, std::size_t n) {
    const std::string_view head = s.substr(0, n);
    s.remove_prefix(head.size());
    return head;
}

int Number(std::string_view digits) {
    if (digits.empty()) throw std::invalid_argument("'' is not a valid integer value");
    int n = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') throw std::invalid_argument("'" + std::string(digits) + "' is not a valid integer value");
        n = n * 10 + (c - '0');
    }
    return n;
}

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
    if (s.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(s[i])) != prefix[i]) return false;
    return true;
}

}  // namespace

void ParseHttpDate(std::string_view line, platform::TDateTime& value) {
    const auto comma = line.find(',');
    if (comma == std::string_view::npos) return;
    std::string_view s = Trim(line.substr(comma + 1));
    const int day = Number(Take(s, 2));
    s = Trim(s);
    std::string month(Take(s, 3));
    for (char& c : month) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    static constexpr std::string_view kMonths = "janfebmaraprmayjunjulaugsepoctnovdec";
    const auto at = month.size() == 3 ? kMonths.find(month) : std::string_view::npos;
    if (at == std::string_view::npos || at % 3 != 0) return;
    s = Trim(s);
    const int year = Number(Take(s, 4));
    s = Trim(s);
    const int hour = Number(Take(s, 2));
    Take(s, 1);
    const int minute = Number(Take(s, 2));
    Take(s, 1);
    const int second = Number(Take(s, 2));
    value = platform::EncodeDate(year, static_cast<int>(at / 3) + 1, day) + platform::EncodeTime(hour, minute, second);
}

HeaderDates ReadHeaderDates(const std::vector<std::string>& lines) {
    HeaderDates dates;
    try {
        for (const std::string& line : lines) {
            if (StartsWithNoCase(line, "date")) ParseHttpDate(line, dates.serverDate);
            if (StartsWithNoCase(line, "last-modified")) ParseHttpDate(line, dates.lastModified);
        }
    } catch (const std::invalid_argument&) {
        // A broken line ends the reading; the dates read so far stand.
    }
    if (dates.serverDate > 0 && dates.lastModified > dates.serverDate) dates.lastModified = dates.serverDate;
    return dates;
}

}  // namespace engine
