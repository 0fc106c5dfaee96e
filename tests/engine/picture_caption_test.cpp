#include "engine/picture_caption.h"

#include <gtest/gtest.h>

TEST(PictureCaption, UpperFirstTouchesOnlyAnAsciiFirstLetter) {
    struct Case { const char* in; const char* out; };
    for (const Case c : {Case{"", ""}, Case{"abc", "Abc"}, Case{"Abc", "Abc"}, Case{"1ab", "1ab"},
                         Case{"\xe9t\xe9", "\xe9t\xe9"}, Case{"z", "Z"}})
        EXPECT_EQ(engine::UpperFirst(c.in), c.out) << c.in;
}
