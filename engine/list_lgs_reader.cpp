// Reader of ".lgs" lists: "[title]" sections, each with a later IURL= picture line and a HURL=
// link line.

#include "engine/list_readers.h"
#include "engine/list_text.h"

namespace engine {
namespace {

// The first line after `from` that begins with prefix, or lines.size() when none does.
std::size_t FindLine(const std::vector<std::string_view>& lines, std::size_t from, std::string_view prefix) {
    for (std::size_t i = from; i < lines.size(); ++i)
        if (lines[i].substr(0, prefix.size()) == prefix) return i;
    return lines.size();
}

bool StartsSection(std::string_view line) { return !line.empty() && line[0] == '[' && line.substr(1, 1) != "$"; }

// The value of an "IURL=..." or "HURL=..." line: its text from the sixth character on.
std::string_view LineValue(std::string_view line) { return line.size() > 5 ? line.substr(5) : std::string_view(); }

}  // namespace

// A section whose IURL= line is missing ends the reading there: the file has no more webcams.
// A section with a picture but no later HURL= line is kept without a link.
int ParseLgsList(std::string_view text, twebcamstaticlist& list) {
    const std::vector<std::string_view> lines = SplitListLines(text);
    TWebcamDefRec rec;
    TWebcamDef1Rec rec2;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!StartsSection(lines[i])) continue;
        StartListEntry(rec, rec2);
        const std::string_view title = lines[i];
        rec.Description.assign(title.size() >= 2 ? title.substr(1, title.size() - 2) : std::string_view());
        const std::size_t picture = FindLine(lines, i + 1, "IURL");
        if (picture == lines.size()) break;
        rec.PictureURL.assign(LineValue(lines[picture]));
        const std::size_t link = FindLine(lines, picture + 1, "HURL");
        if (link < lines.size()) rec.LinkURL.assign(LineValue(lines[link]));
        AppendListEntry(list, rec, rec2);
        i = link < lines.size() ? link : picture;
    }
    return 0;
}

}  // namespace engine
