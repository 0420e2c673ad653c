#include "store/placement.h"

#include "store/registry.h"

#include <cstdio>

namespace {

Rect32 offsetRect(const Rect32& rect, std::int64_t dx, std::int64_t dy)
{
    return Rect32{wrap32(rect.left + dx), wrap32(rect.top + dy), wrap32(rect.right + dx), wrap32(rect.bottom + dy)};
}

const char* const positionNames[4] = {"X", "Y", "CX", "CY"};

unsigned long writeFourValues(const char* keyPath, const Rect32& rect)
{
    const std::int64_t values[4] = {rect.left, rect.top, rectWidth(rect), rectHeight(rect)};
    unsigned long first = 0;
    for (int i = 0; i < 4; ++i) {
        const unsigned long error = writeDwordValue(keyPath, positionNames[i], static_cast<std::uint32_t>(values[i]));
        if (first == 0)
            first = error;
    }
    return first;
}

// Reads X, Y, CX, CY in that order, stopping at the first that cannot be
// read. False when one is missing or they make no upright rectangle.
bool readStoredPosition(const char* keyPath, Rect32& rect)
{
    std::uint32_t values[4] = {};
    for (int i = 0; i < 4; ++i) {
        if (readDwordValue(keyPath, positionNames[i], 0, values[i]) != 0)
            return false;
    }
    return rectFromPosition(static_cast<std::int32_t>(values[0]), static_cast<std::int32_t>(values[1]),
                            static_cast<std::int32_t>(values[2]), static_cast<std::int32_t>(values[3]), rect);
}

} // namespace

bool rectFromPosition(std::int32_t x, std::int32_t y, std::int32_t cx, std::int32_t cy, Rect32& rect)
{
    const std::int64_t right = static_cast<std::int64_t>(x) + cx;
    const std::int64_t bottom = static_cast<std::int64_t>(y) + cy;
    if (cx < 0 || cy < 0 || right > INT32_MAX || bottom > INT32_MAX)
        return false;
    rect = Rect32{x, y, static_cast<std::int32_t>(right), static_cast<std::int32_t>(bottom)};
    return true;
}

Rect32 moveIntoWorkArea(const Rect32& rect, const Rect32& workArea)
{
    Rect32 moved = rect;
    if (moved.right > workArea.right)
        moved = offsetRect(moved, static_cast<std::int64_t>(workArea.right) - moved.right, 0);
    if (moved.bottom > workArea.bottom)
        moved = offsetRect(moved, 0, static_cast<std::int64_t>(workArea.bottom) - moved.bottom);
    if (moved.left < workArea.left)
        moved = offsetRect(moved, static_cast<std::int64_t>(workArea.left) - moved.left, 0);
    if (moved.top < workArea.top)
        moved = offsetRect(moved, 0, static_cast<std::int64_t>(workArea.top) - moved.top);
    return moved;
}

void formatMonitorKeyPath(char* buffer, std::size_t size, const char* keyPath, const Rect32& monitor)
{
    char name[80];
    std::snprintf(name, sizeof name, "MonitorRectangle(%ld,%ld,%ld,%ld)", static_cast<long>(monitor.left),
                  static_cast<long>(monitor.top), static_cast<long>(monitor.right), static_cast<long>(monitor.bottom));
    std::snprintf(buffer, size, "%s\\%s", keyPath, name);
}

unsigned long writeStoredPosition(const char* keyPath, const Rect32& rect, const Rect32& monitor)
{
    char monitorKeyPath[256];
    formatMonitorKeyPath(monitorKeyPath, sizeof monitorKeyPath, keyPath, monitor);
    const unsigned long mainError = writeFourValues(keyPath, rect);
    const unsigned long monitorError = writeFourValues(monitorKeyPath, rect);
    return mainError != 0 ? mainError : monitorError;
}

Rect32 restoredPosition(const char* keyPath, const Rect32& current, MonitorLookup lookup)
{
    Rect32 saved{};
    const bool valid = readStoredPosition(keyPath, saved);
    if (!valid)
        saved = current;
    Rect32 monitor{};
    Rect32 workArea{};
    lookup(saved, monitor, workArea);
    // The copy under the monitor's subkey proves that monitor still has the
    // rectangle it had when the position was saved.
    bool sameMonitor = false;
    if (valid) {
        char monitorKeyPath[256];
        formatMonitorKeyPath(monitorKeyPath, sizeof monitorKeyPath, keyPath, monitor);
        Rect32 onMonitor{};
        sameMonitor = readStoredPosition(monitorKeyPath, onMonitor) && onMonitor == saved;
    }
    // The work area stays the one of the saved position's monitor either way.
    const Rect32 moved = moveIntoWorkArea(sameMonitor ? saved : current, workArea);
    // Only the position is restored: the window keeps its own size, which may
    // differ from the stored one, so its own rectangle is what has to fit.
    const Rect32 window = offsetRect(current, static_cast<std::int64_t>(moved.left) - current.left,
                                     static_cast<std::int64_t>(moved.top) - current.top);
    return moveIntoWorkArea(window, workArea);
}

Rect32 workspaceToScreen(const Rect32& rect, const Rect32& monitor, const Rect32& workArea)
{
    return offsetRect(rect, static_cast<std::int64_t>(workArea.left) - monitor.left,
                      static_cast<std::int64_t>(workArea.top) - monitor.top);
}
