// No exception may leave a procedure that the system calls: unwinding
// through the system's frames ends the process. Each procedure is handed to
// the system wrapped in one of these; a failure inside it (std::bad_alloc
// from a string, say) gives the message's default result, and the program
// goes on.
#ifndef KELVARO_BASE_CALLBACK_BOUNDARY_H
#define KELVARO_BASE_CALLBACK_BOUNDARY_H

#include "base/subclass.h"

#include <windows.h>

// Dialog procedures and common-dialog hooks: 0 leaves the message to the
// dialog manager, as if the procedure had not handled it.
template <auto procedure>
decltype(procedure(HWND{}, 0u, WPARAM{}, LPARAM{})) CALLBACK guardedDialogProc(HWND dialog, UINT message,
                                                                               WPARAM wParam, LPARAM lParam) noexcept
{
    try {
        return procedure(dialog, message, wParam, lParam);
    } catch (...) {
        return 0;
    }
}

// A window procedure that hands a failed message to fallback.
template <auto procedure, auto fallback>
LRESULT CALLBACK guardedProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept
{
    try {
        return procedure(window, message, wParam, lParam);
    } catch (...) {
        return fallback(window, message, wParam, lParam);
    }
}

inline LRESULT defaultWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(window, message, wParam, lParam);
}

// Window procedures of our own classes: the failed message gets the default handling.
template <auto procedure>
constexpr WNDPROC guardedWindowProc = guardedProc<procedure, defaultWindowProc>;

// Procedures put in front of a control by subclassControl: the failed
// message goes on to the control's own procedure.
template <auto procedure>
constexpr WNDPROC guardedSubclassProc = guardedProc<procedure, callPreviousProc>;

#endif
