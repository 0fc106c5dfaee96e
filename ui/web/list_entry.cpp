#include "ui/web/list_entry.h"

#include "engine/definition_files.h"
#include "engine/list_text.h"
#include "engine/webcam_manager.h"
#include "platform/safe_name.h"

#include <algorithm>
#include <filesystem>
#include <string>
#include <string_view>

namespace ui {
namespace {

// Without the characters below code 33 at either end.
std::string_view Trimmed(std::string_view text) {
    const auto blank = [](char c) { return static_cast<unsigned char>(c) < 33; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

// A description of one word that may name a folder (or prefix a file name).
bool OneSafeWord(std::string_view word) {
    return word.find(' ') == std::string_view::npos && platform::IsSafeFolderName(word);
}

bool FolderExists(const std::string& dataFolder, std::string_view name) {
    const std::string folder = platform::SafeSubfolder(dataFolder, name);
    std::error_code ec;
    return !folder.empty() && std::filesystem::exists(folder, ec);
}

}  // namespace

int AddListEntry(engine::twebcammanager& manager, const engine::twebcamstaticobject& entry,
                 const AutoCreateSettings& settings) {
    const engine::TWebcamDefRec& from = entry.FRec;
    auto rec = engine::ZeroRecord<engine::TWebcamDefRec>();
    manager.InitNewWebcamRecord(rec);
    rec.PictureURL = from.PictureURL.view();
    rec.LinkURL = from.LinkURL.view();
    rec.Description = from.Description.view();
    rec.Refresh = from.Refresh == -1 ? settings.extra1.AutoRefresh : from.Refresh;
    rec.SaveMode = settings.extra1.AutoSaveMode;
    rec.HeadCheck = static_cast<std::uint8_t>(settings.diskMan.NoIfModifiedSince & 0xFF);
    rec.Enabled = 1;
    rec.SendLogin = from.SendLogin;
    rec.UserName = from.UserName.view();
    rec.Password = from.Password.view();
    rec.WebcamType = from.WebcamType;
    std::copy(std::begin(from.Categories) + 1, std::end(from.Categories), std::begin(rec.Categories) + 1);
    if (!from.Name.empty()) rec.Name = from.Name.view();

    const std::string& dataFolder = manager.FDataFolder;
    const std::string_view description = Trimmed(from.Description.view());
    if (settings.extra1.OneWordNames != 0 && engine::AsciiLower(rec.Name.view().substr(0, 3)) == "cam" &&
        OneSafeWord(description) && !FolderExists(dataFolder, description))
        rec.Name = description;
    if (FolderExists(dataFolder, rec.Name.view()))
        rec.Name = engine::DefaultWebcamName(manager.NextFreeCamNumber());

    engine::TWebcamDef1Rec rec2 = entry.FRec2;
    const bool digits = std::any_of(description.begin(), description.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (settings.diskMan.OneWordPrefix != 0 && OneSafeWord(description) && !digits) rec2.FilePrefix = description;
    return manager.AddWebcam(rec, rec2, entry.FHeaderLines);
}

}  // namespace ui
