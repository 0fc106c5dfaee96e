#pragma once
// Whole-buffer reads and writes on a file descriptor, retried across EINTR and short transfers.

#include <sys/types.h>

#include <cstddef>
#include <string>

namespace platform {

// The whole of a file into bytes, however long; false when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::string& bytes);

bool WriteAll(int fd, const void* data, std::size_t size);
bool PreadAll(int fd, void* data, std::size_t size, off_t offset);
bool PwriteAll(int fd, const void* data, std::size_t size, off_t offset);

}  // namespace platform
