// Small helpers every dialog procedure uses.
#ifndef KELVARO_BASE_DIALOG_HELPERS_H
#define KELVARO_BASE_DIALOG_HELPERS_H

#include <windows.h>

#include <string>

// Moves the dialog focus to a control through the dialog manager, so that
// the control losing the focus gets its notification before this returns.
void moveDialogFocus(HWND dialog, int controlId);

// The whole text of a window or control, empty when it has none.
std::string windowText(HWND window);

// A control's rectangle in its dialog's client coordinates, taken from the
// window each time.
RECT clientRectOfControl(HWND dialog, int controlId);

// Reports a handled message from a dialog procedure.
INT_PTR handledResult(HWND dialog, LONG_PTR result);

// The state object a dialog keeps at DWLP_USER, or null before WM_INITDIALOG
// has put it there.
template <typename State>
State* dialogStateOf(HWND dialog)
{
    return reinterpret_cast<State*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

inline void keepDialogState(HWND dialog, void* state)
{
    SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(state));
}

#endif
