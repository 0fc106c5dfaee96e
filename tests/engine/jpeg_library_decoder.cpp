#include "tests/engine/jpeg_library_decoder.h"

#include <stdexcept>

#include <jerror.h>

namespace testpictures {

LibraryDecoder::LibraryDecoder() {
    cinfo_.err = jpeg_std_error(&errors_.pub);
    errors_.pub.emit_message = OnMessage;
    jpeg_create_decompress(&cinfo_);
}

LibraryDecoder::~LibraryDecoder() {
    jpeg_destroy_decompress(&cinfo_);
}

void LibraryDecoder::OnMessage(j_common_ptr cinfo, int level) {
    if (level < 0 && cinfo->err->msg_code == JWRN_JPEG_EOF)
        reinterpret_cast<Errors*>(cinfo->err)->prematureEnd = true;
}

LibraryDecoder::Result LibraryDecoder::Decode(const std::string& bytes, const engine::JpegDecodeOptions& options,
                                              unsigned char* out, std::size_t capacity) {
    errors_.prematureEnd = false;
    jpeg_mem_src(&cinfo_, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
    jpeg_read_header(&cinfo_, TRUE);
    cinfo_.scale_num = 1;
    cinfo_.scale_denom = static_cast<unsigned>(options.scaleDenominator);
    cinfo_.out_color_space = options.grey ? JCS_GRAYSCALE : JCS_EXT_BGR;
    if (options.fast) {
        cinfo_.dct_method = JDCT_IFAST;
        cinfo_.do_fancy_upsampling = FALSE;
    }
    jpeg_calc_output_dimensions(&cinfo_);
    const std::size_t stride = static_cast<std::size_t>(cinfo_.output_width) * cinfo_.output_components;
    if (stride * cinfo_.output_height > capacity) {
        jpeg_abort_decompress(&cinfo_);
        throw std::length_error("the decoded picture does not fit");
    }
    jpeg_start_decompress(&cinfo_);
    rows_.resize(cinfo_.output_height);
    for (JDIMENSION y = 0; y < cinfo_.output_height; ++y)
        rows_[y] = out + y * stride;
    while (cinfo_.output_scanline < cinfo_.output_height)
        jpeg_read_scanlines(&cinfo_, rows_.data() + cinfo_.output_scanline, cinfo_.output_height - cinfo_.output_scanline);
    Result result{static_cast<int>(cinfo_.output_width), static_cast<int>(cinfo_.output_height),
                  cinfo_.output_components};
    jpeg_finish_decompress(&cinfo_);
    result.prematureEnd = errors_.prematureEnd;
    return result;
}

}  // namespace testpictures
