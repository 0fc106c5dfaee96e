// Feeds one input to every webcam-list reader and checks what the readers promise about it:
// every webcam has a picture URL, a safe folder name or none, extra request lines without
// control characters, a refresh of -1 or more, and its list position; and each webcam written
// back in our own format reads again without an error.

#include "engine/list_import.h"
#include "engine/list_writer.h"
#include "platform/safe_name.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

void Check(bool condition) {
    if (!condition) __builtin_trap();
}

bool HasControlCharacter(std::string_view text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return true;
    return false;
}

void CheckList(const engine::twebcamstaticlist& list) {
    for (std::size_t i = 0; i < list.size(); ++i) {
        const engine::twebcamstaticobject& item = list[i];
        Check(item.FPosition == static_cast<int>(i));
        Check(!item.FRec.PictureURL.empty());
        Check(item.FRec.Name.empty() || platform::IsSafeFolderName(item.FRec.Name.view()));
        Check(item.FRec.Refresh >= -1);
        if (item.FHeaderLines) {
            Check(!item.FHeaderLines->empty());
            for (const std::string& line : *item.FHeaderLines) Check(!HasControlCharacter(line));
        }
        engine::twebcamstaticlist again;
        const std::string block = engine::FormatListBlock(item.FRec, item.FRec2, item.FHeaderLines.value_or(std::vector<std::string>{}));
        Check(engine::ParseWebcamList(engine::ListFormat::Own, block, again) == 0);
        Check(again.size() <= 1);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (engine::ListFormat format : {engine::ListFormat::Own, engine::ListFormat::Jcc, engine::ListFormat::Dat,
                                      engine::ListFormat::Lgs}) {
        engine::twebcamstaticlist list;
        const int errors = engine::ParseWebcamList(format, text, list);
        Check(errors >= 0 && (format == engine::ListFormat::Own || errors == 0));
        CheckList(list);
    }
    return 0;
}
