#include "inet/engine_string.h"

#include <gtest/gtest.h>

#include <string>

#include "inet/engine_text.h"

namespace {

using inet::EngineString;

TEST(EngineString, StaysInlineUpTo100CharsAndMovesBack) {
    struct Case {
        std::size_t length;
        bool onHeap;
    };
    for (Case c : {Case{0, false}, Case{1, false}, Case{100, false}, Case{101, true}, Case{5000, true}}) {
        SCOPED_TRACE(c.length);
        EngineString s;
        std::string text(c.length, 'x');
        ASSERT_EQ(0, s.Set(text));
        EXPECT_EQ(c.onHeap, s.OnHeap());
        EXPECT_EQ(text, s.str());
        EXPECT_EQ('\0', s.c_str()[c.length]);
        ASSERT_EQ(0, s.Set("short"));
        EXPECT_FALSE(s.OnHeap());
        EXPECT_EQ("short", s.str());
    }
}

TEST(EngineString, AppendGrowsOntoTheHeapKeepingTheText) {
    EngineString s;
    std::string expected;
    for (int i = 0; i < 30; ++i) {
        std::string piece = std::to_string(i) + "-abc;";
        ASSERT_EQ(0, s.Append(piece));
        expected += piece;
        ASSERT_EQ(expected, s.str());
        EXPECT_EQ(expected.size() > EngineString::kInline, s.OnHeap());
        EXPECT_EQ('\0', s.c_str()[s.size()]);
    }
}

TEST(EngineString, SetFromItsOwnTextIsSafe) {
    EngineString s("hello world");
    ASSERT_EQ(0, s.Set(s.view().substr(6)));
    EXPECT_EQ("world", s.str());
    std::string longText(150, 'y');
    longText += "tail";
    ASSERT_EQ(0, s.Set(longText));
    ASSERT_EQ(0, s.Set(s.view().substr(150)));
    EXPECT_EQ("tail", s.str());
}

TEST(EngineText, Base64OfTheStandardVectorsAndHighBytes) {
    struct Case {
        std::string in, out;
    };
    for (const Case& c : {Case{"", ""}, Case{"f", "Zg=="}, Case{"fo", "Zm8="}, Case{"foo", "Zm9v"},
                          Case{"foobar", "Zm9vYmFy"}, Case{"user:pass", "dXNlcjpwYXNz"},
                          Case{":secret", "OnNlY3JldA=="}, Case{std::string("\xff\xfe\x00", 3), "//4A"}}) {
        EXPECT_EQ(c.out, inet::Base64(c.in)) << c.in;
    }
}

TEST(EngineText, CompareIgnoresTheCaseOfAsciiLettersOnly) {
    struct Case {
        std::string a, b;
        int result;
    };
    for (const Case& c : {Case{"HTTP", "http", 0}, Case{"Host:", "hOST:", 0}, Case{"abc", "abd", -1},
                          Case{"b", "A", 1}, Case{"ab", "abc", -1}, Case{"\xc9", "\xe9", -1},
                          Case{"\x80", "a", 1}}) {
        EXPECT_EQ(c.result, inet::CompareTextNoCase(c.a, c.b)) << c.a << " / " << c.b;
    }
    EXPECT_EQ(0, inet::CompareTextNoCase("HOST: x", "host:", 5));
    EXPECT_EQ(-1, inet::CompareTextNoCase("hos", "host:", 5));
}

TEST(EngineText, UnsignedToTextPadsToTheWidth) {
    EXPECT_EQ("0", inet::UnsignedToText(0));
    EXPECT_EQ("4294967295", inet::UnsignedToText(4294967295u));
    EXPECT_EQ("0007", inet::UnsignedToText(7, 4, '0'));
    EXPECT_EQ("12345", inet::UnsignedToText(12345, 3, '0'));
}

}  // namespace
