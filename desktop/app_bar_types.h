#pragma once
// The desktop bar's small types: its edges, the edges it may take, what its task-bar entry does,
// and a screen rectangle in the shell's terms (right and bottom exclusive).

#include <cstdint>

namespace desktop {

enum TAppBarEdge : std::uint8_t {
    abeLeft = 0,
    abeTop = 1,
    abeRight = 2,
    abeBottom = 3,
    abeUnknown = 4,  // not registered with the shell
    abeFloat = 5,
};

// TAppBarFlags: one bit per place the bar may take.
enum TAppBarFlag : std::uint8_t {
    abfAllowLeft = 1 << 0,
    abfAllowTop = 1 << 1,
    abfAllowRight = 1 << 2,
    abfAllowBottom = 1 << 3,
    abfAllowFloat = 1 << 4,
};
inline constexpr std::uint8_t kAllAppBarFlags = 31;

enum TAppBarTaskEntry : std::uint8_t { abtShow = 0, abtHide = 1, abtFloatDependent = 2 };

inline bool IsDockedEdge(int edge) { return edge >= abeLeft && edge <= abeBottom; }
inline bool IsVerticalEdge(int edge) { return edge == abeLeft || edge == abeRight; }
// The allow bit of a docked edge (left, top, right, bottom: bits 0 to 3).
inline std::uint8_t AllowBit(int edge) { return static_cast<std::uint8_t>(1u << edge); }

struct AppBarRect {
    int left = 0, top = 0, right = 0, bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool Empty() const { return right <= left || bottom <= top; }
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    bool Intersects(const AppBarRect& o) const {
        return left < o.right && o.left < right && top < o.bottom && o.top < bottom;
    }
    AppBarRect MovedTo(int x, int y) const { return {x, y, x + Width(), y + Height()}; }
    friend bool operator==(const AppBarRect&, const AppBarRect&) = default;
};

struct AppBarPoint {
    int x = 0, y = 0;
};

}  // namespace desktop
