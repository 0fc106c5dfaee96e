#pragma once
// Files named like pictures that are no regular files: a FIFO nobody writes to, and links to
// /dev/zero and /dev/urandom. Opening the first blocks, reading the others never ends; code
// that reads pictures must skip them like unreadable files.

#include <filesystem>
#include <string>

namespace testsupport {

enum class NotAPicture { Fifo, ZeroLink, RandomLink };
inline constexpr NotAPicture kNotPictures[] = {NotAPicture::Fifo, NotAPicture::ZeroLink, NotAPicture::RandomLink};

std::string Describe(NotAPicture kind);
// Makes it at path (its folder must exist); a failure is a fatal test failure.
void MakeNotAPicture(const std::filesystem::path& path, NotAPicture kind);

}  // namespace testsupport
