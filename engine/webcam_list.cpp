#include "engine/webcam_list.h"

#include <stdexcept>

namespace engine {

namespace {
void CheckIndex(int index, int count) {
    if (index < 0 || index >= count) throw std::out_of_range("List index out of bounds (" + std::to_string(index) + ")");
}
}  // namespace

twebcam* twebcamlist1::Get(int index) const {
    CheckIndex(index, Count());
    return FItems[static_cast<std::size_t>(index)];
}

void twebcamlist1::Put(int index, twebcam* item) {
    CheckIndex(index, Count());
    FItems[static_cast<std::size_t>(index)] = item;
}

int twebcamlist1::Add(twebcam* item) {
    FItems.push_back(item);
    return Count() - 1;
}

}  // namespace engine
