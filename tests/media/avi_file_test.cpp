// The AVI components writing and reading files: the RIFF structure of what they write, the
// stream's header and format, the size guard, and the file object's rules.

#include "media/avi_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "media/avi_compressor.h"
#include "media/avi_worker.h"
#include "media/bitmap_to_dib.h"
#include "tests/media/avi_test_movies.h"
#include "tests/support/temp_dir.h"

namespace {

using namespace media;
using avitest::Pattern;

class AVIFileTest : public ::testing::Test {
 protected:
  std::string Path(const std::string& name) const { return (temp_.path() / name).string(); }
  testsupport::TempDir temp_;
};

struct CompressorCase {
  const char* name;
  FourCC compressor;
  const char* chunk_id;
};

class AVIFileWriteTest : public AVIFileTest, public ::testing::WithParamInterface<CompressorCase> {};

TEST_P(AVIFileWriteTest, WritesHeadersOneChunkPerFrameAndAKeyFrameIndex) {
  // 101 pixels: rows of 303 bytes padded to 304.
  std::vector<Bitmap> frames;
  for (int i = 0; i < 5; ++i) frames.push_back(Pattern(101, 75, i));
  const std::string path = Path("movie.avi");
  avitest::WriteMovie(path, frames, GetParam().compressor, 2);

  avitest::ExpectValidAvi(path, 5, GetParam().chunk_id);
  const avitest::AviParts p = avitest::ReadAvi(path);
  EXPECT_EQ(p.avih->U32(0), 500000u) << "microseconds a frame";
  EXPECT_EQ(p.avih->U32(12) & 0x10, 0x10u) << "has an index";
  EXPECT_EQ(p.avih->U32(32), 101u);
  EXPECT_EQ(p.avih->U32(36), 75u);
  EXPECT_EQ(p.strh->data.substr(0, 4), "vids");
  EXPECT_EQ(p.strh->U32(20), 1u) << "scale";
  EXPECT_EQ(p.strh->U32(24), 2u) << "rate";
  EXPECT_EQ(p.strh->U16(52), 101) << "frame right";
  EXPECT_EQ(p.strh->U16(54), 75) << "frame bottom";
  EXPECT_EQ(p.strf->I32(4), 101);
  EXPECT_EQ(p.strf->I32(8), 75) << "bottom-up";
  EXPECT_EQ(p.strf->U16(14), 24);
  EXPECT_EQ(p.strn->data, std::string("test") + '\0');

  std::uint32_t largest = 0;
  for (std::size_t i = 0; i < frames.size(); ++i) {
    const std::string& data = p.movi->children[i].data;
    largest = std::max<std::uint32_t>(largest, p.movi->children[i].size);
    if (GetParam().compressor == 0) {
      const PackedDIB dib = *BitmapToDIB(frames[i].Rows(), {}, 24, kBottomUp);
      EXPECT_EQ(data, std::string(reinterpret_cast<const char*>(dib.Bits()), dib.ImageSize())) << "frame " << i;
    } else {
      EXPECT_EQ(data.substr(0, 2), "\xFF\xD8") << "a JPEG picture";
      EXPECT_EQ(data.substr(data.size() - 2), "\xFF\xD9");
    }
  }
  EXPECT_EQ(p.strh->U32(36), largest) << "suggested buffer size";
  if (GetParam().compressor == 0) {
    EXPECT_EQ(p.strh->U32(4), 0u);
    EXPECT_EQ(p.strf->U32(16), 0u) << "BI_RGB";
    EXPECT_EQ(p.strf->U32(20), 304u * 75) << "image size";
  } else {
    EXPECT_EQ(p.strh->data.substr(4, 4), "MJPG");
    EXPECT_EQ(p.strf->data.substr(16, 4), "MJPG");
  }
}

INSTANTIATE_TEST_SUITE_P(Compressors, AVIFileWriteTest,
                         ::testing::Values(CompressorCase{"Uncompressed", 0, "00db"},
                                           CompressorCase{"MotionJPEG", kMotionJPEG, "00dc"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(AVIFileTest, AStreamWithoutFramesStillGetsAFormat) {
  const std::string path = Path("empty.avi");
  avitest::WriteMovie(path, {}, 0);
  avitest::ExpectValidAvi(path, 0, "00db");
  const avitest::AviParts p = avitest::ReadAvi(path);
  EXPECT_EQ(p.strf->I32(4), 1);
  EXPECT_EQ(p.strf->I32(8), 1);
  EXPECT_EQ(p.strf->U16(14), 24);
}

TEST_F(AVIFileTest, TheSizeGuardRefusesTheFrameThatWouldPassItAndKeepsTheFileValid) {
  TMMAVIFile file;
  file.SetFileName(Path("guard.avi"));
  const PackedDIB dib = *BitmapToDIB(Pattern(64, 48, 0).Rows(), {}, 24, kBottomUp);  // 9216 bytes a frame
  file.SetMaxFileSize(40000);
  file.CreateFile();
  AVIRef<TMMAVIStream> stream = AVIRef<TMMAVIStream>::Adopt(file.CreateVideoStream(2, "s"));
  int written = 0;
  try {
    TMMAVIVideoWorker worker(*stream, nullptr);
    for (; written < 10; ++written) worker.WriteFrame(written, dib);
    FAIL() << "the guard never struck";
  } catch (const EMMAVIError& e) {
    EXPECT_STREQ(e.what(), "AVI error (8004406E): Error writing file");
  }
  stream.Reset();
  file.Close();
  EXPECT_EQ(written, 4);
  EXPECT_LE(std::filesystem::file_size(Path("guard.avi")), 40000u);
  avitest::ExpectValidAvi(Path("guard.avi"), 4, "00db");
}

TEST_F(AVIFileTest, TheStreamNameIsCutTo63BytesOnACharacterBoundary) {
  struct {
    std::string name, stored;
  } cases[] = {
      {std::string(70, 'n'), std::string(63, 'n')},
      {std::string(62, 'n') + "é", std::string(62, 'n')},  // the two bytes of é would pass 63
      {std::string(61, 'n') + "é", std::string(61, 'n') + "é"},
  };
  for (const auto& c : cases) {
    TMMAVIFile file;
    file.SetFileName(Path("name.avi"));
    file.CreateFile();
    TMMAVIStream* stream = file.CreateVideoStream(2, c.name);
    EXPECT_EQ(stream->Info().szName, c.stored);
    stream->Release();
    file.Close();
    EXPECT_EQ(avitest::ReadAvi(Path("name.avi")).strn->data, c.stored + '\0');
  }
}

TEST_F(AVIFileTest, OpeningAWrittenFileListsItsStreams) {
  avitest::WriteMovie(Path("read.avi"), {Pattern(32, 16, 1), Pattern(32, 16, 2)}, 0, 5);
  TMMAVIFile file;
  file.SetFileName(Path("read.avi"));
  file.Open();
  ASSERT_EQ(file.StreamCount(), 1);
  const AVIStreamInfo info = file.Streams(0).Info();
  EXPECT_EQ(info.fccType, streamtypeVIDEO);
  EXPECT_EQ(info.dwRate, 5u);
  EXPECT_EQ(info.dwLength, 2u);
  EXPECT_EQ(info.szName, "test");
  EXPECT_EQ(info.rcFrame, (TRect{0, 0, 32, 16}));
  EXPECT_EQ(file.Streams(0).Format().size(), 40u);
  EXPECT_EQ(file.Streams(0).FileBufferSize(), 96u * 16);
  EXPECT_THROW(TMMAVIVideoWorker(file.Streams(0), nullptr).WriteFrame(2, *BitmapToDIB(Pattern(32, 16, 3).Rows(), {}, 24, kBottomUp)),
               EMMAVIError);
}

TEST_F(AVIFileTest, OpenRefusesWhatIsNotAnAVIFile) {
  testsupport::WriteFile(Path("text.avi"), "RIFF\x04\0\0\0WAVE");
  testsupport::WriteFile(Path("short.avi"), "RIFF");
  // A header list that claims more than the file holds.
  testsupport::WriteFile(Path("cut.avi"), std::string("RIFF\x40\0\0\0AVI LIST\xFF\0\0\0hdrl", 24));
  const struct {
    const char* name;
    const char* message;
  } cases[] = {
      {"text.avi", "AVI error (80044066): Bad format"},
      {"short.avi", "AVI error (80044066): Bad format"},
      {"cut.avi", "AVI error (80044066): Bad format"},
      {"missing.avi", "AVI error (8004406F): Error opening file"},
  };
  for (const auto& c : cases) {
    TMMAVIFile file;
    file.SetFileName(Path(c.name));
    try {
      file.Open();
      ADD_FAILURE() << c.name << " opened";
    } catch (const EMMAVIError& e) {
      EXPECT_STREQ(e.what(), c.message) << c.name;
    }
    EXPECT_FALSE(file.Opened());
  }
}

TEST_F(AVIFileTest, TheSameNameKeepsTheFileOpenAndANewOneClosesIt) {
  TMMAVIFile file;
  file.SetFileName(Path("a.avi"));
  file.CreateFile();
  file.CreateVideoStream(2, "s")->Release();
  file.SetFileName(Path("a.avi"));
  EXPECT_TRUE(file.Opened());
  EXPECT_EQ(file.StreamCount(), 1);
  file.SetFileName(Path("b.avi"));
  EXPECT_FALSE(file.Opened());
  EXPECT_EQ(file.StreamCount(), 0);
  avitest::ExpectValidAvi(Path("a.avi"), 0, "00db");  // finished when closed
}

TEST_F(AVIFileTest, OpenModesAndCreatingAlwaysWrites) {
  TMMAVIFile file;
  EXPECT_EQ(file.OpenMode(), OF_READ | OF_SHARE_EXCLUSIVE);
  file.SetAccessMode(amReadWrite);
  file.SetShareMode(smReadWrite);
  EXPECT_EQ(file.OpenMode(), OF_READWRITE | OF_SHARE_DENY_NONE);
  file.SetAccessMode(amWrite);
  file.SetShareMode(smWrite);
  EXPECT_EQ(file.OpenMode(), OF_WRITE | OF_SHARE_DENY_READ);

  // Read access with the create flag still writes the new file.
  TMMAVIFile reading;
  reading.SetFileName(Path("r.avi"));
  reading.CreateFile();
  TMMAVIStream* stream = reading.CreateVideoStream(2, "s");
  TMMAVIVideoWorker(*stream, nullptr).WriteFrame(0, *BitmapToDIB(Pattern(8, 8, 0).Rows(), {}, 24, kBottomUp));
  stream->Release();
  reading.Close();
  avitest::ExpectValidAvi(Path("r.avi"), 1, "00db");
}

TEST_F(AVIFileTest, AnExclusiveFileIsNotCreatedTwiceNorEmptiedByTheSecondTry) {
  TMMAVIFile first, second;
  first.SetFileName(Path("x.avi"));
  second.SetFileName(Path("x.avi"));
  first.CreateFile();
  TMMAVIStream* stream = first.CreateVideoStream(2, "s");
  TMMAVIVideoWorker(*stream, nullptr).WriteFrame(0, *BitmapToDIB(Pattern(8, 8, 0).Rows(), {}, 24, kBottomUp));
  stream->Release();
  EXPECT_THROW(second.CreateFile(), EMMAVIError);
  first.Close();
  avitest::ExpectValidAvi(Path("x.avi"), 1, "00db");
}

TEST_F(AVIFileTest, ObjectsWithoutHandlesSaySo) {
  TMMAVIFile file;
  try {
    file.CreateVideoStream(2, "s");
    ADD_FAILURE();
  } catch (const EMMAVIError& e) {
    EXPECT_STREQ(e.what(), "File not opened");
  }
  TMMAVIStream* empty = new TMMAVIStream;
  try {
    empty->Info();
    ADD_FAILURE();
  } catch (const EMMAVIError& e) {
    EXPECT_STREQ(e.what(), "Stream not opened");
  }
  empty->Release();
}

TEST_F(AVIFileTest, AFrameOfAnotherFormatIsRefusedAndTheFileStaysValid) {
  TMMAVIFile file;
  file.SetFileName(Path("sizes.avi"));
  file.CreateFile();
  AVIRef<TMMAVIStream> stream = AVIRef<TMMAVIStream>::Adopt(file.CreateVideoStream(2, "s"));
  {
    TMMAVIVideoWorker worker(*stream, nullptr);
    worker.WriteFrame(0, *BitmapToDIB(Pattern(8, 8, 0).Rows(), {}, 24, kBottomUp));
    EXPECT_THROW(worker.WriteFrame(1, *BitmapToDIB(Pattern(9, 8, 0).Rows(), {}, 24, kBottomUp)), EMMAVIError);
    // Out of order.
    EXPECT_THROW(worker.WriteFrame(3, *BitmapToDIB(Pattern(8, 8, 0).Rows(), {}, 24, kBottomUp)), EMMAVIError);
  }
  stream.Reset();
  file.Close();
  avitest::ExpectValidAvi(Path("sizes.avi"), 1, "00db");
}

}  // namespace
