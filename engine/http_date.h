#pragma once
// The dates of a stored response header (header.txt): the server's Date and the picture's
// Last-Modified, which tell how long a webcam has shown the same picture.

#include "platform/clock_datetime.h"

#include <string>
#include <string_view>
#include <vector>

namespace engine {

// Reads the date of a header line such as "Date Tue, 15 Nov 1994 08:12:31 GMT" into value.
// A line without a comma or with an unknown month leaves value unchanged; a malformed number
// or a date that does not exist raises std::invalid_argument. The zone is not read.
void ParseHttpDate(std::string_view line, platform::TDateTime& value);

struct HeaderDates {
    platform::TDateTime serverDate = 0;    // 0 = unknown
    platform::TDateTime lastModified = 0;  // 0 = unknown; never later than serverDate
};

// The Date and Last-Modified lines of a header ("name value" per line). A line that cannot be
// read ends the reading; what was read before it is kept.
HeaderDates ReadHeaderDates(const std::vector<std::string>& lines);

}  // namespace engine
