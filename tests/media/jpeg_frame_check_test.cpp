#include "media/jpeg_frame_check.h"

#include <gtest/gtest.h>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>
// jpeglib.h needs FILE and size_t declared first.
#include <jpeglib.h>

#include "tests/media/avi_test_movies.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// A Width x Height colour picture compressed with libjpeg's defaults, after Write has changed
// what it needs and written the picture into Info.
Bytes Compress(int width, int height, const std::function<void(jpeg_compress_struct& info)>& write) {
  jpeg_compress_struct info{};
  jpeg_error_mgr err{};
  info.err = jpeg_std_error(&err);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = JDIMENSION(width);
  info.image_height = JDIMENSION(height);
  info.input_components = 3;
  info.in_color_space = JCS_EXT_BGR;
  jpeg_set_defaults(&info);
  write(info);
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  Bytes out(buffer, buffer + size);
  std::free(buffer);
  return out;
}

// A grey or progressive picture, the kinds the Motion-JPEG compressor never writes.
Bytes EncodeWith(int width, int height, bool grey, bool progressive) {
  const media::Bitmap picture = avitest::Pattern(width, height, 1);
  return Compress(width, height, [&](jpeg_compress_struct& info) {
    if (grey) jpeg_set_colorspace(&info, JCS_GRAYSCALE);
    if (progressive) jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    for (int y = 0; y < height; ++y) {
      JSAMPROW row = const_cast<JSAMPROW>(picture.Row(y));
      jpeg_write_scanlines(&info, &row, 1);
    }
  });
}

// Where the entropy-coded data of the first scan starts: after the SOS segment.
std::size_t ScanStart(const Bytes& jpeg) {
  for (std::size_t i = 2; i + 3 < jpeg.size(); ++i)
    if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xDA) return i + 2 + (std::size_t(jpeg[i + 2]) << 8 | jpeg[i + 3]);
  ADD_FAILURE() << "no scan";
  return jpeg.size();
}

TEST(JPEGFitsFrameTest, OnlyAWholeBaselineColourPictureOfTheFrameSizeFits) {
  const Bytes whole = avitest::JpegOf(avitest::Pattern(64, 48, 0));
  ASSERT_TRUE(media::JPEGFitsFrame(whole, 64, 48));

  const std::size_t scan = ScanStart(whole);
  ASSERT_LT(scan + 200, whole.size());
  Bytes truncated(whole.begin(), whole.begin() + std::ptrdiff_t(scan + (whole.size() - scan) / 2));
  Bytes cut = whole;  // a piece missing from the middle, the end marker still there
  cut.erase(cut.begin() + std::ptrdiff_t(scan + 100), cut.begin() + std::ptrdiff_t(scan + 160));
  Bytes bad_code = whole;  // sixteen 1 bits: no Huffman code
  const std::uint8_t ones[] = {0xFF, 0x00, 0xFF, 0x00};
  std::copy(std::begin(ones), std::end(ones), bad_code.begin() + std::ptrdiff_t(scan + 40));

  const struct {
    const char* what;
    Bytes jpeg;
    int width, height;
  } refused[] = {
      {"another width", whole, 63, 48},
      {"another height", whole, 64, 49},
      {"cut short", truncated, 64, 48},
      {"a piece missing", cut, 64, 48},
      {"a corrupt code", bad_code, 64, 48},
      {"grey", EncodeWith(64, 48, true, false), 64, 48},
      {"progressive", EncodeWith(64, 48, false, true), 64, 48},
      {"not a picture", Bytes{'n', 'o', 't', ' ', 'a', ' ', 'j', 'p', 'g'}, 64, 48},
      {"empty", Bytes{}, 64, 48},
  };
  for (const auto& c : refused) EXPECT_FALSE(media::JPEGFitsFrame(c.jpeg, c.width, c.height)) << c.what;
  EXPECT_TRUE(media::JPEGFitsFrame(EncodeWith(64, 48, false, false), 64, 48)) << "the helper's own baseline picture";
}

// A full decode, to the colour pixels, as the viewer makes it: true when it ends without an
// error or a warning.
struct Failure {
  jpeg_error_mgr base;
  std::jmp_buf jump;
};

bool DecodesCleanly(const Bytes& jpeg) {
  jpeg_decompress_struct info{};
  Failure err{};
  info.err = jpeg_std_error(&err.base);
  err.base.error_exit = [](j_common_ptr c) { std::longjmp(reinterpret_cast<Failure*>(c->err)->jump, 1); };
  err.base.emit_message = [](j_common_ptr c, int level) {
    if (level < 0) ++c->err->num_warnings;
  };
  std::vector<JSAMPLE> row;
  if (setjmp(err.jump)) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, jpeg.data(), static_cast<unsigned long>(jpeg.size()));
  jpeg_read_header(&info, TRUE);
  jpeg_start_decompress(&info);
  row.resize(std::size_t(info.output_width) * std::size_t(info.output_components));
  JSAMPROW rows[] = {row.data()};
  while (info.output_scanline < info.output_height) jpeg_read_scanlines(&info, rows, 1);
  jpeg_finish_decompress(&info);
  const bool clean = info.err->num_warnings == 0;
  jpeg_destroy_decompress(&info);
  return clean;
}

TEST(JPEGFitsFrameTest, AFlippedByteAnywhereInTheDataGetsTheVerdictOfAFullDecode) {
  const Bytes whole = avitest::JpegOf(avitest::Pattern(64, 48, 2));
  const std::size_t scan = ScanStart(whole);
  int refused = 0, flips = 0;
  for (std::size_t at = scan; at + 2 < whole.size(); ++at)
    for (const std::uint8_t mask : {0x01, 0x10, 0xFF}) {
      Bytes flipped = whole;
      flipped[at] ^= mask;
      const bool clean = DecodesCleanly(flipped);
      EXPECT_EQ(media::JPEGFitsFrame(flipped, 64, 48), clean)
          << "byte " << at - scan << " of the data, mask " << int(mask);
      refused += !clean;
      ++flips;
    }
  // Flips that only change a coefficient's value are whole data to any decoder; the others break it.
  EXPECT_GT(refused, flips / 4);
  EXPECT_LT(refused, flips);
}

// A colour picture whose chroma is sampled at 2/3 and 1/3 of the luma: its data is whole, but
// no decoder upsamples such fractions, so it never decodes.
Bytes FractionallySampled(int width, int height) {
  jvirt_barray_ptr coefficients[3];  // libjpeg reads them until the compression is finished
  return Compress(width, height, [&](jpeg_compress_struct& info) {
    const int horizontal[] = {3, 2, 1};
    for (int c = 0; c < 3; ++c) {
      info.comp_info[c].h_samp_factor = horizontal[c];
      info.comp_info[c].v_samp_factor = 1;
      const int blocksWide = (width * horizontal[c] / 3 + 7) / 8;
      coefficients[c] = (*info.mem->request_virt_barray)(
          reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE, TRUE,
          JDIMENSION((blocksWide + horizontal[c] - 1) / horizontal[c] * horizontal[c]), JDIMENSION((height + 7) / 8), 1);
    }
    jpeg_write_coefficients(&info, coefficients);  // all zero: a plain grey picture
  });
}

TEST(JPEGFitsFrameTest, APictureNoDecoderCanUpsampleIsRefused) {
  const Bytes picture = FractionallySampled(72, 16);
  ASSERT_GT(picture.size(), 100u);
  EXPECT_FALSE(DecodesCleanly(picture));
  EXPECT_FALSE(media::JPEGFitsFrame(picture, 72, 16));
}

}  // namespace
