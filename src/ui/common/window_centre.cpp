#include "ui/common/window_centre.h"

#include "base/geometry_win.h"
#include "base/process.h"
#include "store/placement_win.h"

namespace {

// DWMWA_EXTENDED_FRAME_BOUNDS: the visible frame without invisible borders.
constexpr DWORD extendedFrameBounds = 9;

RECT visibleFrame(HWND window, const RECT& windowRect)
{
    if (!app.dwmapiModule || app.dwmIsCompositionEnabled == nullptr || app.dwmGetWindowAttribute == nullptr)
        return windowRect;
    BOOL enabled = FALSE;
    if (FAILED(app.dwmIsCompositionEnabled(&enabled)) || !enabled)
        return windowRect;
    RECT frame{};
    if (FAILED(app.dwmGetWindowAttribute(window, extendedFrameBounds, &frame, sizeof frame)))
        return windowRect;
    return frame;
}

} // namespace

void centerOverOwner(HWND window, HWND owner)
{
    RECT windowRect{};
    GetWindowRect(window, &windowRect);
    const RECT frame = visibleFrame(window, windowRect);
    RECT ownerRect = windowRect;
    if (owner != nullptr)
        GetWindowRect(owner, &ownerRect);
    RECT workArea{};
    getMonitorRects(ownerRect, nullptr, &workArea);
    const Rect32 area = toRect32(owner != nullptr ? ownerRect : workArea);
    const Point32 topLeft = centredTopLeft(toRect32(windowRect), toRect32(frame), area, toRect32(workArea));
    SetWindowPos(window, nullptr, topLeft.x, topLeft.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}
