#include "engine/list_import.h"

#include "engine/list_readers.h"
#include "engine/list_text.h"
#include "platform/safe_name.h"

namespace engine {

ListFormat ListFormatOf(std::string_view fileName) {
    const std::string ext = AsciiLower(fileName.substr(fileName.size() < 4 ? 0 : fileName.size() - 4));
    if (ext == ".jcc") return ListFormat::Jcc;
    if (ext == ".dat") return ListFormat::Dat;
    if (ext == ".lgs") return ListFormat::Lgs;
    return ListFormat::Own;
}

int ParseWebcamList(ListFormat format, std::string_view text, twebcamstaticlist& list) {
    switch (format) {
        case ListFormat::Jcc: return ParseJccList(text, list);
        case ListFormat::Dat: return ParseDatList(text, list);
        case ListFormat::Lgs: return ParseLgsList(text, list);
        case ListFormat::Own: break;
    }
    return ParseOwnList(text, list);
}

int ImportWebcamList(twebcamstaticlist& list, const std::string& fileName) {
    return ParseWebcamList(ListFormatOf(fileName), ReadListFile(fileName), list);
}

int ImportOwnListFormat(twebcamstaticlist& list, const std::string& fileName) {
    return ParseOwnList(ReadListFile(fileName), list);
}
int ImportJccList(twebcamstaticlist& list, const std::string& fileName) {
    return ParseJccList(ReadListFile(fileName), list);
}
int ImportDatList(twebcamstaticlist& list, const std::string& fileName) {
    return ParseDatList(ReadListFile(fileName), list);
}
int ImportLgsList(twebcamstaticlist& list, const std::string& fileName) {
    return ParseLgsList(ReadListFile(fileName), list);
}

void AppendListEntry(twebcamstaticlist& list, const TWebcamDefRec& rec, const TWebcamDef1Rec& rec2,
                     std::optional<std::vector<std::string>> headerLines) {
    if (rec.PictureURL.empty()) return;
    twebcamstaticobject& item = list.emplace_back();
    item.FRec = rec;
    item.FRec2 = rec2;
    if (!item.FRec.Name.empty() && !platform::IsSafeFolderName(item.FRec.Name.view())) item.FRec.Name.assign("");
    item.FHeaderLines = std::move(headerLines);
    item.FPosition = static_cast<int>(list.size()) - 1;
}

void StartListEntry(TWebcamDefRec& rec, TWebcamDef1Rec& rec2) {
    rec = ZeroRecord<TWebcamDefRec>();
    rec2 = ZeroRecord<TWebcamDef1Rec>();
    rec.Refresh = -1;
}

}  // namespace engine
