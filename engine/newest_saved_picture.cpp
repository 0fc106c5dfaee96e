#include "engine/newest_saved_picture.h"

#include "engine/picture_folder.h"
#include "engine/webcam_folder.h"
#include "platform/fd_io.h"
#include "platform/regular_file.h"

#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <optional>

namespace engine {
namespace {

// Own writes whose notice has not been read yet; more than this (notices not read for long)
// only makes the next look a listing.
constexpr std::size_t kMostOwnNames = 64;

FileIdentity IdentityFrom(const struct stat& st) {
    return FileIdentity{st.st_dev, st.st_ino, st.st_size, st.st_mtim.tv_sec, st.st_mtim.tv_nsec};
}

std::string_view BaseName(std::string_view path) {
    const auto slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::optional<FileIdentity> IdentityOf(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
    return IdentityFrom(st);
}

std::optional<FileIdentity> ReadFileWithIdentity(const std::string& path, std::string& bytes) {
    struct stat before {}, after {};
    const int fd = platform::OpenRegularFile(path, kMaxPictureBytes, before);
    if (fd < 0) return std::nullopt;
    bytes.resize(static_cast<std::size_t>(before.st_size));
    bool read = platform::PreadAll(fd, bytes.data(), bytes.size(), 0) && ::fstat(fd, &after) == 0 &&
                IdentityFrom(after) == IdentityFrom(before);
    ::close(fd);
    if (!read) return std::nullopt;
    return IdentityFrom(before);
}

NewestSavedPicture::~NewestSavedPicture() { Unwatch(); }

void NewestSavedPicture::Unwatch() {
    PictureFolderWatch::Instance().Remove(FWatch, *this);
    FWatch = -1;
}

void NewestSavedPicture::List(const std::string& folder) {
    if (folder != FFolder || FWatch < 0) {
        Unwatch();
        // Watched before the listing, so that a change during it is noticed.
        FWatch = PictureFolderWatch::Instance().Add(folder, *this);
    }
    FFolder = folder;
    FChanged = false;
    FOwnNames.clear();
    ++FListings;
    FNewest = {LatestJpegInFolder(folder), {}};
    if (FNewest.Name.empty()) return;
    if (const auto id = IdentityOf(folder + FNewest.Name)) FNewest.Id = *id;
    else FChanged = true;  // gone already: look again next time
}

const SavedPictureFile& NewestSavedPicture::Newest(const std::string& folder) {
    PictureFolderWatch::Instance().Poll();
    // An unwatched folder cannot tell what came in: it is listed every time.
    if (folder != FFolder || FChanged || FWatch < 0) {
        List(folder);
        return FNewest;
    }
    if (FNewest.Name.empty()) return FNewest;
    if (const auto id = IdentityOf(folder + FNewest.Name)) FNewest.Id = *id;
    else List(folder);  // deleted or replaced by a folder
    return FNewest;
}

std::string NewestSavedPicture::NewestPath(const std::string& folder) {
    const SavedPictureFile& newest = Newest(folder);
    return newest.Name.empty() ? std::string() : folder + newest.Name;
}

void NewestSavedPicture::Written(const std::string& folder, const std::string& path,
                                 std::shared_ptr<const MotionBlockSums> reference) {
    if (folder != FFolder || FChanged || FWatch < 0) return;  // the next look lists anyway
    const std::string name(BaseName(path));
    if (FOwnNames.size() < kMostOwnNames) FOwnNames.push_back(name);
    else FChanged = true;
    const int order = FNewest.Name.empty() ? 1 : strcasecmp(name.c_str(), FNewest.Name.c_str());
    if (order < 0) return;  // an older name: the newest stays
    if (order == 0 && name != FNewest.Name) {
        FChanged = true;  // equal but for letter case: the listing decides
        return;
    }
    const auto id = IdentityOf(path);
    if (!id) {
        FChanged = true;
        return;
    }
    FNewest = {name, *id};
    if (reference) KeepMotionReference(std::move(reference));
}

void NewestSavedPicture::Forget() { FChanged = true; }

bool NewestSavedPicture::ReferenceCurrent() const {
    return FReference && !FNewest.Name.empty() && FReferenceFile == FNewest;
}

const MotionBlockSums* NewestSavedPicture::KeptMotionReference(int side) {
    return ReferenceCurrent() && FReference->Side == side ? FReference.get() : nullptr;
}

void NewestSavedPicture::KeepMotionReference(std::shared_ptr<const MotionBlockSums> reference) {
    FReferenceFile = FNewest;
    FReference = std::move(reference);
}

void NewestSavedPicture::Publish(std::optional<std::uint8_t> globalSaveMode) {
    auto published = std::make_shared<PublishedPictures>();
    published->Newest = FNewest;
    if (ReferenceCurrent()) published->Reference = FReference;
    published->GlobalSaveMode = globalSaveMode;
    const std::lock_guard<std::mutex> lock(FPublishedLock);
    FPublished = std::move(published);
}

std::shared_ptr<const PublishedPictures> NewestSavedPicture::Published() const {
    const std::lock_guard<std::mutex> lock(FPublishedLock);
    return FPublished;
}

void NewestSavedPicture::FolderChanged(bool watchEnded) {
    FChanged = true;
    if (watchEnded) FWatch = -1;
}

bool NewestSavedPicture::OwnPictureArrived(std::string_view name) {
    const auto own = std::find(FOwnNames.begin(), FOwnNames.end(), name);
    if (own == FOwnNames.end()) return false;
    FOwnNames.erase(own);
    return true;
}

}  // namespace engine
