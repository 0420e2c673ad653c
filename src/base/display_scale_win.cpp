#include "base/display_scale_win.h"

#include "base/process.h"
#include "base/system_library.h"
#include "base/display_scale.h"
#include "base/owned_handle.h"

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
    const WindowDc screen(nullptr, GetDC(nullptr));
    if (!screen)
        return defaultDpi;
    const int dpi = GetDeviceCaps(screen.get(), LOGPIXELSY);
    return dpi > 0 ? dpi : defaultDpi;
}

struct BaseUnits {
    int x;
    int y;
};

bool measureBaseUnits(HFONT font, BaseUnits& units)
{
    static const char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    const OwnedMemoryDc dc(CreateCompatibleDC(nullptr));
    if (!dc || font == nullptr)
        return false;
    const SelectedObject selected(dc.get(), font);
    SIZE alphabet{};
    TEXTMETRICA metrics{};
    const bool measured = GetTextExtentPoint32A(dc.get(), letters, 52, &alphabet) && GetTextMetricsA(dc.get(), &metrics);
    units = BaseUnits{horizontalBaseUnit(alphabet.cx), metrics.tmHeight};
    return measured;
}

// The dialog font's base units now and at 100 %: the same face at the same
// whole points at 96 DPI.
bool measureDialogUnits(HWND dialog, int dpi, BaseUnits& units, BaseUnits& units96)
{
    const HFONT font = reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0));
    LOGFONTA description{};
    if (font == nullptr || GetObjectA(font, sizeof description, &description) == 0)
        return false;
    description.lfHeight = fontHeightForDpi(fontPointsAtDpi(description.lfHeight, dpi), defaultDpi);
    description.lfWidth = 0;
    const OwnedFont font96(CreateFontIndirectA(&description));
    return measureBaseUnits(font, units) && measureBaseUnits(font96.get(), units96);
}

void stretchControl(HWND dialog, HWND control, const DialogStretch& stretch)
{
    RECT rect{};
    GetWindowRect(control, &rect);
    // A drop-down list's window is as high as its open list; its rectangle
    // is only the closed box.
    RECT dropped{};
    char className[16] = "";
    GetClassNameA(control, className, sizeof className);
    if (lstrcmpiA(className, "ComboBox") == 0 && SendMessageA(control, CB_GETDROPPEDCONTROLRECT, 0,
                                                             reinterpret_cast<LPARAM>(&dropped)))
        rect.bottom = rect.top + (dropped.bottom - dropped.top);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    const int left = stretchX(rect.left, stretch);
    const int top = stretchY(rect.top, stretch);
    SetWindowPos(control, nullptr, left, top, stretchX(rect.right, stretch) - left, stretchY(rect.bottom, stretch) - top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
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

HICON loadIconSized(int iconId, int size)
{
    return static_cast<HICON>(LoadImageA(app.instance, MAKEINTRESOURCEA(iconId), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
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

void fitDialogToScale(HWND dialog)
{
    const int dpi = windowDpi(dialog);
    BaseUnits units{};
    BaseUnits units96{};
    if (dpi == defaultDpi || !measureDialogUnits(dialog, dpi, units, units96))
        return;
    const DialogStretch stretch = dialogStretch(units96.x, units96.y, units.x, units.y, dpi);
    for (HWND control = GetWindow(dialog, GW_CHILD); control != nullptr; control = GetWindow(control, GW_HWNDNEXT))
        stretchControl(dialog, control, stretch);
    RECT window{};
    RECT client{};
    GetWindowRect(dialog, &window);
    GetClientRect(dialog, &client);
    const int width = window.right - window.left - client.right + stretchX(client.right, stretch);
    const int height = window.bottom - window.top - client.bottom + stretchY(client.bottom, stretch);
    SetWindowPos(dialog, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}
