#pragma once
// What a webcam knows of its folder's newest saved picture, so that the new-picture step, the
// viewer and the load never list a folder per picture. The folder is listed when this is first
// asked, and again only when something may have changed it behind the keeper's back: a notice
// of the folder watch (a picture copied, moved or deleted by anyone, the folder itself moved or
// removed), another folder asked for, a remembered file that is gone, or Forget. Pictures this
// program writes are recorded as they are written (Written). What it answers is always the file
// that LatestJpegInFolder would name at that moment.
//
// Main thread only (like every new-picture step), but for Published, which the fetch and
// stream threads read; a webcam holds one.

#include "engine/motion_compare.h"
#include "engine/picture_folder_watch.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace engine {

// Which bytes a file holds: a file replaced, rewritten or touched gets another identity.
struct FileIdentity {
    std::uint64_t device = 0, inode = 0;
    std::int64_t size = -1;
    std::int64_t modifiedSeconds = 0, modifiedNanoseconds = 0;
    bool operator==(const FileIdentity&) const = default;
};

struct SavedPictureFile {
    std::string Name;  // without the folder; empty: the folder holds no picture
    FileIdentity Id;
    bool operator==(const SavedPictureFile&) const = default;
};

// The identity of a regular file, or none.
std::optional<FileIdentity> IdentityOf(const std::string& path);
// Reads a whole picture file as ReadPictureFile does and gives the identity of the bytes read
// (none when it cannot be read or changed while it was read).
std::optional<FileIdentity> ReadFileWithIdentity(const std::string& path, std::string& bytes);

// What the fetch and stream threads may know of a webcam's pictures, made by the main thread
// after each new picture and never changed: what they decode and compare ahead is checked by
// the main thread against the state of its own time before it is used.
struct PublishedPictures {
    SavedPictureFile Newest;                  // as the main thread last found it
    std::shared_ptr<const MotionBlockSums> Reference;  // its motion-test sums, when they are kept
    std::optional<std::uint8_t> GlobalSaveMode;  // the save mode of every webcam, when one is set
};

class NewestSavedPicture final : private PictureFolderWatcher {
public:
    NewestSavedPicture() = default;
    ~NewestSavedPicture() override;
    NewestSavedPicture(const NewestSavedPicture&) = delete;
    NewestSavedPicture& operator=(const NewestSavedPicture&) = delete;

    // The newest ".jpg" file of folder (ending in '/') as it is now.
    const SavedPictureFile& Newest(const std::string& folder);
    // The same as a full path; empty when the folder holds no picture.
    std::string NewestPath(const std::string& folder);
    // This program has just written the picture file path (folder + name). reference: its
    // motion-test sums, kept when it is now the newest (KeepMotionReference).
    void Written(const std::string& folder, const std::string& path,
                 std::shared_ptr<const MotionBlockSums> reference = nullptr);
    // Something this program did may have changed the folder: it is listed again next time.
    void Forget();

    // The newest picture decoded and summed for the motion test, kept until that file changes:
    // nullptr when none is kept for the newest file as the last Newest found it, or for blocks
    // of that side.
    const MotionBlockSums* KeptMotionReference(int side);
    // For the newest file as the last Newest found it.
    void KeepMotionReference(std::shared_ptr<const MotionBlockSums> reference);

    // Main thread: publishes what is known now, with the global save mode in force (if any).
    void Publish(std::optional<std::uint8_t> globalSaveMode);
    // Any thread: the last one published; nullptr before the first.
    std::shared_ptr<const PublishedPictures> Published() const;

    // How many times the folder was listed (tests and benchmarks look at it).
    int Listings() const { return FListings; }

private:
    void List(const std::string& folder);
    bool ReferenceCurrent() const;  // FReference is for the newest file
    void Unwatch();
    void FolderChanged(bool watchEnded) override;
    bool OwnPictureArrived(std::string_view name) override;

    std::string FFolder;           // the folder FNewest belongs to; empty: nothing known
    SavedPictureFile FNewest;
    bool FChanged = false;         // a notice says the folder changed
    int FWatch = -1;               // the folder watch's number, -1: not watched
    std::vector<std::string> FOwnNames;  // written here, their notices not seen yet
    SavedPictureFile FReferenceFile;     // the file FReference was decoded from
    std::shared_ptr<const MotionBlockSums> FReference;
    int FListings = 0;
    mutable std::mutex FPublishedLock;  // guards FPublished, held only to copy the pointer
    std::shared_ptr<const PublishedPictures> FPublished;
};

}  // namespace engine
