#include "base/subclass.h"

namespace {

const char previousProcProperty[] = "Kelvaro.PreviousProc";

} // namespace

bool subclassControl(HWND control, WNDPROC procedure)
{
    const LONG_PTR previous = GetWindowLongPtrA(control, GWLP_WNDPROC);
    if (previous == 0 || !SetPropA(control, previousProcProperty, reinterpret_cast<HANDLE>(previous)))
        return false;
    SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure));
    return true;
}

LRESULT callPreviousProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam)
{
    const WNDPROC previous = reinterpret_cast<WNDPROC>(GetPropA(control, previousProcProperty));
    if (previous == nullptr)
        return DefWindowProcA(control, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
        RemovePropA(control, previousProcProperty);
    }
    return CallWindowProcA(previous, control, message, wParam, lParam);
}
