#include "inet/line_buffer.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "inet/engine_errors.h"

namespace inet {

LineBuffer::LineBuffer(std::uint16_t size) { Resize(size); }

int LineBuffer::Resize(std::uint16_t size) {
    size = std::max<std::uint16_t>(size, 1);  // an empty buffer could never make progress
    if (size != size_) {
        try {
            data_.assign(static_cast<std::size_t>(size) + 1, '\0');
        } catch (const std::bad_alloc&) {
            return kErrOutOfMemory;
        }
        size_ = size;
    }
    Clear();
    return 0;
}

void LineBuffer::Clear() {
    start_ = count_ = 0;
    runPending_ = false;
}

int LineBuffer::SetEOL(std::string_view eol, bool anyOf) {
    try {
        eol_.assign(eol);
    } catch (const std::bad_alloc&) {
        return kErrOutOfMemory;
    }
    anyOf_ = anyOf;
    runPending_ = false;
    return 0;
}

void LineBuffer::SkipDelimiterRun() {
    while (count_ > 0 && IsDelimiter(data_[start_])) {
        ++start_;
        --count_;
    }
    runPending_ = count_ == 0;
}

bool LineBuffer::NextLine(std::string_view& line) {
    if (eol_.empty()) return false;
    if (runPending_) SkipDelimiterRun();
    std::string_view unread(data_.data() + start_, count_);
    if (anyOf_) {
        std::size_t end = unread.find_first_of(eol_);
        if (end == std::string_view::npos) return false;
        line = unread.substr(0, end);
        start_ += end;
        count_ -= end;
        SkipDelimiterRun();
        return true;
    }
    std::size_t end = unread.find(eol_);
    if (end == std::string_view::npos) return false;
    line = unread.substr(0, end);
    start_ += end + eol_.size();
    count_ -= end + eol_.size();
    return true;
}

std::string_view LineBuffer::TakeAll() {
    if (runPending_) SkipDelimiterRun();
    std::string_view all(data_.data() + start_, count_);
    start_ += count_;
    count_ = 0;
    return all;
}

std::string_view LineBuffer::TakePiece() {
    std::size_t keep = 0;
    if (!anyOf_) {
        std::string_view unread(data_.data() + start_, count_);
        for (std::size_t n = std::min(eol_.size() - 1, count_ - 1); n > 0 && keep == 0; --n)
            if (unread.substr(count_ - n) == std::string_view(eol_).substr(0, n)) keep = n;
    }
    std::string_view piece(data_.data() + start_, count_ - keep);
    start_ += piece.size();
    count_ -= piece.size();
    return piece;
}

std::span<char> LineBuffer::FreeSpace() {
    if (count_ == 0) start_ = 0;
    if (start_ + count_ == size_ && start_ > 0) {
        std::memmove(data_.data(), data_.data() + start_, count_);
        start_ = 0;
    }
    return {data_.data() + start_ + count_, size_ - start_ - count_};
}

void LineBuffer::Commit(std::size_t received) { count_ += received; }

}  // namespace inet
