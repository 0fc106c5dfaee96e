#include "inet/line_buffer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <ostream>
#include <string>
#include <vector>

namespace {

struct Piece {
    std::string text;
    bool complete;
    bool operator==(const Piece&) const = default;
};

void PrintTo(const Piece& p, std::ostream* os) { *os << '"' << p.text << '"' << (p.complete ? " (line)" : " (piece)"); }

// Feeds the chunks as a socket would fill the buffer and collects what a read hands up.
std::vector<Piece> Feed(inet::LineBuffer& buffer, const std::vector<std::string>& chunks) {
    std::vector<Piece> out;
    auto drain = [&] {
        std::string_view line;
        while (buffer.NextLine(line)) out.push_back({std::string(line), true});
    };
    for (const std::string& chunk : chunks) {
        std::size_t done = 0;
        while (done < chunk.size()) {
            auto space = buffer.FreeSpace();
            if (space.empty()) {
                out.push_back({std::string(buffer.TakePiece()), false});
                continue;
            }
            std::size_t n = std::min(space.size(), chunk.size() - done);
            std::memcpy(space.data(), chunk.data() + done, n);
            buffer.Commit(n);
            done += n;
            drain();
        }
    }
    return out;
}

TEST(LineBuffer, ALineLongerThanTheBufferComesInPieces) {
    inet::LineBuffer buffer(8);
    buffer.SetEOL("\r\n", false);
    auto pieces = Feed(buffer, {"0123456789ABCDEFGHIJ\r\nok\r\n"});
    EXPECT_EQ((std::vector<Piece>{{"01234567", false}, {"89ABCDEF", false}, {"GHIJ", true}, {"ok", true}}), pieces);
}

TEST(LineBuffer, ALineEndCutByAPieceStillEndsTheLine) {
    inet::LineBuffer buffer(8);
    buffer.SetEOL("\r\n", false);
    auto pieces = Feed(buffer, {"0123456\r\nX\r\n"});
    EXPECT_EQ((std::vector<Piece>{{"0123456", false}, {"", true}, {"X", true}}), pieces);
}

TEST(LineBuffer, ASequenceSplitAcrossReceivesStillEndsTheLine) {
    inet::LineBuffer buffer(64);
    buffer.SetEOL("\r\n", false);
    auto pieces = Feed(buffer, {"250-first\r", "\n250 second\r\n\r\n"});
    EXPECT_EQ((std::vector<Piece>{{"250-first", true}, {"250 second", true}, {"", true}}), pieces);
}

TEST(LineBuffer, AnyOfModeSkipsTheRunOfDelimitersEvenAcrossReceives) {
    inet::LineBuffer buffer(64);
    buffer.SetEOL("\r\n", true);
    auto pieces = Feed(buffer, {"220 hi\r", "\n\r\n250 ok\n", "\r\n354 go\r\n"});
    EXPECT_EQ((std::vector<Piece>{{"220 hi", true}, {"250 ok", true}, {"354 go", true}}), pieces);
}

TEST(LineBuffer, WithoutAnEndOfLineNothingIsALine) {
    inet::LineBuffer buffer(16);
    buffer.SetEOL("", false);
    auto pieces = Feed(buffer, {"abc\r\ndef"});
    EXPECT_TRUE(pieces.empty());
    EXPECT_EQ("abc\r\ndef", buffer.TakeAll());
}

TEST(LineBuffer, ResizeEmptiesAndKeepsAtLeastOneByte) {
    inet::LineBuffer buffer(16);
    buffer.SetEOL("\n", false);
    Feed(buffer, {"partial"});
    ASSERT_EQ(0, buffer.Resize(16));
    EXPECT_EQ(0u, buffer.Unread());
    ASSERT_EQ(0, buffer.Resize(0));
    EXPECT_EQ(1, buffer.Size());
    auto pieces = Feed(buffer, {"ab\n"});
    EXPECT_EQ((std::vector<Piece>{{"a", false}, {"b", false}, {"", true}}), pieces);
}

}  // namespace
