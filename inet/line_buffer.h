#pragma once
// A connection's receive buffer of MaxLineSize bytes: filled in place by the socket,
// compacted only when the free space at its end runs out, and read as lines that point
// into it. The end of a line is either one sequence ("\r\n") or, in any-of mode, any of a
// set of delimiter chars, with the run of delimiters that follows skipped (so empty lines
// never come out).

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace inet {

class LineBuffer {
public:
    explicit LineBuffer(std::uint16_t size);

    // 200 when the memory cannot be had; the same size only empties the buffer.
    int Resize(std::uint16_t size);
    std::uint16_t Size() const { return size_; }
    void Clear();

    // An empty text: no line ends, everything comes out as it arrives.
    int SetEOL(std::string_view eol, bool anyOf);
    bool HasEOL() const { return !eol_.empty(); }

    // The next complete line, without its end; false when none is complete.
    bool NextLine(std::string_view& line);
    // Everything unread, taken at once.
    std::string_view TakeAll();
    // What a full buffer without a line end hands up: everything but a tail that may be
    // the start of the end-of-line sequence, so a line end cut by the piece still counts.
    std::string_view TakePiece();
    std::size_t Unread() const { return count_; }

    // The free space at the end (compacting first when needed); empty when full.
    std::span<char> FreeSpace();
    void Commit(std::size_t received);

private:
    bool IsDelimiter(char c) const { return eol_.find(c) != std::string::npos; }
    void SkipDelimiterRun();

    std::vector<char> data_;
    std::uint16_t size_ = 0;
    std::size_t start_ = 0;  // first unread byte
    std::size_t count_ = 0;  // unread bytes
    std::string eol_;
    bool anyOf_ = false;
    bool runPending_ = false;  // the last line ended at the end of the data
};

}  // namespace inet
