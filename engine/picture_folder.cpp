#include "engine/picture_folder.h"

#include "engine/folder_files.h"
#include "platform/fd_io.h"
#include "platform/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

namespace engine {

namespace fs = std::filesystem;

bool ReadPictureFile(const std::string& path, std::string& bytes) {
    return platform::ReadRegularFile(path, kMaxPictureBytes, bytes);
}

bool WritePictureFile(const std::string& path, std::string_view bytes) {
    const fs::path target(path);
    // The temporary name does not end in ".jpg", so no listing takes it for a picture.
    std::string temp = (target.parent_path() / ".picture-XXXXXX").string();  // kTemporaryPictureMask
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0)
        return false;
    bool ok = platform::WriteAll(fd, bytes.data(), bytes.size());
    ok = ::fchmod(fd, 0644) == 0 && ok;
    ok = ::close(fd) == 0 && ok;
    if (!ok || ::rename(temp.c_str(), target.c_str()) != 0) {
        ::unlink(temp.c_str());
        return false;
    }
    return true;
}

void RemoveStaleTemporaryPictures(const std::string& folder) { DeleteFilesInFolder(folder, kTemporaryPictureMask); }

}  // namespace engine
