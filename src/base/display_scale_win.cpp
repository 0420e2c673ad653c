#include "base/display_scale_win.h"

#include "base/app.h"
#include "base/display_scale.h"

namespace {

typedef UINT(WINAPI* GetDpiForWindowFn)(HWND window);
typedef int(WINAPI* GetSystemMetricsForDpiFn)(int index, UINT dpi);

// user32 is loaded with the program; both calls exist from Windows 10 1607.
HMODULE user32()
{
    return GetModuleHandleA("user32.dll");
}

int systemDpi()
{
    const HDC screen = GetDC(nullptr);
    if (screen == nullptr)
        return defaultDpi;
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : defaultDpi;
}

} // namespace

int windowDpi(HWND window)
{
    static const GetDpiForWindowFn getDpiForWindow = procAddress<GetDpiForWindowFn>(user32(), "GetDpiForWindow");
    if (getDpiForWindow != nullptr && window != nullptr) {
        const UINT dpi = getDpiForWindow(window);
        if (dpi != 0)
            return static_cast<int>(dpi);
    }
    return systemDpi();
}

int systemMetricForDpi(int index, int dpi)
{
    static const GetSystemMetricsForDpiFn getSystemMetricsForDpi =
        procAddress<GetSystemMetricsForDpiFn>(user32(), "GetSystemMetricsForDpi");
    if (getSystemMetricsForDpi != nullptr && dpi > 0)
        return getSystemMetricsForDpi(index, static_cast<UINT>(dpi));
    return GetSystemMetrics(index);
}

HICON loadScaledIcon(HWND window, int iconId, int size)
{
    return loadIconSized(iconId, scaleForDpi(size, windowDpi(window)));
}

void takeSuggestedRect(HWND window, LPARAM lParam)
{
    const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
    if (suggested == nullptr)
        return;
    SetWindowPos(window, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                 suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
}
