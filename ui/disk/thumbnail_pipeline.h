#pragma once
// Thumbnails of a list of picture files made on a few threads ahead of the one that takes them,
// so the window's thread only places them, in the list's order. No Qt; the owner (one thread)
// calls Take with increasing positions. The threads share nothing but the frames, which are
// only read.

#include <cstddef>
#include <future>
#include <string>
#include <vector>

#include "ui/disk/disk_thumbnail.h"

namespace ui {

class ThumbnailPipeline {
public:
    // Frames must outlive the pipeline. At most `ahead` files are being made at once.
    ThumbnailPipeline(std::vector<std::string> paths, const ThumbnailFrames& frames, std::size_t ahead);
    // Waits for the files being made; those not started are never made.
    ~ThumbnailPipeline();
    ThumbnailPipeline(const ThumbnailPipeline&) = delete;
    ThumbnailPipeline& operator=(const ThumbnailPipeline&) = delete;

    std::size_t Size() const { return paths_.size(); }
    // The thumbnail of file k (k below Size, above the last k taken), waiting for it.
    DiskThumbnail Take(std::size_t k);

    // How many files to make at once on this machine: one core is left to the window.
    static std::size_t DefaultAhead();

private:
    void StartUpTo(std::size_t end);

    std::vector<std::string> paths_;
    const ThumbnailFrames& frames_;
    std::size_t ahead_;
    std::vector<std::future<DiskThumbnail>> made_;  // one per file started, in order
};

}  // namespace ui
