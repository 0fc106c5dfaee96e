// The frame splitter on its own, driven by one table of chunk sequences. Every case also runs
// with the same bytes fed one at a time: the pictures cut out must not depend on the chunking.

#include "engine/frame_splitter.h"
#include "tests/engine/jpeg_test_pictures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace {

using engine::FrameSplitter;

std::string Picture(int shade, bool jfif = false) {
    return testpictures::EncodeJpeg(
        testpictures::MakeGrey(48, 32, [shade](int x, int y) { return static_cast<std::uint8_t>(shade + (x ^ y)); }),
        90, jfif);
}

std::string BigEndian16(std::size_t value) {
    return {static_cast<char>(value >> 8 & 0xFF), static_cast<char>(value & 0xFF)};
}

std::string Segment(char marker, const std::string& data) {
    return std::string("\xFF") + marker + BigEndian16(data.size() + 2) + data;
}

// A picture whose EXIF block carries a thumbnail: a whole JPEG, picture start included.
std::string WithExifThumbnail(const std::string& picture, const std::string& thumbnail) {
    return picture.substr(0, 2) + Segment('\xE1', std::string("Exif\0\0", 6) + thumbnail) + picture.substr(2);
}

// A picture made of two scans with a table between them, compressed data holding stuffed FF
// bytes and a restart marker, and fill bytes before the end.
std::string TwoScanPicture() {
    return std::string("\xFF\xD8") + Segment('\xDB', "q") + Segment('\xC2', "sof") + Segment('\xDA', "s1") +
           std::string("ab\xFF\x00" "c\xFF\xD3" "d", 7) + Segment('\xC4', "huffman") + Segment('\xDA', "s2") +
           std::string("ef\xFF\x00", 4) + "\xFF\xFF\xFF\xD9";
}

const std::string kBoundary = "\r\n--frame\r\nContent-Type: image/jpeg\r\n\r\n";

struct Case {
    const char* what;
    std::vector<std::string> chunks;
    std::vector<std::string> frames;  // cut out, in order
    std::string rest;                 // the picture begun at the end
    bool overflowed = false;
};

struct Result {
    std::vector<std::string> frames;
    std::string rest;
    bool overflowed = false;
};

// Feeds the chunks, each in pieces of the given size (0: whole), taking every picture out.
Result Split(const std::vector<std::string>& chunks, std::size_t piece) {
    FrameSplitter splitter;
    Result result;
    std::string frame;
    for (const std::string& chunk : chunks) {
        const std::size_t step = piece ? piece : std::max<std::size_t>(chunk.size(), 1);
        for (std::size_t at = 0; at < chunk.size(); at += step) {
            splitter.Feed(std::string_view(chunk).substr(at, step));
            while (splitter.Next(frame)) result.frames.push_back(frame);
        }
    }
    result.overflowed = splitter.Overflowed();
    result.rest = splitter.TakeRest();
    return result;
}

void Expect(const Result& got, const Case& c) {
    ASSERT_EQ(got.frames.size(), c.frames.size());
    for (std::size_t i = 0; i < c.frames.size(); ++i) EXPECT_EQ(got.frames[i], c.frames[i]) << "frame " << i;
    EXPECT_EQ(got.rest, c.rest);
    EXPECT_EQ(got.overflowed, c.overflowed);
}

TEST(StreamFrameSplitterTest, CutsPicturesOutOfChunkSequences) {
    const std::string a = Picture(10), b = Picture(90, true), c = Picture(170);
    const std::string thumbnail = Picture(200);
    const std::string exif = WithExifThumbnail(a, thumbnail);
    const std::size_t thumbnailAt = exif.find(thumbnail);
    const std::string noEnd = a.substr(0, a.size() - 2);  // the end-of-image marker missing
    const std::string broken = std::string("\xFF\xD8\xFF\xE0\x00\x04jf", 8) + "garbage where a marker is due";
    const std::string junk(engine::kMaxFrameBytes, 'x');

    const std::vector<Case> cases = {
        {"a picture start at a chunk start", {"--frame\r\n\r\n" + a + kBoundary, b + kBoundary}, {a, b}, "", false},
        {"two pictures in one chunk", {a + kBoundary + b + kBoundary}, {a, b}, "", false},
        {"raw pictures back to back", {a + b + c}, {a, b, c}, "", false},
        {"a picture start split across chunks",
         {a + kBoundary + "\xFF", "\xD8", b.substr(2, 40), b.substr(42)},
         {a, b},
         "",
         false},
        {"an EXIF thumbnail inside a picture", {exif + kBoundary + b}, {exif, b}, "", false},
        {"a chunk that starts at the thumbnail",
         {exif.substr(0, thumbnailAt), exif.substr(thumbnailAt) + kBoundary},
         {exif},
         "",
         false},
        {"a preamble before the first picture", {"This is a multi-part message.\r\n" + kBoundary + a}, {a}, "", false},
        {"two scans, stuffed bytes, a restart marker, fill bytes", {TwoScanPicture() + kBoundary}, {TwoScanPicture()}, "",
         false},
        {"a picture without its end runs to the next start", {noEnd + kBoundary + b}, {noEnd + kBoundary, b}, "", false},
        {"a broken structure runs to the next start", {broken + kBoundary + b}, {broken + kBoundary, b}, "", false},
        {"a doubled picture start", {"\xFF\xD8" + a.substr(0, 1), a.substr(1)}, {a}, "", false},
        {"the picture begun at the end is the rest", {a + kBoundary + b.substr(0, 100)}, {a}, b.substr(0, 100), false},
        {"bytes without a picture start leave no rest", {a + "\r\n--frame--\r\n"}, {a}, "", false},
        {"4 MiB without a picture start", {junk.substr(0, 1000), junk.substr(1000)}, {}, "", false},
        {"one byte more", {junk, "x"}, {}, "", true},
        {"a picture longer than 4 MiB", {std::string("\xFF\xD8\xFF\xDA\x00\x02", 6) + junk}, {}, "", true},
        {"nothing after the limit", {junk + "x", a}, {}, "", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Expect(Split(c.chunks, 0), c);
        SCOPED_TRACE("one byte at a time");
        Expect(Split(c.chunks, 1), c);
    }
}

TEST(StreamFrameSplitterTest, StartsAfreshAfterTheRestAndAfterClear) {
    const std::string a = Picture(10), b = Picture(90);
    FrameSplitter splitter(1000);
    std::string frame;
    splitter.Feed(a.substr(0, 50));
    EXPECT_FALSE(splitter.Next(frame));
    EXPECT_EQ(splitter.TakeRest(), a.substr(0, 50));
    splitter.Feed(a.substr(50) + b);  // the tail of a is no picture: b alone comes out
    ASSERT_TRUE(splitter.Next(frame));
    EXPECT_EQ(frame, b);
    splitter.Feed(std::string(2000, 'x'));
    EXPECT_FALSE(splitter.Next(frame));
    EXPECT_TRUE(splitter.Overflowed());
    splitter.Clear();
    EXPECT_FALSE(splitter.Overflowed());
    splitter.Feed(a);
    ASSERT_TRUE(splitter.Next(frame));
    EXPECT_EQ(frame, a);
}

}  // namespace
