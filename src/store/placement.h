// Where the main dialog reappears: the arithmetic and the stored-position
// decisions, without the platform.
#ifndef KELVARO_STORE_PLACEMENT_H
#define KELVARO_STORE_PLACEMENT_H

#include "base/geometry.h"

#include <cstddef>
#include <cstdint>

// The monitor rectangle and work area of the monitor nearest to rect.
typedef void (*MonitorLookup)(const Rect32& rect, Rect32& monitor, Rect32& workArea);

// (x, y, x + cx, y + cy). False for a negative width or height, and for an
// edge beyond 32 bits, which would otherwise wrap into a plausible rectangle.
bool rectFromPosition(std::int32_t x, std::int32_t y, std::int32_t cx, std::int32_t cy, Rect32& rect);

// Moves rect, never resizing it, so that it lies inside the work area: right,
// bottom, left, top in that order, so a rectangle larger than the work area
// ends on its left and top edges.
Rect32 moveIntoWorkArea(const Rect32& rect, const Rect32& workArea);

// The subkey of keyPath named after the monitor rectangle.
void formatMonitorKeyPath(char* buffer, std::size_t size, const char* keyPath, const Rect32& monitor);

// Writes X, Y, CX, CY into the key and then into its monitor subkey; every
// write is attempted. The first error, or 0.
unsigned long writeStoredPosition(const char* keyPath, const Rect32& rect, const Rect32& monitor);

// The saved position when the monitor it lies on still has the rectangle it
// had when saved, otherwise the current one; moved into that monitor's work
// area. The result has the current rectangle's size.
Rect32 restoredPosition(const char* keyPath, const Rect32& current, MonitorLookup lookup);

// A normal window's placement rectangle is in workspace coordinates: shifted
// by the work area's offset within the monitor into screen coordinates.
Rect32 workspaceToScreen(const Rect32& rect, const Rect32& monitor, const Rect32& workArea);

#endif
