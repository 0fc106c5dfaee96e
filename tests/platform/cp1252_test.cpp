#include "platform/cp1252.h"

#include <gtest/gtest.h>

namespace {

TEST(Cp1252, EveryByteSurvivesTheRoundTrip) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    EXPECT_EQ(platform::Utf8ToCp1252(platform::Cp1252ToUtf8(all)), all);
}

TEST(Cp1252, KnownCharacters) {
    struct Case {
        std::string cp1252, utf8;
    } cases[] = {
        {"abc", "abc"},
        {"\x80", "\u20AC"},          // euro sign from the 0x80..0x9F block
        {"\x9F", "\u0178"},
        {"\xE9t\xE9", "\u00E9t\u00E9"},  // été
        {"\x81", "\u0081"},          // undefined in Windows-1252: kept as a control character
    };
    for (const Case& c : cases) {
        EXPECT_EQ(platform::Cp1252ToUtf8(c.cp1252), c.utf8);
        EXPECT_EQ(platform::Utf8ToCp1252(c.utf8), c.cp1252);
    }
}

TEST(Cp1252, UnrepresentableAndInvalidTextBecomesQuestionMarks) {
    EXPECT_EQ(platform::Utf8ToCp1252("\u4E2D x"), "? x");
    EXPECT_EQ(platform::Utf8ToCp1252("a\xC3"), "a?");          // cut sequence
    EXPECT_EQ(platform::Utf8ToCp1252("\xC0\xAF"), "??");       // overlong '/'
    EXPECT_EQ(platform::Utf8ToCp1252("\xED\xA0\x80"), "???");  // surrogate
    EXPECT_EQ(platform::Utf8ToCp1252("\U0001F600"), "?");
}

}  // namespace
