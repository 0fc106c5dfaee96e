#include "tests/support/riff_reader.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace testsupport {

namespace {

std::uint32_t Le32(const std::string& s, std::size_t at) {
  if (at + 4 > s.size()) throw std::runtime_error("read past the end at " + std::to_string(at));
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(s[at + std::size_t(i)]);
  return v;
}

// The chunks of Bytes[begin, end).
std::vector<RiffChunk> Parse(const std::string& bytes, std::size_t begin, std::size_t end) {
  std::vector<RiffChunk> out;
  std::size_t at = begin;
  while (at < end) {
    if (end - at < 8) throw std::runtime_error("truncated chunk header at " + std::to_string(at));
    RiffChunk c;
    c.id = bytes.substr(at, 4);
    c.offset = at;
    c.size = Le32(bytes, at + 4);
    const std::size_t body = at + 8;
    if (c.size > end - body) throw std::runtime_error("chunk " + c.id + " at " + std::to_string(at) + " runs past its parent");
    if (c.id == "RIFF" || c.id == "LIST") {
      if (c.size < 4) throw std::runtime_error("list without a type at " + std::to_string(at));
      c.list_type = bytes.substr(body, 4);
      c.children = Parse(bytes, body + 4, body + c.size);
    } else {
      c.data = bytes.substr(body, c.size);
    }
    at = body + c.size + (c.size & 1);
    out.push_back(std::move(c));
  }
  return out;
}

}  // namespace

const RiffChunk* RiffChunk::Find(const std::string& key) const {
  for (const RiffChunk& c : children)
    if (c.id == key || (!c.list_type.empty() && c.list_type == key)) return &c;
  return nullptr;
}

std::vector<const RiffChunk*> RiffChunk::FindAll(const std::string& key) const {
  std::vector<const RiffChunk*> out;
  for (const RiffChunk& c : children)
    if (c.id == key || (!c.list_type.empty() && c.list_type == key)) out.push_back(&c);
  return out;
}

std::uint32_t RiffChunk::U32(std::size_t at) const { return Le32(data, at); }

std::uint16_t RiffChunk::U16(std::size_t at) const {
  if (at + 2 > data.size()) throw std::runtime_error("read past the end of " + id);
  return static_cast<std::uint16_t>(static_cast<unsigned char>(data[at]) | static_cast<unsigned char>(data[at + 1]) << 8);
}

RiffChunk ReadRiff(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw std::runtime_error("cannot open " + file);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<RiffChunk> top = Parse(bytes, 0, bytes.size());
  if (top.size() != 1 || top[0].id != "RIFF") throw std::runtime_error(file + " is not one RIFF chunk");
  return std::move(top[0]);
}

}  // namespace testsupport
