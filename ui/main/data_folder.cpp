#include "ui/main/data_folder.h"

#include <sys/stat.h>
#include <unistd.h>

#include "platform/program_dir.h"

namespace ui {
namespace {

bool IsFolder(const std::string& path) {
    struct stat st {};
    return !path.empty() && stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

SettledDataFolder SettleDataFolder(const std::string& stored, const std::string& programFolder) {
    SettledDataFolder result;
    std::string folder = IsFolder(stored) ? stored : programFolder;
    folder = platform::WithTrailingSlash(folder);
    if (folder.size() > kDataFolderField) {
        result.refused = folder;
        const std::string fallback = platform::WithTrailingSlash(programFolder);
        folder = fallback.size() > kDataFolderField || fallback == result.refused ? std::string() : fallback;
    }
    if (folder.empty() || chdir(folder.c_str()) != 0) return result;
    result.folder = folder;
    return result;
}

std::string DataFolderTooLongText(const std::string& refused) {
    return "Le chemin du dossier des webcams dépasse 255 caractères ; le dossier du programme est "
           "utilisé à sa place :\n" +
           refused;
}

}  // namespace ui
