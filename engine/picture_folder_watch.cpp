#include "engine/picture_folder_watch.h"

#include <sys/inotify.h>
#include <strings.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace engine {
namespace {

constexpr std::uint32_t kWatchedChanges = IN_CREATE | IN_MOVED_TO | IN_DELETE | IN_MOVED_FROM | IN_CLOSE_WRITE |
                                          IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;

bool IsPictureName(std::string_view name) {
    return name.size() >= 4 && strncasecmp(name.data() + name.size() - 4, ".jpg", 4) == 0;
}

}  // namespace

// Never destroyed: a webcam that outlives static destruction may still let go of its watch.
PictureFolderWatch& PictureFolderWatch::Instance() {
    static PictureFolderWatch* const watch = new PictureFolderWatch;
    return *watch;
}

PictureFolderWatch::PictureFolderWatch() : FFd(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {}

int PictureFolderWatch::Add(const std::string& folder, PictureFolderWatcher& watcher) {
    if (FFd < 0) return -1;
    std::lock_guard lock(FWatchLock);
    const int watch = inotify_add_watch(FFd, folder.c_str(), kWatchedChanges);
    if (watch < 0) return -1;
    std::vector<PictureFolderWatcher*>& watchers = FWatchers[watch];
    if (std::find(watchers.begin(), watchers.end(), &watcher) == watchers.end()) watchers.push_back(&watcher);
    return watch;
}

void PictureFolderWatch::Remove(int watch, PictureFolderWatcher& watcher) {
    if (watch < 0) return;
    std::lock_guard lock(FWatchLock);
    const auto found = FWatchers.find(watch);
    if (found == FWatchers.end()) return;
    std::erase(found->second, &watcher);
    if (!found->second.empty()) return;
    FWatchers.erase(found);
    inotify_rm_watch(FFd, watch);  // its IN_IGNORED notice then names no watcher
}

void PictureFolderWatch::Poll() {
    if (FFd < 0) return;
    std::lock_guard lock(FWatchLock);
    alignas(inotify_event) char buffer[16384];
    for (;;) {
        const ssize_t n = ::read(FFd, buffer, sizeof buffer);
        if (n <= 0) {
            if (n < 0 && errno == EINTR) continue;
            return;  // EAGAIN: nothing more
        }
        for (ssize_t at = 0; at < n;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            const std::string_view name = event->len ? std::string_view(event->name) : std::string_view();
            Dispatch(event->wd, event->mask, name);
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        }
    }
}

// Called under FWatchLock.
void PictureFolderWatch::Dispatch(int watch, std::uint32_t mask, std::string_view name) {
    if (mask & IN_Q_OVERFLOW) {  // notices were lost: every folder may have changed
        for (auto& [number, watchers] : FWatchers)
            for (PictureFolderWatcher* w : watchers) w->FolderChanged(false);
        return;
    }
    if (mask & (IN_IGNORED | IN_DELETE_SELF | IN_MOVE_SELF | IN_UNMOUNT)) {
        EndWatch(watch);
        return;
    }
    if (!IsPictureName(name) || (mask & IN_ISDIR)) return;  // temporary files, header files, folders
    const auto found = FWatchers.find(watch);
    if (found == FWatchers.end()) return;
    for (PictureFolderWatcher* w : found->second)
        if (!((mask & IN_MOVED_TO) && w->OwnPictureArrived(name))) w->FolderChanged(false);
}

// The folder went away or moved: its watchers must look for it again by its path.
void PictureFolderWatch::EndWatch(int watch) {
    const auto found = FWatchers.find(watch);
    if (found == FWatchers.end()) return;
    const std::vector<PictureFolderWatcher*> watchers = std::move(found->second);
    FWatchers.erase(found);
    inotify_rm_watch(FFd, watch);  // a moved folder is still watched under its new name otherwise
    for (PictureFolderWatcher* w : watchers) w->FolderChanged(true);
}

}  // namespace engine
