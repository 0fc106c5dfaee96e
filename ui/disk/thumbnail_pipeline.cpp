#include "ui/disk/thumbnail_pipeline.h"

#include <algorithm>
#include <thread>

namespace ui {

ThumbnailPipeline::ThumbnailPipeline(std::vector<std::string> paths, const ThumbnailFrames& frames,
                                     std::size_t ahead)
    : paths_(std::move(paths)), frames_(frames), ahead_(std::max<std::size_t>(1, ahead)) {
    made_.reserve(paths_.size());
}

ThumbnailPipeline::~ThumbnailPipeline() {
    for (std::future<DiskThumbnail>& future : made_)
        if (future.valid()) future.wait();
}

std::size_t ThumbnailPipeline::DefaultAhead() {
    const unsigned cores = std::thread::hardware_concurrency();
    return std::clamp<std::size_t>(cores > 1 ? cores - 1 : 1, 1, 6);
}

void ThumbnailPipeline::StartUpTo(std::size_t end) {
    end = std::min(end, paths_.size());
    while (made_.size() < end) {
        const std::string& path = paths_[made_.size()];
        made_.push_back(std::async(std::launch::async, [&path, &frames = frames_] { return MakeJpegThumbnail(path, frames); }));
    }
}

DiskThumbnail ThumbnailPipeline::Take(std::size_t k) {
    StartUpTo(k + ahead_);
    return made_[k].get();
}

}  // namespace ui
