// Rectangles and points in 32-bit pixel coordinates, and the few layout
// rules computed on them: a timer panel's title band and a centred window.
// Rectangles are left, top, right, bottom with right and bottom exclusive.
#ifndef KELVARO_BASE_GEOMETRY_H
#define KELVARO_BASE_GEOMETRY_H

#include <cstdint>

struct Rect32 {
    std::int32_t left;
    std::int32_t top;
    std::int32_t right;
    std::int32_t bottom;
};

bool operator==(const Rect32& a, const Rect32& b);

struct Point32 {
    std::int32_t x;
    std::int32_t y;
};

// Coordinates are 32-bit; arithmetic on them is done in 64 bits and brought
// back the way 32-bit Windows arithmetic would wrap.
std::int32_t wrap32(std::int64_t value);
std::int64_t rectWidth(const Rect32& rect);
std::int64_t rectHeight(const Rect32& rect);

// Lower bounds included, upper bounds excluded.
bool pointInRect(const Rect32& rect, std::int32_t x, std::int32_t y);

// The title band of a timer panel, for its group box and its Start/Stop
// button in client coordinates: from the button's left edge to the same
// inset from the group box's right edge, and from the group box's top to one
// pixel above the button. Edges that come out the wrong way round are swapped.
Rect32 titleBandRect(const Rect32& group, const Rect32& button);

// The top-left corner that centres window in area while keeping the visible
// frame inside the work area. The frame may be larger than the window
// (invisible resize borders); the margins are half the difference each side.
Point32 centredTopLeft(const Rect32& window, const Rect32& frame, const Rect32& area, const Rect32& workArea);

#endif
