#include "ui/commands/webcam_folder_removal.h"

#include "engine/folder_files.h"
#include "engine/picture_folder.h"
#include "platform/safe_name.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace ui {

bool RemoveWebcamFolder(const std::string& dataFolder, std::string_view name) {
    const std::string folder = platform::SafeSubfolder(dataFolder, name);
    if (folder.empty()) return false;
    const std::string path = folder.substr(0, folder.size() - 1);
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) return errno == ENOENT;
    // A link would lead the deletes out of the data folder.
    if (!S_ISDIR(info.st_mode)) return false;
    // The pictures (stream frames too), header.txt with header.new and header.pxt, the extra
    // request lines and the temporary files of saves cut off: everything the program itself
    // puts there.
    for (const char* mask : {"*.jpg", "header.*", "addhead.txt", engine::kTemporaryPictureMask})
        engine::DeleteFilesInFolder(folder, mask);
    return ::rmdir(path.c_str()) == 0;
}

}  // namespace ui
