// The display scale of the monitor a window is on, and the icons and system
// metrics sized for it. Calls newer than Windows 7 are looked up at run time.
#ifndef KELVARO_BASE_DISPLAY_SCALE_WIN_H
#define KELVARO_BASE_DISPLAY_SCALE_WIN_H

#include <windows.h>

// The window's DPI (96 at 100 %). Without a per-window DPI (before Windows 10
// 1607) the system DPI, which the dialog templates are laid out at.
int windowDpi(HWND window);

// GetSystemMetrics at that DPI, where the system can tell; else at its own.
int systemMetricForDpi(int index, int dpi);

// An icon resource of the program at the given size; the caller destroys it.
HICON loadIconSized(int iconId, int size);

// An icon resource at size (a 96 DPI size) scaled to the window's DPI; the
// caller destroys it.
HICON loadScaledIcon(HWND window, int iconId, int size);

// At a scale other than 100 %, stretches a dialog just created from its
// template, and its controls, by what the whole-pixel base units of its font
// lack: the dialog then has the size its template has at 100 % times the
// scale, and its texts fit as they do at 100 %.
void fitDialogToScale(HWND dialog);

// WM_DPICHANGED: moves and sizes the window to the rectangle the system
// suggests for the new scale (lParam).
void takeSuggestedRect(HWND window, LPARAM lParam);

#endif
