#pragma once
// Frames and movies for the AVI tests.

#include <string>
#include <vector>

#include "media/avi_types.h"
#include "media/bitmap.h"
#include "media/movie_maker.h"
#include "tests/support/riff_reader.h"

namespace avitest {

// A picture that differs in every pixel and from frame to frame.
media::Bitmap Pattern(int width, int height, int seed);

// A picture as the Motion-JPEG compressor encodes it, at its default quality.
std::vector<std::uint8_t> JpegOf(const media::Bitmap& picture);

// The movie maker's setup: the save dialog answers Path, the options dialog picks Compressor
// (0: none).
media::MovieMakerSetup SetupFor(const std::string& path, media::FourCC compressor);
// The French texts of the program's message table.
media::MovieTexts FrenchTexts();

// Writes Frames with the AVI components (file, compressor, video worker) at Rate frames a second.
void WriteMovie(const std::string& path, const std::vector<media::Bitmap>& frames, media::FourCC compressor,
                int rate = 2);

// The parts of a written AVI file that every check needs; the reader throws on a broken tree.
struct AviParts {
  testsupport::RiffChunk riff;
  const testsupport::RiffChunk* avih = nullptr;
  const testsupport::RiffChunk* strh = nullptr;
  const testsupport::RiffChunk* strf = nullptr;
  const testsupport::RiffChunk* strn = nullptr;
  const testsupport::RiffChunk* movi = nullptr;
  const testsupport::RiffChunk* idx1 = nullptr;
};
AviParts ReadAvi(const std::string& path);

// The data of every frame chunk in 'movi', in order.
std::vector<std::string> FrameChunks(const std::string& path);

// Checks the structure that makes a file readable: frame counts in avih and strh equal to the
// chunks in movi, all with ChunkId, and one key-frame idx1 entry per chunk pointing at it.
void ExpectValidAvi(const std::string& path, int frames, const std::string& chunk_id);

}  // namespace avitest
