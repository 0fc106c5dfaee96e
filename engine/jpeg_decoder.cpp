#include "engine/jpeg_decoder.h"

#include "engine/jpeg_picture.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <string>

#include <jerror.h>
#include <jpeglib.h>

namespace engine {
namespace {

struct ErrorManager {
    jpeg_error_mgr pub;       // first, so the library's pointer is ours too
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
    bool prematureEnd;
    Bitmap* target;           // the bitmap being written, once it has the picture's size
};

extern "C" void OnError(j_common_ptr cinfo) {
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

// Warnings are not printed; the one that matters, data ending early, is remembered.
extern "C" void OnMessage(j_common_ptr cinfo, int level) {
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    if (level < 0 && cinfo->err->msg_code == JWRN_JPEG_EOF)
        err->prematureEnd = true;
}

void SetUpErrors(jpeg_decompress_struct& cinfo, ErrorManager& err) {
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = OnError;
    err.pub.emit_message = OnMessage;
    err.message[0] = '\0';
    err.prematureEnd = false;
    err.target = nullptr;
}

void SetOptions(jpeg_decompress_struct& cinfo, const JpegDecodeOptions& options) {
    cinfo.scale_num = 1;
    cinfo.scale_denom = static_cast<unsigned>(options.scaleDenominator);
    cinfo.out_color_space = options.grey ? JCS_GRAYSCALE : JCS_EXT_BGR;
    if (options.fast) {
        cinfo.dct_method = JDCT_IFAST;
        cinfo.do_fancy_upsampling = FALSE;
    }
}

// Outcome of one guarded library call sequence; filled inside the setjmp frame, which holds no
// object with a destructor.
enum class Step { Ok, LibraryError, TooLarge, OutOfMemory };

// Row pointers handed to the library per call: more than it ever returns at once (one row of
// blocks, at most 4 x 8 rows), so each call fills as many rows as it can.
constexpr int kRowsPerCall = 64;

// The library writes straight into the bitmap: its rows are top-down and packed, and the output
// colour space is the bitmap's own B, G, R byte order (or one grey byte).
void ReadRows(jpeg_decompress_struct& cinfo, Bitmap& out) {
    JSAMPROW rows[kRowsPerCall];
    const int height = static_cast<int>(cinfo.output_height);
    while (cinfo.output_scanline < cinfo.output_height) {
        const int first = static_cast<int>(cinfo.output_scanline);
        const int count = std::min(kRowsPerCall, height - first);
        for (int i = 0; i < count; ++i)
            rows[i] = out.row(first + i);
        jpeg_read_scanlines(&cinfo, rows, static_cast<JDIMENSION>(count));
    }
}

Step Decode(jpeg_decompress_struct& cinfo, ErrorManager& err, const std::uint8_t* data, std::size_t size,
            const JpegDecodeOptions& options, Bitmap* out, JpegSize& outSize) {
    if (setjmp(err.jump))
        return Step::LibraryError;
    jpeg_mem_src(&cinfo, data, static_cast<unsigned long>(size));
    jpeg_read_header(&cinfo, TRUE);
    SetOptions(cinfo, options);
    jpeg_calc_output_dimensions(&cinfo);
    outSize.width = static_cast<int>(cinfo.output_width);
    outSize.height = static_cast<int>(cinfo.output_height);
    if (out == nullptr)
        return Step::Ok;
    if (static_cast<std::int64_t>(outSize.width) * outSize.height > kMaxJpegPixels)
        return Step::TooLarge;
    try {
        out->ResizeForOverwrite(outSize.width, outSize.height, options.grey ? 8 : 24);
    } catch (const std::exception&) {
        return Step::OutOfMemory;
    }
    err.target = out;
    jpeg_start_decompress(&cinfo);
    ReadRows(cinfo, *out);
    jpeg_finish_decompress(&cinfo);
    return Step::Ok;
}

// A decode that fails part way leaves black below the last row it wrote, never the pixels of an
// earlier picture in a reused bitmap.
void BlankUnwrittenRows(const jpeg_decompress_struct& cinfo, Bitmap& out) {
    const auto written = static_cast<std::size_t>(cinfo.output_scanline) * out.stride();
    std::fill(out.data() + written, out.data() + out.size(), std::uint8_t{0});
}

bool Run(const std::uint8_t* data, std::size_t size, const JpegDecodeOptions& options, Bitmap* out,
         JpegSize& outSize) {
    if (size == 0)
        throw JpegError("JPEG data is empty");
    jpeg_decompress_struct cinfo;
    ErrorManager err;
    SetUpErrors(cinfo, err);
    jpeg_create_decompress(&cinfo);
    const Step step = Decode(cinfo, err, data, size, options, out, outSize);
    if (step == Step::LibraryError && err.target != nullptr)
        BlankUnwrittenRows(cinfo, *err.target);
    jpeg_destroy_decompress(&cinfo);
    switch (step) {
    case Step::Ok: return err.prematureEnd;
    case Step::LibraryError: throw JpegError(std::string("JPEG error: ") + err.message);
    case Step::TooLarge: throw JpegError("JPEG picture too large");
    case Step::OutOfMemory: throw JpegError("Out of memory for the JPEG picture");
    }
    return false;
}

}  // namespace

JpegSize ReadThumbnailSourceSize(const std::uint8_t* data, std::size_t size) {
    const JpegSize full = ReadJpegSize(data, size, {});
    if (static_cast<std::int64_t>(full.width) * full.height > kMaxThumbnailPixels)
        throw JpegError("Picture too large for a thumbnail");
    return full;
}

JpegSize ReadJpegSize(const std::uint8_t* data, std::size_t size, const JpegDecodeOptions& options) {
    JpegSize result;
    Run(data, size, options, nullptr, result);
    return result;
}

bool DecodeJpeg(const std::uint8_t* data, std::size_t size, const JpegDecodeOptions& options, Bitmap& out) {
    JpegSize result;
    return Run(data, size, options, &out, result);
}

}  // namespace engine
