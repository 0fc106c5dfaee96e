#include "saver/saver_list.h"

#include "engine/definition_files.h"
#include "engine/webcam_folder.h"
#include "platform/safe_name.h"
#include "ui/saverlist/saver_list_file.h"

#include <algorithm>

namespace saver {

std::vector<std::string> SavedPictureNames(const std::string& dataDir, const engine::TWebcamDefRec& rec) {
    const std::string folder = platform::SafeSubfolder(dataDir, rec.Name.view());
    if (folder.empty()) return {};
    return engine::JpegNamesInFolder(folder);
}

int CountSavedPictures(const std::string& dataDir, engine::TWebcamDefRec& rec) {
    const int count = std::min<int>(static_cast<int>(SavedPictureNames(dataDir, rec).size()), kMaxSavedCount);
    rec.SavedCount = static_cast<std::uint8_t>(count);
    return count;
}

std::vector<engine::tsdo> BuildSaverList(const std::string& dataDir, const engine::TExtra1Rec& settings) {
    std::vector<engine::tsdo> list;
    for (engine::tsdo& item : ui::ReadSaverListRecords(dataDir + engine::kWebcamsDef, ui::IoErrors::Raise)) {
        engine::TWebcamDefRec& rec = item.FRec;
        // An unused record: its empty name would count the data folder's own pictures.
        if (rec.PictureURL.empty()) continue;
        if (settings.SaverListOnly != 0 && rec.InSaverList == 0) continue;
        CountSavedPictures(dataDir, rec);
        if (settings.SaverSavedOnly == 1 && rec.SavedCount == 0) continue;
        list.push_back(item);
    }
    return list;
}

}  // namespace saver
