#pragma once
// The served picture of a load run with changing pictures: distinct pictures in turn, each put
// in place by an atomic rename every 100 ms, so that nginx always serves a whole one. The
// pictures are only kept as files.

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/temp_dir.h"

namespace bench {

class PictureRotation {
public:
    static constexpr std::chrono::milliseconds kSwapPeriod{100};

    // Serves root / "current.jpg".
    PictureRotation(const std::filesystem::path& root, const std::vector<std::string>& pictures)
        : current_(root / "current.jpg") {
        for (std::size_t i = 0; i < pictures.size(); ++i) {
            frames_.push_back(root / "frames" / (std::to_string(i) + ".jpg"));
            testsupport::WriteFile(frames_.back(), pictures[i]);
            averageBytes_ += static_cast<double>(pictures[i].size()) / static_cast<double>(pictures.size());
        }
        Show(0);
        thread_ = std::thread([this] { Run(); });
    }
    ~PictureRotation() {
        {
            std::lock_guard hold(lock_);
            stop_ = true;
        }
        wake_.notify_all();
        thread_.join();
    }
    const std::filesystem::path& FirstPicture() const { return frames_.front(); }
    double AverageBytes() const { return averageBytes_; }

private:
    void Show(std::size_t i) {
        const std::filesystem::path next = current_.string() + ".next";
        std::error_code error;
        std::filesystem::remove(next, error);
        std::filesystem::create_hard_link(frames_[i], next, error);
        if (!error) std::filesystem::rename(next, current_, error);
    }
    void Run() {
        std::unique_lock hold(lock_);
        for (std::size_t i = 1; !wake_.wait_for(hold, kSwapPeriod, [this] { return stop_; }); ++i)
            Show(i % frames_.size());
    }

    std::filesystem::path current_;
    std::vector<std::filesystem::path> frames_;
    double averageBytes_ = 0;
    std::mutex lock_;  // guards stop_
    std::condition_variable wake_;
    bool stop_ = false;
    std::thread thread_;
};

}  // namespace bench
