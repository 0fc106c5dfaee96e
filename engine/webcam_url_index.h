#pragma once
// The webcams by their picture address, so that adding one finds a webcam with the same
// address (SameWebcamUrl) without looking at every webcam: a hash of each address's key and the
// webcam's list position. Main thread only, as the manager's list.

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>

namespace engine {

// The part of a picture address that tells webcams apart: upper-cased, without what comes up
// to the first "HTTP://" and without the first "WWW.".
std::string WebcamUrlKey(std::string_view url);

class WebcamUrlIndex {
public:
    void Add(std::string_view url, int position);
    void Remove(std::string_view url, int position);
    void Clear() { FPositions.clear(); }

    // The first position, in list order, whose address is the same as url by SameWebcamUrl:
    // the positions that hash alike are confirmed by isSame(position); -1 when none is.
    template <typename IsSame>
    int Find(std::string_view url, IsSame isSame) const {
        int first = -1;
        const auto [begin, end] = FPositions.equal_range(KeyHash(url));
        for (auto it = begin; it != end; ++it)
            if ((first < 0 || it->second < first) && isSame(it->second)) first = it->second;
        return first;
    }

    // The hash of an address's key: equal for addresses SameWebcamUrl takes as the same.
    static std::size_t KeyHash(std::string_view url);

private:
    std::unordered_multimap<std::size_t, int> FPositions;
};

}  // namespace engine
