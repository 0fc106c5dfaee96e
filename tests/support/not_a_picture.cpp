#include "tests/support/not_a_picture.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace testsupport {

std::string Describe(NotAPicture kind) {
    switch (kind) {
    case NotAPicture::Fifo: return "a FIFO";
    case NotAPicture::ZeroLink: return "a link to /dev/zero";
    case NotAPicture::RandomLink: return "a link to /dev/urandom";
    }
    return "?";
}

void MakeNotAPicture(const std::filesystem::path& path, NotAPicture kind) {
    switch (kind) {
    case NotAPicture::Fifo:
        ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0) << path;
        break;
    case NotAPicture::ZeroLink:
        std::filesystem::create_symlink("/dev/zero", path);
        break;
    case NotAPicture::RandomLink:
        std::filesystem::create_symlink("/dev/urandom", path);
        break;
    }
}

}  // namespace testsupport
