#pragma once
// The screen-saver list as webcams.def holds it: the InSaverList byte of every record 1. The
// list editors read all records and later rewrite that one byte in place for the records whose
// choice changed, so a record the main program rewrote meanwhile keeps its other fields, and a
// file is never left half-written.

#include "engine/webcam_records.h"

#include <cstdint>
#include <string>
#include <vector>

namespace ui {

// The main program drops I/O errors on webcams.def; the screen saver raises them as
// std::system_error.
enum class IoErrors { Ignore, Raise };

// Every whole record of the file, in record-number order (none skipped). With Ignore, an error
// ends the list where it happened.
std::vector<engine::tsdo> ReadSaverListRecords(const std::string& path, IoErrors errors);

// Whether the record at recordNumber, last read with pictureURL, is to be on the list.
struct SaverListChoice {
    int recordNumber;
    std::string pictureURL;
    bool onList;
};

// One record whose InSaverList byte was rewritten.
struct SaverListChange {
    int recordNumber;
    std::string pictureURL;
    std::uint8_t inSaverList;
};

// Sets the byte to 1 or 0 where a choice differs from the file. A record is only touched when
// it still has the picture URL of its choice, so records moved by a delete meanwhile are left
// alone. Returns the records rewritten (with Ignore, those rewritten before an error).
std::vector<SaverListChange> WriteSaverListFlags(const std::string& path, const std::vector<SaverListChoice>& choices,
                                                 IoErrors errors);

}  // namespace ui
