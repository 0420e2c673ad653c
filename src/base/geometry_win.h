// The platform's rectangles and the program's, one into the other.
#ifndef KELVARO_BASE_GEOMETRY_WIN_H
#define KELVARO_BASE_GEOMETRY_WIN_H

#include "base/geometry.h"

#include <windows.h>

static_assert(sizeof(LONG) == sizeof(std::int32_t), "RECT coordinates are 32-bit");

inline Rect32 toRect32(const RECT& rect)
{
    return Rect32{rect.left, rect.top, rect.right, rect.bottom};
}

inline RECT toRect(const Rect32& rect)
{
    return RECT{rect.left, rect.top, rect.right, rect.bottom};
}

#endif
