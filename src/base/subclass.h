// Subclassing a control: our procedure in front of the control's own. The
// control's own procedure is kept in a window property, not in the user data
// (which stays free for the window's owner), and is put back when the
// control is destroyed.
#ifndef KELVARO_BASE_SUBCLASS_H
#define KELVARO_BASE_SUBCLASS_H

#include <windows.h>

// False (and nothing changed) when the property cannot be set.
bool subclassControl(HWND control, WNDPROC procedure);

// Every message the subclass procedure does not answer itself goes here;
// WM_NCDESTROY, which it never answers, also takes the subclass off.
LRESULT callPreviousProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam);

#endif
