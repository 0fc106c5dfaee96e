#pragma once
// Whole-buffer reads and writes on a file descriptor, retried across EINTR and short transfers.

#include <sys/types.h>

#include <cstddef>

namespace platform {

bool WriteAll(int fd, const void* data, std::size_t size);
bool PreadAll(int fd, void* data, std::size_t size, off_t offset);
bool PwriteAll(int fd, const void* data, std::size_t size, off_t offset);

}  // namespace platform
