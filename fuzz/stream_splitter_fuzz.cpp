// Feeds one input to the frame splitter, whole and in pieces whose size its first byte
// chooses, and checks what the splitter promises: the same pictures and the same rest however
// the stream is cut, every picture a piece of the stream that starts with FF D8 FF, and with a
// small limit nothing taken after the stream overflowed.

#include "engine/frame_splitter.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

void Check(bool condition) {
    if (!condition) __builtin_trap();
}

struct Result {
    std::vector<std::string> frames;
    std::string rest;
    bool overflowed = false;
    bool operator==(const Result&) const = default;
};

Result Split(std::string_view stream, std::size_t piece, std::size_t limit) {
    engine::FrameSplitter splitter(limit);
    Result result;
    std::string frame;
    for (std::size_t at = 0; at < stream.size(); at += piece) {
        splitter.Feed(stream.substr(at, piece));
        while (splitter.Next(frame)) {
            Check(!result.overflowed);
            result.frames.push_back(frame);
        }
        result.overflowed = splitter.Overflowed();
    }
    result.rest = splitter.TakeRest();
    return result;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::size_t piece = data[0] % 64 + 1;
    const std::string_view stream(reinterpret_cast<const char*>(data + 1), size - 1);
    const Result whole = Split(stream, stream.size() + 1, engine::kMaxFrameBytes);
    Check(!whole.overflowed);  // inputs are far below the limit
    Check(Split(stream, piece, engine::kMaxFrameBytes) == whole);
    for (const std::string& frame : whole.frames) {
        Check(frame.size() >= 3 && frame.compare(0, 3, "\xFF\xD8\xFF") == 0);
        Check(stream.find(frame) != std::string_view::npos);
    }
    Check(whole.rest.empty() || (whole.rest.compare(0, 3, "\xFF\xD8\xFF") == 0 && stream.ends_with(whole.rest)));
    const Result small = Split(stream, piece, 64);
    Check(!small.overflowed || small.rest.empty());
    return 0;
}
