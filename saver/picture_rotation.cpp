#include "saver/picture_rotation.h"

namespace saver {

void PictureRotation::SelectNext(const std::vector<engine::tsdo>& list, bool savedOnly) {
    if (list.empty()) {
        index_ = -1;
        return;
    }
    if (savedOnly) {
        std::vector<int> withPictures;
        for (std::size_t i = 0; i < list.size(); ++i)
            if (list[i].FRec.SavedCount != 0) withPictures.push_back(static_cast<int>(i));
        index_ = withPictures.empty() ? -1 : withPictures[PickSaved(withPictures.size())];
    } else if (inOrder_) {
        index_ = index_ + 1 >= static_cast<int>(list.size()) ? 0 : index_ + 1;
    } else {
        index_ = std::uniform_int_distribution<int>(0, static_cast<int>(list.size()) - 1)(random_);
    }
}

void PictureRotation::BeginFallBack(const std::vector<engine::tsdo>& list) {
    savedIndex_ = index_;
    if (index_ < 0 || index_ >= static_cast<int>(list.size()) || list[index_].FRec.SavedCount == 0)
        SelectNext(list, true);
}

std::size_t PictureRotation::PickSaved(std::size_t count) {
    if (count == 0) return 0;
    return std::uniform_int_distribution<std::size_t>(0, count - 1)(random_);
}

}  // namespace saver
