// Thumbnails of the disk page: the scale a picture is decoded at, where it is fitted, and the
// EXIF shortcut, with files that are short, lie about their first segment or are no picture.
#include "ui/disk/disk_thumbnail.h"

#include <gtest/gtest.h>

#include <QGuiApplication>

#include <string>

#include "engine/jpeg_picture.h"
#include "tests/engine/jpeg_test_pictures.h"
#include "tests/support/not_a_picture.h"
#include "tests/support/temp_dir.h"
#include "ui/disk/frame_bitmaps.h"

namespace {

constexpr std::uint32_t kRed = 0x0000FF, kBlue = 0xFF0000;  // 0xBBGGRR

std::string Solid(int width, int height, std::uint32_t colour, bool jfif = true) {
    return testpictures::EncodeJpeg(testpictures::MakeBitmap(width, height, [=](int, int) { return colour; }), 90, jfif);
}

// An EXIF file: SOI, an APP1 segment "Exif\0\0" + payload whose length field says length (the
// real one when 0), then the rest of the main picture.
std::string ExifFile(const std::string& payload, const std::string& main, unsigned length = 0) {
    const std::string body = std::string("Exif\0\0", 6) + payload;
    const unsigned real = static_cast<unsigned>(body.size() + 2);
    if (length == 0) length = real;
    std::string file("\xFF\xD8\xFF\xE1", 4);
    file += static_cast<char>(length >> 8);
    file += static_cast<char>(length & 0xFF);
    return file + body + main.substr(2);
}

// The pixel's colour as 0xBBGGRR, each channel rounded to 0 or 255.
std::uint32_t Pixel(const engine::Bitmap& bitmap, int x, int y) {
    const std::uint8_t* p = bitmap.row(y) + x * 3;
    const auto bit = [](std::uint8_t v) { return v > 127 ? 0xFFu : 0u; };
    return bit(p[0]) << 16 | bit(p[1]) << 8 | bit(p[2]);
}

TEST(DiskThumbnail, ScaleChoiceAndFullSize) {
    struct Case {
        int width, height, divisor, decodedWidth, decodedHeight, fullWidth, fullHeight;
    };
    const Case cases[] = {
        {640, 480, 8, 80, 60, 640, 480},
        {320, 240, 4, 80, 60, 320, 240},  // 40 x 30 at 1/8 is too small
        {200, 150, 1, 200, 150, 200, 150},
        {480, 640, 8, 60, 80, 480, 640},   // 60 wide is not narrower than 60
        {400, 100, 4, 100, 25, 400, 100},  // 50 x 13 at 1/8: narrower and lower
        {1600, 200, 8, 200, 25, 1600, 200},  // low, but wide enough
    };
    for (const Case& c : cases) {
        const ui::ThumbnailDecode decoded = ui::DecodeForThumbnail(Solid(c.width, c.height, kBlue));
        EXPECT_EQ(decoded.divisor, c.divisor) << c.width;
        EXPECT_EQ(decoded.picture.width(), c.decodedWidth) << c.width;
        EXPECT_EQ(decoded.picture.height(), c.decodedHeight) << c.width;
        EXPECT_EQ(decoded.fullWidth, c.fullWidth) << c.width;
        EXPECT_EQ(decoded.fullHeight, c.fullHeight) << c.width;
    }
}

// A picture whose header claims 65 500 x 65 500 gets the no-picture frame without a decode;
// one at the pixel limit is still decoded at its scale.
TEST(DiskThumbnail, PicturesPastThePixelLimitAreRefused) {
    const std::string small = Solid(64, 48, kBlue);
    const std::string huge = testpictures::WithClaimedSize(small, 65500, 65500);
    EXPECT_THROW(ui::DecodeForThumbnail(huge), engine::JpegError);
    EXPECT_EQ(ui::MakeJpegThumbnailFromBytes(huge, ui::DiskFrameBitmaps().Frames()).kind, 0);
    const ui::ThumbnailDecode limit = ui::DecodeForThumbnail(testpictures::WithClaimedSize(small, 8192, 8192));
    EXPECT_EQ(limit.divisor, 8);
    EXPECT_EQ(limit.picture.width(), 1024);
}

TEST(DiskThumbnail, FitRectangle) {
    struct Case {
        int width, height;
        engine::Rect rect;
    };
    const Case cases[] = {
        {70, 55, {5, 4, 75, 59}},     // the box's own ratio
        {140, 110, {5, 4, 75, 59}},
        {640, 480, {5, 5, 75, 57}},   // wider: 52.5 rows round to 52 (halves to even)
        {480, 640, {19, 4, 60, 59}},  // taller: 41 columns, centred
        {1000, 10, {5, 31, 75, 32}},
        {0, 0, {5, 4, 75, 59}},
    };
    for (const Case& c : cases) {
        const engine::Rect r = ui::ThumbnailFitRect(c.width, c.height);
        EXPECT_EQ(r.left, c.rect.left) << c.width << "x" << c.height;
        EXPECT_EQ(r.top, c.rect.top) << c.width << "x" << c.height;
        EXPECT_EQ(r.right, c.rect.right) << c.width << "x" << c.height;
        EXPECT_EQ(r.bottom, c.rect.bottom) << c.width << "x" << c.height;
    }
}

TEST(DiskThumbnail, ExifShortcutAndFilesThatCannotTakeIt) {
    const ui::ThumbnailFrames frames = ui::DiskFrameBitmaps().Frames();
    const std::string main = Solid(640, 480, kBlue);
    const std::string embedded = Solid(160, 120, kRed, false);  // starts FF D8 FF DB
    std::string raw(9700, '\0');
    for (std::size_t i = 0; i + 3 < raw.size(); i += 4) {  // Y0 Y1 Cb Cr of pure red
        raw[i] = raw[i + 1] = static_cast<char>(76);
        raw[i + 2] = static_cast<char>(85);
        raw[i + 3] = static_cast<char>(255);
    }
    struct Case {
        const char* what;
        std::string file;
        int kind;
        std::uint32_t centre;
    };
    const Case cases[] = {
        {"embedded JPEG", ExifFile(embedded, main), 1, kRed},
        {"raw frame", ExifFile(raw, main), 1, kRed},
        // A segment that does not fit what was read takes the ordinary path; these files then
        // do not decode either (their first segment is as broken for the decoder).
        {"length past the file", ExifFile(embedded, main, 65535), 0, 0},
        {"file cut inside the segment", ExifFile(embedded, main).substr(0, 10 + embedded.size() / 2), 0, 0},
        {"length of one", ExifFile(embedded, main, 1), 0, 0},
        {"length past 20480 bytes", ExifFile(embedded + std::string(30000, 'x'), main), 2, kBlue},
        {"no picture in the segment", ExifFile("nothing here", main), 2, kBlue},
        {"embedded JPEG that does not decode", ExifFile(std::string("\xFF\xD8\xFF\xDB", 4) + "junk", main), 2, kBlue},
        {"no picture at all", "Exif? not a picture", 0, 0},
        {"empty", "", 0, 0},
        {"plain JPEG", main, 2, kBlue},
    };
    for (const Case& c : cases) {
        const ui::DiskThumbnail thumbnail = ui::MakeJpegThumbnailFromBytes(c.file, frames);
        EXPECT_EQ(thumbnail.kind, c.kind) << c.what;
        ASSERT_EQ(thumbnail.bitmap.width(), 80) << c.what;
        ASSERT_EQ(thumbnail.bitmap.height(), 80) << c.what;
        if (c.kind != 0) EXPECT_EQ(Pixel(thumbnail.bitmap, 40, 31), c.centre) << c.what;
        if (c.kind == 2) {
            EXPECT_EQ(thumbnail.fullWidth, 640) << c.what;
            EXPECT_EQ(Pixel(thumbnail.bitmap, 40, 4), 0xFFFFFFu) << c.what;  // above the fitted picture
        }
    }
    // The embedded picture fills (6, 4)-(74, 58) of a small segment.
    const ui::DiskThumbnail small = ui::MakeJpegThumbnailFromBytes(ExifFile(embedded, main), frames);
    EXPECT_EQ(Pixel(small.bitmap, 6, 4), kRed);
    EXPECT_EQ(Pixel(small.bitmap, 73, 57), kRed);
    EXPECT_NE(Pixel(small.bitmap, 74, 58), kRed);
}

TEST(DiskThumbnail, ExifFilesAreKnownByTheirTag) {
    testsupport::TempDir dir;
    using namespace std::string_literals;
    const std::pair<std::string, bool> cases[] = {{"\xFF\xD8\xFF\xE1\x00\x10" "Exif"s, true},
                                                  {"\xFF\xD8\xFF\xE1\x00\x10" "eXiF"s, true},
                                                  {"\xFF\xD8\xFF\xE0\x00\x10" "JFIF"s, false},
                                                  {"\xFF\xD8\xFF\xE1\x00\x10" "Exi"s, false},
                                                  {""s, false}};
    for (const auto& [bytes, exif] : cases) {
        testsupport::WriteFile(dir.path() / "p.jpg", bytes);
        EXPECT_EQ(ui::IsExifJpeg((dir.path() / "p.jpg").string()), exif) << bytes.size();
    }
    EXPECT_FALSE(ui::IsExifJpeg((dir.path() / "missing.jpg").string()));
    for (const testsupport::NotAPicture kind : testsupport::kNotPictures) {
        const auto path = dir.path() / ("not" + std::to_string(static_cast<int>(kind)) + ".jpg");
        testsupport::MakeNotAPicture(path, kind);
        EXPECT_FALSE(ui::IsExifJpeg(path.string())) << testsupport::Describe(kind);
    }
    EXPECT_EQ(ui::MakeJpegThumbnail((dir.path() / "missing.jpg").string(), ui::DiskFrameBitmaps().Frames()).kind, 0);
}

}  // namespace
