#include "tests/engine/jpeg_test_pictures.h"

#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

namespace testpictures {

engine::Bitmap MakeBitmap(int width, int height, const std::function<std::uint32_t(int, int)>& colour) {
    engine::Bitmap b(width, height, 24);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const std::uint32_t c = colour(x, y);
            std::uint8_t* p = b.row(y) + 3 * x;
            p[0] = static_cast<std::uint8_t>(c >> 16);
            p[1] = static_cast<std::uint8_t>(c >> 8);
            p[2] = static_cast<std::uint8_t>(c);
        }
    return b;
}

engine::Bitmap MakeGrey(int width, int height, const std::function<std::uint8_t(int, int)>& grey) {
    engine::Bitmap b(width, height, 8);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            b.row(y)[x] = grey(x, y);
    return b;
}

namespace {

// Encodes with the library's defaults at `quality`; `adjust` changes the settings just before
// compression starts.
std::string Encode(const engine::Bitmap& bitmap, int quality, bool jfif,
                   const std::function<void(jpeg_compress_struct&)>& adjust) {
    jpeg_compress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = static_cast<JDIMENSION>(bitmap.width());
    cinfo.image_height = static_cast<JDIMENSION>(bitmap.height());
    const bool grey = bitmap.bitsPerPixel() == 8;
    cinfo.input_components = grey ? 1 : 3;
    cinfo.in_color_space = grey ? JCS_GRAYSCALE : JCS_EXT_BGR;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    cinfo.write_JFIF_header = jfif ? TRUE : FALSE;
    adjust(cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(bitmap.row(static_cast<int>(cinfo.next_scanline)));
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::string bytes(reinterpret_cast<char*>(buffer), size);
    std::free(buffer);
    return bytes;
}

}  // namespace

std::string EncodeJpeg(const engine::Bitmap& bitmap, int quality, bool jfif) {
    return Encode(bitmap, quality, jfif, [](jpeg_compress_struct&) {});
}

std::string EncodeJpeg(const engine::Bitmap& bitmap, const JpegLayout& layout) {
    return Encode(bitmap, layout.quality, true, [&layout](jpeg_compress_struct& cinfo) {
        if (cinfo.num_components == 3) {
            cinfo.comp_info[0].h_samp_factor = layout.chromaColumns;
            cinfo.comp_info[0].v_samp_factor = layout.chromaRows;
        }
        if (layout.progressive)
            jpeg_simple_progression(&cinfo);
    });
}

std::string WithClaimedSize(std::string jpeg, int width, int height) {
    const std::size_t sof = jpeg.find("\xFF\xC0");
    if (sof == std::string::npos || sof + 9 > jpeg.size()) return jpeg;
    jpeg[sof + 5] = static_cast<char>(height >> 8);
    jpeg[sof + 6] = static_cast<char>(height & 0xFF);
    jpeg[sof + 7] = static_cast<char>(width >> 8);
    jpeg[sof + 8] = static_cast<char>(width & 0xFF);
    return jpeg;
}

std::string SquaresPicture(int squares) {
    return EncodeJpeg(MakeGrey(320, 240, [squares](int x, int y) {
        const int bx = x / 16, by = y / 16;
        const bool inside = x % 16 > 3 && y % 16 > 3;
        return static_cast<std::uint8_t>(inside && by == 3 && bx >= 1 && bx <= squares ? 250 : 60);
    }));
}

}  // namespace testpictures
