#pragma once
// Reading files that must be ordinary files of a bounded size, such as pictures: a FIFO, a
// device or a link to one named like a picture is refused at once, never waited on or read
// without end. Any thread.

#include <sys/stat.h>

#include <cstddef>
#include <string>

namespace platform {

// Opens path for reading without waiting (a FIFO without a writer does not block the open) and
// keeps it open only when it is a regular file of at most maxBytes; st then holds its fstat.
// Returns the descriptor, or -1 with nothing open.
int OpenRegularFile(const std::string& path, std::size_t maxBytes, struct stat& st);

// The whole of a regular file of at most maxBytes, opened by OpenRegularFile; a file that grows
// past maxBytes while it is read is refused too. False, bytes empty, when the file is missing,
// unreadable, no regular file or too large.
bool ReadRegularFile(const std::string& path, std::size_t maxBytes, std::string& bytes);

}  // namespace platform
