#include "inet/smtp_message.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(SmtpMessageTest, TheHeaderBlockKeepsItsOrderAndSkipsEmptyValues) {
    const struct {
        inet::SmtpHeaderFields fields;
        std::string expected;
    } cases[] = {
        {{"to@x", "me@y", "Hi", "back@y", "Thu, 10 Dec 2026 09:00:00 +0100", "cc@z", "X-A: 1\r\nX-B: 2"},
         "To: to@x\r\nFrom: me@y\r\nSubject: Hi\r\nReply-To: back@y\r\nDate: Thu, 10 Dec 2026 09:00:00 +0100\r\n"
         "Cc: cc@z\r\nX-A: 1\r\nX-B: 2\r\n\r\n"},
        {{"to@x", "me@y", "", "", "", "", ""}, "To: to@x\r\nFrom: me@y\r\n\r\n"},
        {{"to@x", "me@y", "", "", "", "cc@z", "X-A: 1\r\n\r\n\r\n"}, "To: to@x\r\nFrom: me@y\r\nCc: cc@z\r\nX-A: 1\r\n\r\n"},
        {{"to@x", "me@y", "", "", "", "", "\r\n"}, "To: to@x\r\nFrom: me@y\r\n\r\n"},
        // A value cannot add a header line of its own.
        {{"to@x\r\n", "me@y\nBcc: evil@z", "Hi\r\nBcc: evil@z", "back@y\r", "", "", ""},
         "To: to@x\r\nFrom: me@yBcc: evil@z\r\nSubject: HiBcc: evil@z\r\nReply-To: back@y\r\n\r\n"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.expected, inet::SmtpHeaderBlock(c.fields));
}

TEST(SmtpMessageTest, DotsThatBeginALineAreDoubledAcrossPieces) {
    const struct {
        std::vector<std::string> pieces;
        std::string expected;
    } cases[] = {
        {{".a\r\n.b\r\nc.d\r\n"}, "..a\r\n..b\r\nc.d\r\n"},
        {{"..x\r\n.\r\n"}, "...x\r\n..\r\n"},
        {{"a\r\n", ".b"}, "a\r\n..b"},
        {{"a\r", "\n.b", "."}, "a\r\n..b."},
        {{"", ".x"}, "..x"},
        {{"a\n.b"}, "a\n..b"},
    };
    for (const auto& c : cases) {
        inet::SmtpDotStuffer stuffer;
        std::string out;
        for (const std::string& piece : c.pieces) stuffer.Stuff(piece, out);
        EXPECT_EQ(c.expected, out);
    }
}

}  // namespace
