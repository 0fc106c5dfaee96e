#include "engine/jpeg_decoder.h"

#include "engine/jpeg_picture.h"
#include "tests/engine/jpeg_library_decoder.h"
#include "tests/engine/jpeg_test_pictures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

using engine::Bitmap;
using engine::JpegDecodeOptions;

// Smooth shading, edges and noise, so that every DCT method, upsampling and scale gives
// different bytes.
std::uint32_t Scene(int x, int y) {
    const unsigned hash = (static_cast<unsigned>(x) * 73856093u) ^ (static_cast<unsigned>(y) * 19349663u);
    const int noise = static_cast<int>(hash % 23) - 11;
    const auto clamp = [](double v) { return static_cast<std::uint32_t>(std::clamp(v, 0.0, 255.0)); };
    const double r = 128 + 90 * std::sin(x * 0.07) * std::cos(y * 0.05) + noise;
    const double g = (x * 3 + y) % 256 + noise;
    const double b = ((x / 16 + y / 16) % 2 ? 200 : 50) + noise;
    return clamp(r) | clamp(g) << 8 | clamp(b) << 16;
}

std::string Colour(int w, int h, const testpictures::JpegLayout& layout = {}) {
    return testpictures::EncodeJpeg(testpictures::MakeBitmap(w, h, Scene), layout);
}

std::string Grey(int w, int h) {
    return testpictures::EncodeJpeg(
        testpictures::MakeGrey(w, h, [](int x, int y) { return static_cast<std::uint8_t>(Scene(x, y) >> 8); }));
}

std::string FirstPart(const std::string& bytes, double share) {
    return bytes.substr(0, static_cast<std::size_t>(bytes.size() * share));
}

struct Picture {
    const char* name;
    std::string bytes;
};

// Widths that are not a multiple of 4 (nor of the 8 or 16 pixel blocks) on purpose.
std::vector<Picture> Pictures() {
    const testpictures::JpegLayout progressive{.progressive = true};
    return {
        {"baseline 4:2:0, 301 x 203", Colour(301, 203)},
        {"baseline 4:2:2, 250 x 97", Colour(250, 97, {.chromaColumns = 2, .chromaRows = 1})},
        {"baseline 4:4:4, 123 x 45", Colour(123, 45, {.chromaColumns = 1, .chromaRows = 1})},
        {"progressive 4:2:0, 333 x 250", Colour(333, 250, progressive)},
        {"greyscale, 157 x 99", Grey(157, 99)},
        {"baseline cut at 55 %", FirstPart(Colour(301, 203), 0.55)},
        {"progressive cut at 40 %", FirstPart(Colour(333, 250, progressive), 0.40)},
    };
}

std::vector<JpegDecodeOptions> AllOptions() {
    std::vector<JpegDecodeOptions> all;
    for (int scale : {1, 2, 4, 8})
        for (bool grey : {false, true})
            for (bool fast : {false, true})
                all.push_back({scale, grey, fast});
    return all;
}

std::string Describe(const Picture& picture, const JpegDecodeOptions& o) {
    return std::string(picture.name) + ", scale 1/" + std::to_string(o.scaleDenominator) + (o.grey ? ", grey" : ", colour") +
           (o.fast ? ", fast DCT" : ", default DCT");
}

// What the library itself gives for these options.
struct Reference {
    testpictures::LibraryDecoder::Result shape;
    std::vector<unsigned char> pixels;
};

Reference LibraryDecode(const std::string& bytes, const JpegDecodeOptions& options) {
    static testpictures::LibraryDecoder library;
    std::vector<unsigned char> buffer(1024 * 1024);
    Reference out;
    out.shape = library.Decode(bytes, options, buffer.data(), buffer.size());
    buffer.resize(static_cast<std::size_t>(out.shape.width) * out.shape.height * out.shape.bytesPerPixel);
    out.pixels = std::move(buffer);
    return out;
}

void ExpectSame(const Reference& expected, bool prematureEnd, const Bitmap& actual, const std::string& what) {
    ASSERT_EQ(actual.width(), expected.shape.width) << what;
    ASSERT_EQ(actual.height(), expected.shape.height) << what;
    ASSERT_EQ(actual.bytesPerPixel(), expected.shape.bytesPerPixel) << what;
    EXPECT_EQ(prematureEnd, expected.shape.prematureEnd) << what;
    EXPECT_TRUE(std::equal(expected.pixels.begin(), expected.pixels.end(), actual.data())) << what;
}

const std::uint8_t* Data(const std::string& bytes) {
    return reinterpret_cast<const std::uint8_t*>(bytes.data());
}

