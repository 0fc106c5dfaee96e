#include "engine/frame_splitter.h"

#include <algorithm>
#include <cstring>

namespace engine {
namespace {

constexpr unsigned char kMarker = 0xFF;
constexpr unsigned char kStartOfImage = 0xD8;
constexpr unsigned char kEndOfImage = 0xD9;
constexpr unsigned char kStartOfScan = 0xDA;
constexpr unsigned char kStuffed = 0x00;  // FF 00 inside compressed data stands for the byte FF

constexpr std::size_t kNone = std::string::npos;

unsigned char At(const std::string& bytes, std::size_t i) { return static_cast<unsigned char>(bytes[i]); }

bool RestartMarker(unsigned char m) { return m >= 0xD0 && m <= 0xD7; }

// Markers without a length: TEM and the restart markers.
bool StandAlone(unsigned char m) { return m == 0x01 || RestartMarker(m); }

// The first byte FF at or after from; kNone when there is none.
std::size_t FindMarkerByte(const std::string& bytes, std::size_t from) {
    if (from >= bytes.size()) return kNone;
    const void* found = std::memchr(bytes.data() + from, kMarker, bytes.size() - from);
    return found ? static_cast<std::size_t>(static_cast<const char*>(found) - bytes.data()) : kNone;
}

// The first picture start FF D8 FF at or after from; kNone when there is none yet (one cut off
// at the end counts as none).
std::size_t FindFrameStart(const std::string& bytes, std::size_t from) {
    for (std::size_t i = FindMarkerByte(bytes, from); i != kNone && i + 3 <= bytes.size();
         i = FindMarkerByte(bytes, i + 1))
        if (At(bytes, i + 1) == kStartOfImage && At(bytes, i + 2) == kMarker) return i;
    return kNone;
}

}  // namespace

void FrameSplitter::Feed(std::string_view bytes) {
    if (!overflowed_) buffer_.append(bytes);
}

bool FrameSplitter::Next(std::string& frame) {
    if (!overflowed_ && (state_ != State::Seek || Seek())) {
        std::size_t end = 0;
        while (Step(end)) {
            if (end != 0) {
                Cut(end, frame);
                return true;
            }
        }
    }
    CheckLimit();
    return false;
}

std::string FrameSplitter::TakeRest() {
    std::string rest;
    if (state_ != State::Seek && !overflowed_) rest = std::move(buffer_);
    Clear();
    return rest;
}

void FrameSplitter::Clear() {
    buffer_.clear();
    pos_ = 0;
    dropped_ = 0;
    state_ = State::Seek;
    overflowed_ = false;
}

bool FrameSplitter::Seek() {
    const std::size_t start = FindFrameStart(buffer_, 0);
    if (start == kNone) {
        // The last two bytes stay: they may begin a picture start.
        const std::size_t drop = buffer_.size() > 2 ? buffer_.size() - 2 : 0;
        buffer_.erase(0, drop);
        dropped_ += drop;
        return false;
    }
    buffer_.erase(0, start);
    dropped_ = 0;
    pos_ = 2;
    state_ = State::Marker;
    return true;
}

bool FrameSplitter::Step(std::size_t& end) {
    const std::size_t size = buffer_.size();
    switch (state_) {
    case State::Marker: {
        if (pos_ + 2 > size) return false;
        const unsigned char m = At(buffer_, pos_ + 1);
        if (At(buffer_, pos_) != kMarker || m == kStuffed || m == kStartOfImage) {
            state_ = State::Unstructured;
        } else if (m == kMarker) {
            ++pos_;  // a fill byte before the marker
        } else if (m == kEndOfImage) {
            end = pos_ + 2;
        } else if (StandAlone(m)) {
            pos_ += 2;
        } else {
            if (pos_ + 4 > size) return false;
            const std::size_t length = static_cast<std::size_t>(At(buffer_, pos_ + 2)) << 8 | At(buffer_, pos_ + 3);
            if (length < 2) {
                state_ = State::Unstructured;
                return true;
            }
            // The segment's data is skipped whole, whatever it holds; a scan's compressed data
            // follows its header.
            pos_ += 2 + length;
            if (m == kStartOfScan) state_ = State::Entropy;
        }
        return true;
    }
    case State::Entropy: {
        const std::size_t i = FindMarkerByte(buffer_, pos_);
        if (i == kNone || i + 1 >= size) {
            pos_ = i == kNone ? std::max(pos_, size) : i;
            return false;
        }
        const unsigned char m = At(buffer_, i + 1);
        if (m == kStuffed || RestartMarker(m)) {
            pos_ = i + 2;
        } else {
            pos_ = i;
            state_ = State::Marker;
        }
        return true;
    }
    case State::Unstructured: {
        const std::size_t next = FindFrameStart(buffer_, pos_);
        if (next == kNone) {
            pos_ = std::max(pos_, size > 2 ? size - 2 : 0);
            return false;
        }
        if (next < 3) {
            // FF D8 FF D8 FF: the first start holds nothing; the picture begins at the second.
            buffer_.erase(0, next);
            pos_ = 2;
            state_ = State::Marker;
        } else {
            end = next;
        }
        return true;
    }
    case State::Seek:
        break;
    }
    return false;
}

void FrameSplitter::Cut(std::size_t end, std::string& frame) {
    frame.assign(buffer_, 0, end);
    buffer_.erase(0, end);
    pos_ = 0;
    dropped_ = 0;
    state_ = State::Seek;
}

void FrameSplitter::CheckLimit() {
    if (dropped_ + buffer_.size() <= limit_) return;
    overflowed_ = true;
    buffer_.clear();
    buffer_.shrink_to_fit();
}

}  // namespace engine
