#pragma once
// The stamps in picture file names (local time) and the "%TIMESTAMP%" value of request URLs.

#include "platform/clock_datetime.h"

#include <string>
#include <string_view>

namespace engine {

// Two digits, zero-padded; raises std::out_of_range "Twostring out of range" outside 0..99.
std::string TwoDigits(int value);

// YYYYMMDDHHMMSS of the current local time (14 characters).
std::string TimestampName();
// The same followed by the hundredths of the second (16 characters), of now or of a given time.
std::string TimestampNameCs();
std::string TimestampNameCs(platform::TDateTime at);

// The date-time of the stamp that stands directly before the ".jpg" of a picture file name
// (its folder and any prefix, digits included, are passed over); 0 when there is no valid
// stamp.
platform::TDateTime TimestampNameToDateTime(std::string_view fileName);

// Milliseconds since 1970-01-01 00:00 universal time, in decimal.
std::string TimestampValue();

}  // namespace engine
