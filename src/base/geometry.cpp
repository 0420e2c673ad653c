#include "base/geometry.h"

#include <algorithm>

bool operator==(const Rect32& a, const Rect32& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::int32_t wrap32(std::int64_t value)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(value)));
}

std::int64_t rectWidth(const Rect32& rect)
{
    return static_cast<std::int64_t>(rect.right) - rect.left;
}

std::int64_t rectHeight(const Rect32& rect)
{
    return static_cast<std::int64_t>(rect.bottom) - rect.top;
}

bool pointInRect(const Rect32& rect, std::int32_t x, std::int32_t y)
{
    return x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
}

Rect32 titleBandRect(const Rect32& group, const Rect32& button)
{
    // As far in from the group box's right edge as the button is from its left edge.
    const std::int32_t mirroredLeft = wrap32(static_cast<std::int64_t>(group.left) + group.right - button.left);
    const std::int32_t aboveButton = wrap32(static_cast<std::int64_t>(button.top) - 1);
    return Rect32{std::min(button.left, mirroredLeft), std::min(group.top, aboveButton),
                  std::max(button.left, mirroredLeft), std::max(group.top, aboveButton)};
}

Point32 centredTopLeft(const Rect32& window, const Rect32& frame, const Rect32& area, const Rect32& workArea)
{
    const std::int64_t windowWidth = rectWidth(window);
    const std::int64_t windowHeight = rectHeight(window);
    // C++ division truncates toward zero, as the margins need.
    const std::int64_t dx = (rectWidth(frame) - windowWidth) / 2;
    const std::int64_t dy = (rectHeight(frame) - windowHeight) / 2;
    std::int64_t x = area.left + (rectWidth(area) - windowWidth) / 2;
    std::int64_t y = area.top + (rectHeight(area) - windowHeight) / 2;
    if (x + windowWidth + dx > workArea.right)
        x = workArea.right - windowWidth - dx;
    if (y + windowHeight + dy > workArea.bottom)
        y = workArea.bottom - windowHeight - dy;
    if (x - dx < workArea.left)
        x = workArea.left + dx;
    if (y - dy < workArea.top)
        y = workArea.top + dy;
    return Point32{wrap32(x), wrap32(y)};
}
