// The Win32 half of window placement: monitors and window rectangles.
#include "store/placement_win.h"

#include "base/geometry_win.h"
#include "base/process.h"
#include "store/placement.h"

#include <cstdio>

namespace {

void lookUpMonitor(const Rect32& rect, Rect32& monitor, Rect32& workArea)
{
    RECT monitorRect{};
    RECT workRect{};
    getMonitorRects(toRect(rect), &monitorRect, &workRect);
    monitor = toRect32(monitorRect);
    workArea = toRect32(workRect);
}

struct MainWindowKeyPath {
    char text[128];
};

MainWindowKeyPath mainWindowKeyPath()
{
    MainWindowKeyPath path;
    std::snprintf(path.text, sizeof path.text, "%s\\%s", app.settingsKeyPath, "MainWindow");
    return path;
}

// A failed write of any of the eight values makes the save report failure,
// so that the user hears the error beep rather than the success sound.
bool saveWindowPosition(HWND window, const char* keyPath)
{
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (!IsWindow(window) || !GetWindowPlacement(window, &placement))
        return false;
    // The restored rectangle, also while the window is minimised.
    Rect32 rect = toRect32(placement.rcNormalPosition);
    Rect32 monitor{};
    Rect32 workArea{};
    lookUpMonitor(rect, monitor, workArea);
    const LONG_PTR style = GetWindowLongPtrA(window, GWL_STYLE);
    const LONG_PTR exStyle = GetWindowLongPtrA(window, GWL_EXSTYLE);
    if ((style & WS_CHILD) == 0 && (exStyle & WS_EX_TOOLWINDOW) == 0)
        rect = workspaceToScreen(rect, monitor, workArea);
    return writeStoredPosition(keyPath, rect, monitor) == 0;
}

RECT restoreWindowPosition(const char* keyPath, const RECT& current)
{
    return toRect(restoredPosition(keyPath, toRect32(current), lookUpMonitor));
}

} // namespace

void getMonitorRects(const RECT& rect, RECT* monitor, RECT* workArea)
{
    MONITORINFOEXA info{};
    info.cbSize = sizeof info;
    const HMONITOR nearest = MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST);
    RECT monitorRect{};
    RECT workRect{};
    if (nearest != nullptr && GetMonitorInfoA(nearest, &info)) {
        monitorRect = info.rcMonitor;
        workRect = info.rcWork;
    } else {
        monitorRect = RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &workRect, 0))
            workRect = monitorRect;
    }
    if (monitor != nullptr)
        *monitor = monitorRect;
    if (workArea != nullptr)
        *workArea = workRect;
}

bool saveMainWindowPosition(HWND mainDialog)
{
    return saveWindowPosition(mainDialog, mainWindowKeyPath().text);
}

RECT restoreMainWindowPosition(const RECT& current)
{
    return restoreWindowPosition(mainWindowKeyPath().text, current);
}