TEST(JpegDecoder, EveryOptionGivesTheLibrarysOwnPixelsIntoFreshAndReusedBitmaps) {
    Bitmap reused;  // carries every earlier picture's size and pixels into the next decode
    for (const Picture& picture : Pictures())
        for (const JpegDecodeOptions& options : AllOptions()) {
            const std::string what = Describe(picture, options);
            const Reference expected = LibraryDecode(picture.bytes, options);
            ASSERT_GT(expected.shape.width, 0) << what;

            Bitmap fresh;
            const bool freshEnd = DecodeJpeg(Data(picture.bytes), picture.bytes.size(), options, fresh);
            ExpectSame(expected, freshEnd, fresh, what + " (fresh bitmap)");

            const bool reusedEnd = DecodeJpeg(Data(picture.bytes), picture.bytes.size(), options, reused);
            ExpectSame(expected, reusedEnd, reused, what + " (reused bitmap)");
        }
}

// The one pass for colour and grey gives, for every YCbCr picture and every scale and DCT, the
// library's own colour decode and its own grey decode pixel for pixel (so the thumbnail drawn of
// it and the motion test and verdict made of it are those of the two decodes); any other
// picture is left to the two decodes.
TEST(JpegDecoder, ColourAndGreyInOnePassAreTheLibrarysTwoDecodes) {
    int split = 0;
    for (const Picture& picture : Pictures())
        for (const JpegDecodeOptions& options : AllOptions()) {
            if (options.grey) continue;  // not looked at
            const std::string what = Describe(picture, options);
            Bitmap colour, grey;
            const std::optional<bool> end =
                DecodeJpegColourAndGrey(Data(picture.bytes), picture.bytes.size(), options, colour, grey);
            if (std::string(picture.name).rfind("greyscale", 0) == 0) {
                EXPECT_FALSE(end) << what;
                continue;
            }
            ASSERT_TRUE(end) << what;
            ++split;
            ExpectSame(LibraryDecode(picture.bytes, options), *end, colour, what + " (colour)");
            JpegDecodeOptions greyOptions = options;
            greyOptions.grey = true;
            ExpectSame(LibraryDecode(picture.bytes, greyOptions), *end, grey, what + " (grey)");
        }
    EXPECT_EQ(split, 6 * 8);
}

TEST(JpegDecoder, TheCutPicturesReportTheirEndAndTheWholeOnesDoNot) {
    // Guards the table above: without a cut picture the end flag would never be compared.
    int cut = 0;
    for (const Picture& picture : Pictures()) {
        Bitmap out;
        cut += DecodeJpeg(Data(picture.bytes), picture.bytes.size(), {}, out) ? 1 : 0;
    }
    EXPECT_EQ(cut, 2);
}

TEST(JpegDecoder, DecodingAgainIntoTheSameBitmapKeepsItsStorage) {
    const std::string bytes = Colour(640, 480);
    Bitmap out;
    DecodeJpeg(Data(bytes), bytes.size(), {}, out);
    const std::uint8_t* storage = out.data();
    const Bitmap first = out;
    DecodeJpeg(Data(bytes), bytes.size(), {}, out);
    EXPECT_EQ(out.data(), storage);
    EXPECT_EQ(out, first);
    DecodeJpeg(Data(bytes), bytes.size(), {.scaleDenominator = 4}, out);
    EXPECT_EQ(out.data(), storage) << "a smaller picture fits in the storage already there";
}

// A progressive picture whose second scan claims a DC band reaching into the AC coefficients:
// the library refuses it while reading the scans, before any row is out.
std::string BadScanPicture() {
    std::string bytes = Colour(96, 64, {.progressive = true});
    const std::string sos("\xFF\xDA", 2);
    const std::size_t second = bytes.find(sos, bytes.find(sos) + 2);
    const auto components = static_cast<std::size_t>(static_cast<unsigned char>(bytes[second + 4]));
    bytes[second + 5 + 2 * components] = 0;  // Ss = 0 with Se above 0
    return bytes;
}

TEST(JpegDecoder, AFailedDecodeLeavesNoTraceOfTheEarlierPicture) {
    const std::string bad = BadScanPicture();
    Bitmap fresh;
    EXPECT_THROW(DecodeJpeg(Data(bad), bad.size(), {}, fresh), engine::JpegError);

    const std::string good = Colour(96, 64);
    Bitmap reused;
    DecodeJpeg(Data(good), good.size(), {}, reused);
    EXPECT_THROW(DecodeJpeg(Data(bad), bad.size(), {}, reused), engine::JpegError);
    EXPECT_EQ(reused, fresh);
    EXPECT_TRUE(std::all_of(reused.data(), reused.data() + reused.size(), [](std::uint8_t b) { return b == 0; }));
}

}  // namespace
