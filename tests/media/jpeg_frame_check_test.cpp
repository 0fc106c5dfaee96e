#include "media/jpeg_frame_check.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>
// jpeglib.h needs FILE and size_t declared first.
#include <jpeglib.h>

#include "tests/media/avi_test_movies.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// A grey or progressive picture, the kinds the Motion-JPEG compressor never writes.
Bytes EncodeWith(int width, int height, bool grey, bool progressive) {
  const media::Bitmap picture = avitest::Pattern(width, height, 1);
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
  if (grey) jpeg_set_colorspace(&info, JCS_GRAYSCALE);
  if (progressive) jpeg_simple_progression(&info);
  jpeg_start_compress(&info, TRUE);
  for (int y = 0; y < height; ++y) {
    JSAMPROW row = const_cast<JSAMPROW>(picture.Row(y));
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  Bytes out(buffer, buffer + size);
  std::free(buffer);
  return out;
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

}  // namespace
