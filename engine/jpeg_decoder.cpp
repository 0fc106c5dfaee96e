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
    Bitmap* greyTarget;       // the grey one of a decode into both
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
    err.greyTarget = nullptr;
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
enum class Step { Ok, LibraryError, TooLarge, OutOfMemory, NotYCbCr };

// Row pointers handed to the library per call: more than it ever returns at once (one row of
// blocks, at most 4 x 8 rows), so each call fills as many rows as it can.
constexpr int kRowsPerCall = 64;

// The YCbCr to B, G, R conversion of the library (jdcolor.c), in the same 16-bit fixed point
// with the same rounding, so that its results are the library's to the bit.
class YCbCrTables {
public:
    YCbCrTables() {
        constexpr int kBits = 16;
        constexpr std::int32_t kHalf = std::int32_t{1} << (kBits - 1);
        const auto fix = [](double x) { return static_cast<std::int32_t>(x * (1 << kBits) + 0.5); };
        for (int i = 0; i < 256; ++i) {
            const std::int32_t x = i - 128;
            crR_[i] = (fix(1.40200) * x + kHalf) >> kBits;
            cbB_[i] = (fix(1.77200) * x + kHalf) >> kBits;
            crG_[i] = -fix(0.71414) * x;
            cbG_[i] = -fix(0.34414) * x + kHalf;
        }
    }
    // One row: Y, Cb, Cr triples in, B, G, R triples out in place, and Y into grey.
    void ConvertRow(std::uint8_t* pixels, std::uint8_t* grey, int width) const {
        for (int x = 0; x < width; ++x, pixels += 3) {
            const int y = pixels[0], cb = pixels[1], cr = pixels[2];
            grey[x] = static_cast<std::uint8_t>(y);
            pixels[0] = Clamp(y + cbB_[cb]);
            pixels[1] = Clamp(y + ((cbG_[cb] + crG_[cr]) >> 16));
            pixels[2] = Clamp(y + crR_[cr]);
        }
    }

private:
    static std::uint8_t Clamp(int v) { return static_cast<std::uint8_t>(std::clamp(v, 0, 255)); }
    std::int32_t crR_[256], cbB_[256], crG_[256], cbG_[256];
};

const YCbCrTables& Tables() {
    static const YCbCrTables tables;
    return tables;
}

// The library writes straight into the bitmap: its rows are top-down and packed, and the output
// colour space is the bitmap's own B, G, R byte order (or one grey byte). With grey, it writes
// Y, Cb, Cr, and each batch of rows is then split into colour (in place) and grey.
void ReadRows(jpeg_decompress_struct& cinfo, Bitmap& out, Bitmap* grey = nullptr) {
    JSAMPROW rows[kRowsPerCall];
    const int height = static_cast<int>(cinfo.output_height);
    while (cinfo.output_scanline < cinfo.output_height) {
        const int first = static_cast<int>(cinfo.output_scanline);
        const int count = std::min(kRowsPerCall, height - first);
        for (int i = 0; i < count; ++i)
            rows[i] = out.row(first + i);
        const auto read = static_cast<int>(jpeg_read_scanlines(&cinfo, rows, static_cast<JDIMENSION>(count)));
        for (int i = 0; grey != nullptr && i < read; ++i)
            Tables().ConvertRow(out.row(first + i), grey->row(first + i), out.width());
    }
}

// grey: also the grey decode, from the same pass (a YCbCr picture only, else NotYCbCr).
Step Decode(jpeg_decompress_struct& cinfo, ErrorManager& err, const std::uint8_t* data, std::size_t size,
            const JpegDecodeOptions& options, Bitmap* out, JpegSize& outSize, Bitmap* grey = nullptr) {
    if (setjmp(err.jump))
        return Step::LibraryError;
    jpeg_mem_src(&cinfo, data, static_cast<unsigned long>(size));
    jpeg_read_header(&cinfo, TRUE);
    if (grey != nullptr && (cinfo.jpeg_color_space != JCS_YCbCr || cinfo.num_components != 3))
        return Step::NotYCbCr;
    SetOptions(cinfo, options);
    if (grey != nullptr)
        cinfo.out_color_space = JCS_YCbCr;
    jpeg_calc_output_dimensions(&cinfo);
    outSize.width = static_cast<int>(cinfo.output_width);
    outSize.height = static_cast<int>(cinfo.output_height);
    if (out == nullptr)
        return Step::Ok;
    if (static_cast<std::int64_t>(outSize.width) * outSize.height > kMaxJpegPixels)
        return Step::TooLarge;
    try {
        out->ResizeForOverwrite(outSize.width, outSize.height, options.grey && !grey ? 8 : 24);
        if (grey != nullptr)
            grey->ResizeForOverwrite(outSize.width, outSize.height, 8);
    } catch (const std::exception&) {
        return Step::OutOfMemory;
    }
    err.target = out;
    err.greyTarget = grey;
    jpeg_start_decompress(&cinfo);
    ReadRows(cinfo, *out, grey);
    jpeg_finish_decompress(&cinfo);
    return Step::Ok;
}

// A decode that fails part way leaves black below the last row it wrote, never the pixels of an
// earlier picture in a reused bitmap.
void BlankUnwrittenRows(const jpeg_decompress_struct& cinfo, Bitmap& out) {
    const auto written = static_cast<std::size_t>(cinfo.output_scanline) * out.stride();
    std::fill(out.data() + written, out.data() + out.size(), std::uint8_t{0});
}

// With grey, the decode into both; false with nothing decoded for a picture that is not YCbCr.
bool Run(const std::uint8_t* data, std::size_t size, const JpegDecodeOptions& options, Bitmap* out,
         JpegSize& outSize, Bitmap* grey = nullptr, bool* split = nullptr) {
    if (size == 0)
        throw JpegError("JPEG data is empty");
    jpeg_decompress_struct cinfo;
    ErrorManager err;
    SetUpErrors(cinfo, err);
    jpeg_create_decompress(&cinfo);
    const Step step = Decode(cinfo, err, data, size, options, out, outSize, grey);
    if (step == Step::LibraryError && err.target != nullptr)
        BlankUnwrittenRows(cinfo, *err.target);
    if (step == Step::LibraryError && err.greyTarget != nullptr)
        BlankUnwrittenRows(cinfo, *err.greyTarget);
    jpeg_destroy_decompress(&cinfo);
    if (split != nullptr)
        *split = step != Step::NotYCbCr;
    switch (step) {
    case Step::NotYCbCr:
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

std::optional<bool> DecodeJpegColourAndGrey(const std::uint8_t* data, std::size_t size,
                                            const JpegDecodeOptions& options, Bitmap& colour, Bitmap& grey) {
    JpegSize result;
    JpegDecodeOptions colourOptions = options;
    colourOptions.grey = false;
    bool split = false;
    const bool prematureEnd = Run(data, size, colourOptions, &colour, result, &grey, &split);
    if (!split)
        return std::nullopt;
    return prematureEnd;
}

}  // namespace engine
