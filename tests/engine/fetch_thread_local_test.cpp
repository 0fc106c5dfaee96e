// Which picture URLs name a local file, and how such a file is read.

#include "engine/local_picture.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

TEST(LocalPicture, UrlForms) {
    struct Case {
        const char* url;
        const char* path;  // nullptr: a web address
    };
    const Case cases[] = {
        {"file:///srv/c/a.jpg", "/srv/c/a.jpg"},
        {"file:/srv/c/a.jpg", "/srv/c/a.jpg"},
        {"FILE:\\\\srv\\c\\a.jpg", "/srv/c/a.jpg"},
        {"/srv/c/a.jpg", "/srv/c/a.jpg"},
        {"http://host/a.jpg", nullptr},
        {"C:\\cams\\a.jpg", nullptr},
        {"file:relative.jpg", nullptr},
        {"file:", nullptr},
        {"", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.url);
        const auto path = engine::LocalPicturePath(c.url);
        if (c.path) {
            ASSERT_TRUE(path);
            EXPECT_EQ(*path, c.path);
        } else {
            EXPECT_FALSE(path);
        }
    }
}

}  // namespace
