#pragma once
// Which webcam of the screen saver's list comes next: in order, at random, or at random among
// those with saved pictures; and the index kept across a fall-back to a saved picture, so the
// live rotation goes on from the webcam that failed.

#include "engine/webcam_records.h"

#include <cstddef>
#include <random>
#include <vector>

namespace saver {

class PictureRotation {
public:
    explicit PictureRotation(bool inOrder, unsigned seed = std::random_device{}()) : inOrder_(inOrder), random_(seed) {}

    // The current webcam's index in the list; -1 = none.
    int index() const { return index_; }

    // savedOnly: one of the webcams with saved pictures, or -1 when none has any. Otherwise the
    // next in order (wrapping; the first pick is 0) or any one at random.
    void SelectNext(const std::vector<engine::tsdo>& list, bool savedOnly);

    // A live fetch failed: keeps the failed index and, when that webcam has no saved pictures,
    // moves to one that has. EndFallBack puts the failed index back.
    void BeginFallBack(const std::vector<engine::tsdo>& list);
    void EndFallBack() { index_ = savedIndex_; }

    // One of count saved pictures, each as likely, the last one included.
    std::size_t PickSaved(std::size_t count);

private:
    bool inOrder_;
    int index_ = -1;
    int savedIndex_ = -1;
    std::mt19937 random_;
};

}  // namespace saver
