#pragma once
// Notices of changes to watched webcam folders, so that what a webcam knows of its folder (its
// newest saved picture) is looked up again only when something may have changed it. One inotify
// instance serves the whole process; it is read without blocking whenever a keeper asks (Poll),
// so no thread and no event loop is involved.

#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace engine {

// The keeper of one watched folder's knowledge.
class PictureFolderWatcher {
public:
    virtual ~PictureFolderWatcher() = default;
    // Something in the folder changed that the keeper did not do itself. watchEnded: the folder
    // itself went away or moved, or the notices overflowed; the keeper must watch it again.
    virtual void FolderChanged(bool watchEnded) = 0;
    // A ".jpg" file was moved into the folder; true when it is one the keeper wrote itself (then
    // nothing else happens).
    virtual bool OwnPictureArrived(std::string_view name) = 0;
};

class PictureFolderWatch {
public:
    static PictureFolderWatch& Instance();

    // Starts watching folder for watcher. Returns the watch number, or -1 when the folder cannot
    // be watched (it does not exist, or the system's limits are reached): the keeper must then
    // look at the folder itself every time.
    int Add(const std::string& folder, PictureFolderWatcher& watcher);
    // Stops telling watcher about the folder of that watch number.
    void Remove(int watch, PictureFolderWatcher& watcher);
    // Reads every notice received so far and tells the watchers concerned.
    void Poll();

private:
    PictureFolderWatch();
    void Dispatch(int watch, std::uint32_t mask, std::string_view name);
    void EndWatch(int watch);

    int FFd = -1;
    std::mutex FWatchLock;  // guards FWatchers and the reading of FFd
    std::unordered_map<int, std::vector<PictureFolderWatcher*>> FWatchers;
};

}  // namespace engine
