// Feeds one input to the disk page's EXIF shortcut as a file's head: the segment it takes must
// lie wholly inside the bytes given, and drawing it (an embedded JPEG or a raw frame) must
// neither crash nor read past them. The whole thumbnail path runs on the same bytes.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "engine/bitmap.h"
#include "ui/disk/disk_thumbnail.h"

namespace {

void Check(bool condition) {
    if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view file(reinterpret_cast<const char*>(data), size);
    const std::string_view head = file.substr(0, ui::kExifHeadBytes);
    const std::string_view segment = ui::ExifSegment(head);
    if (!segment.empty()) {
        Check(ui::IsExifHead(head));
        Check(segment.data() == head.data() + 4 && segment.size() + 4 <= head.size());
        engine::Bitmap picture(68, 54, 24);
        ui::DrawExifPicture(segment, picture);
    }
    static const engine::Bitmap frame(80, 80, 24);
    const ui::DiskThumbnail thumbnail = ui::MakeJpegThumbnailFromBytes(file, {frame, frame, frame});
    Check(thumbnail.bitmap.width() == 80 && thumbnail.bitmap.height() == 80);
    return 0;
}
