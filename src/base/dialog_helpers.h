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

// The procedure of a dialog that keeps its state object at DWLP_USER: the
// state arrives as the lParam of WM_INITDIALOG (from DialogBoxParam) and
// every message from then on is handed to procedure with it; the messages
// before it are left to the dialog manager.
template <typename State, INT_PTR (*procedure)(HWND, State&, UINT, WPARAM, LPARAM)>
INT_PTR statefulDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG)
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
    State* state = reinterpret_cast<State*>(GetWindowLongPtrA(dialog, DWLP_USER));
    return state != nullptr ? procedure(dialog, *state, message, wParam, lParam) : FALSE;
}

#endif
