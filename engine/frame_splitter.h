#pragma once
// Cuts the JPEG pictures out of a streaming webcam's bytes, whatever wraps them: the parts of
// a multipart reply (with or without a first boundary, part lengths or part headers) or raw
// pictures sent back to back. It sees the stream as one sequence of bytes, so a picture may be
// split across chunks anywhere and a chunk may hold several pictures.
//
// A picture starts at FF D8 FF and is followed segment by segment by its lengths up to its
// end-of-image marker, so a picture inside a segment (the thumbnail of an EXIF block) is never
// taken for the start of a new one. A picture whose structure breaks, or which never ends,
// runs up to the next picture start instead. Bytes between pictures are dropped.
//
// Pure: no threads, no sockets.

#include <cstddef>
#include <string>
#include <string_view>

namespace engine {

// The most bytes a picture, or the bytes before one, may take: past it the stream holds no
// picture the splitter can cut out.
inline constexpr std::size_t kMaxFrameBytes = 4u << 20;

class FrameSplitter {
public:
    explicit FrameSplitter(std::size_t limit = kMaxFrameBytes) : limit_(limit) {}

    // Adds the next bytes of the stream. Ignored once Overflowed.
    void Feed(std::string_view bytes);
    // Takes the next complete picture; false when the bytes fed so far hold none.
    bool Next(std::string& frame);
    // More than the limit has come without a complete picture (seen by Next). The buffer is
    // dropped and nothing more is taken until Clear.
    bool Overflowed() const { return overflowed_; }
    // At the end of the stream, once Next answered false: the picture begun and not ended,
    // empty when none was begun. The splitter starts afresh.
    std::string TakeRest();
    void Clear();

private:
    enum class State {
        Seek,          // before a picture: looking for its start
        Marker,        // a marker is due at pos_ (or a segment's data runs up to it)
        Entropy,       // in compressed data, which ends at the next marker
        Unstructured,  // the structure broke: the picture runs to the next picture start
    };

    bool Seek();
    // One step of a begun picture; false when more bytes are needed. A completed picture
    // (its length in end) ends the step too.
    bool Step(std::size_t& end);
    void Cut(std::size_t end, std::string& frame);
    void CheckLimit();

    const std::size_t limit_;
    std::string buffer_;        // Seek: unexamined bytes; otherwise the picture from its start
    std::size_t pos_ = 0;       // the next byte to examine in buffer_
    std::size_t dropped_ = 0;   // bytes dropped since the last picture started or ended
    State state_ = State::Seek;
    bool overflowed_ = false;
};

}  // namespace engine
