#pragma once
// A reader of RIFF files for tests: the whole chunk tree of a file, with each chunk's place in
// it, so a test can check an AVI file's headers, frames and index against each other. Written
// apart from the program's writer so that the two check each other.

#include <cstdint>
#include <string>
#include <vector>

namespace testsupport {

struct RiffChunk {
  std::string id;         // "RIFF", "LIST", "avih", "00db", ...
  std::string list_type;  // of RIFF and LIST chunks: "AVI ", "hdrl", "movi", ...
  std::uint64_t offset = 0;  // of the chunk's id in the file
  std::uint32_t size = 0;    // as the chunk's header says
  std::string data;          // the body of a chunk that is not a list
  std::vector<RiffChunk> children;

  // The first child with this id (or list type, for lists); nullptr when there is none.
  const RiffChunk* Find(const std::string& id_or_type) const;
  std::vector<const RiffChunk*> FindAll(const std::string& id_or_type) const;
  std::uint32_t U32(std::size_t at) const;
  std::int32_t I32(std::size_t at) const { return static_cast<std::int32_t>(U32(at)); }
  std::uint16_t U16(std::size_t at) const;
};

// Parses File; throws std::runtime_error when a chunk runs past its parent or the file.
RiffChunk ReadRiff(const std::string& file);

}  // namespace testsupport
