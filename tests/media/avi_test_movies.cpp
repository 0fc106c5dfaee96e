#include "tests/media/avi_test_movies.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "media/avi_compressor.h"
#include "media/avi_file.h"
#include "media/avi_worker.h"
#include "media/bitmap_to_dib.h"
#include "media/mjpeg_encoder.h"

namespace avitest {

using namespace media;

Bitmap Pattern(int width, int height, int seed) {
  Bitmap b(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      b.SetPixel(x, y, RGBColor(std::uint8_t(x * 3 + seed * 40), std::uint8_t(y * 5 + seed * 20), std::uint8_t((x + y) * 2)));
  return b;
}

std::vector<std::uint8_t> JpegOf(const Bitmap& picture) {
  const std::optional<PackedDIB> dib = BitmapToDIB(picture.Rows(), {}, 24, kBottomUp);
  std::vector<std::uint8_t> out;
  EncodeJPEG({dib->Bits(), dib->Width(), dib->Height(), std::size_t(dib->RowSize()), true}, kDefaultJPEGQuality, out);
  return out;
}

namespace {
TAVIChooseOptions Choose(FourCC compressor) {
  return [compressor](std::vector<AVICompressOptions>& options, unsigned) {
    for (AVICompressOptions& o : options) o.fccHandler = compressor;
    return true;
  };
}
}  // namespace

MovieTexts FrenchTexts() { return {"Enregistrement de l'image", "de", "Prêt"}; }

MovieMakerSetup SetupFor(const std::string& path, FourCC compressor) {
  MovieMakerSetup setup;
  setup.ChooseFileName = [path](std::string& name) {
    name = path;
    return true;
  };
  setup.ChooseCompression = Choose(compressor);
  setup.Texts = FrenchTexts();
  return setup;
}

void WriteMovie(const std::string& path, const std::vector<Bitmap>& frames, FourCC compressor, int rate) {
  TMMAVIFile file;
  TMMAVICompressor options;
  options.SetChooser(Choose(compressor));
  file.SetFileName(path);
  file.CreateFile();
  AVIRef<TMMAVIStream> stream = AVIRef<TMMAVIStream>::Adopt(file.CreateVideoStream(rate, "test"));
  options.AddStream(*stream);
  ASSERT_TRUE(options.Choose());
  {
    TMMAVIVideoWorker worker(*stream, options.GetOptions(0));
    for (std::size_t i = 0; i < frames.size(); ++i)
      worker.WriteFrame(static_cast<int>(i), *BitmapToDIB(frames[i].Rows(), {}, 24, kBottomUp));
  }
  options.Close();
  stream.Reset();
  file.Close();
}

AviParts ReadAvi(const std::string& path) {
  AviParts p;
  p.riff = testsupport::ReadRiff(path);
  const testsupport::RiffChunk* hdrl = p.riff.Find("hdrl");
  if (hdrl == nullptr) return p;
  p.avih = hdrl->Find("avih");
  if (const testsupport::RiffChunk* strl = hdrl->Find("strl")) {
    p.strh = strl->Find("strh");
    p.strf = strl->Find("strf");
    p.strn = strl->Find("strn");
  }
  p.movi = p.riff.Find("movi");
  p.idx1 = p.riff.Find("idx1");
  return p;
}

std::vector<std::string> FrameChunks(const std::string& path) {
  const AviParts p = ReadAvi(path);
  std::vector<std::string> chunks;
  if (p.movi != nullptr)
    for (const testsupport::RiffChunk& chunk : p.movi->children) chunks.push_back(chunk.data);
  return chunks;
}

void ExpectValidAvi(const std::string& path, int frames, const std::string& chunk_id) {
  const AviParts p = ReadAvi(path);
  EXPECT_EQ(p.riff.list_type, "AVI ");
  EXPECT_EQ(std::uint64_t(p.riff.size) + 8, std::filesystem::file_size(path));
  ASSERT_TRUE(p.avih && p.strh && p.strf && p.movi && p.idx1) << path;
  EXPECT_EQ(p.avih->U32(16), std::uint32_t(frames)) << "avih frame count";
  EXPECT_EQ(p.avih->U32(24), 1u) << "avih streams";
  EXPECT_EQ(p.strh->U32(32), std::uint32_t(frames)) << "strh length";
  EXPECT_EQ(p.strf->U32(0), 40u) << "strf is a bitmap header";
  ASSERT_EQ(p.movi->children.size(), std::size_t(frames));
  ASSERT_EQ(p.idx1->data.size(), std::size_t(frames) * 16);
  for (int i = 0; i < frames; ++i) {
    const testsupport::RiffChunk& chunk = p.movi->children[std::size_t(i)];
    EXPECT_EQ(chunk.id, chunk_id);
    const std::size_t e = std::size_t(i) * 16;
    EXPECT_EQ(p.idx1->data.substr(e, 4), chunk_id);
    EXPECT_EQ(p.idx1->U32(e + 4), 0x10u) << "key frame";
    // Offsets count from the 'movi' code, 8 bytes into the list.
    EXPECT_EQ(p.movi->offset + 8 + p.idx1->U32(e + 8), chunk.offset) << "entry " << i;
    EXPECT_EQ(p.idx1->U32(e + 12), chunk.size);
  }
}

}  // namespace avitest
