// Reader of ".jcc" lists: one webcam per line that holds a "http://" address, with an optional
// NAME= description on the same line.

#include "engine/list_readers.h"
#include "engine/list_text.h"

namespace engine {
namespace {

constexpr std::string_view kHttp = "http://";
constexpr std::size_t kMaxJccUrl = 79;

// The text after NAME= up to WEB=; when it is quoted, what stands between the first two quotes.
std::string_view JccDescription(std::string_view line) {
    const std::size_t name = line.find("NAME=");
    if (name == std::string_view::npos) return {};
    std::string_view text = line.substr(name + 5, 255);
    text = text.substr(0, text.find("WEB="));
    const std::size_t quote = text.find('"');
    if (quote == std::string_view::npos) return text;
    text.remove_prefix(quote + 1);
    return text.substr(0, text.find('"'));
}

}  // namespace

int ParseJccList(std::string_view text, twebcamstaticlist& list) {
    TWebcamDefRec rec;
    TWebcamDef1Rec rec2;
    for (std::string_view line : SplitListLines(text)) {
        const std::size_t http = line.find(kHttp);
        if (http == std::string_view::npos) continue;
        StartListEntry(rec, rec2);
        std::string_view url = line.substr(http);
        const std::size_t jpg = url.find(".jpg");
        if (jpg != std::string_view::npos) url = url.substr(0, jpg + 4);
        if (url.find('\0') != std::string_view::npos || url.size() > kMaxJccUrl) continue;
        rec.PictureURL.assign(url);
        rec.Description.assign(JccDescription(line));
        AppendListEntry(list, rec, rec2);
    }
    return 0;
}

}  // namespace engine
