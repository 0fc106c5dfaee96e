// Reader of ".dat" lists: a byte file in which every "http://...jpg" address is one webcam.

#include "engine/list_readers.h"
#include "engine/list_text.h"

#include <set>

namespace engine {

int ParseDatList(std::string_view text, twebcamstaticlist& list) {
    constexpr std::size_t kMaxDatUrl = 79;
    std::set<std::string> seen;  // lower-cased; a URL met again is skipped without a count
    for (std::size_t p = text.find("http://"); p != std::string_view::npos; p = text.find("http://", p + 1)) {
        std::string_view url = text.substr(p, 255);
        const std::size_t jpg = url.find(".jpg");
        if (jpg == std::string_view::npos) continue;
        url = url.substr(0, jpg + 4);
        if (url.find('\0') != std::string_view::npos || url.size() > kMaxDatUrl) continue;
        if (!seen.insert(AsciiLower(url)).second) continue;
        TWebcamDefRec rec;
        TWebcamDef1Rec rec2;
        StartListEntry(rec, rec2);
        rec.PictureURL.assign(url);
        AppendListEntry(list, rec, rec2);
    }
    return 0;
}

}  // namespace engine
