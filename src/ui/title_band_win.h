// Mouse handling of the timer panels' title bands in the main dialog.
#ifndef KELVARO_UI_TITLE_BAND_WIN_H
#define KELVARO_UI_TITLE_BAND_WIN_H

#include <windows.h>

// Each returns TRUE (with the message result set) when it handled the
// message, FALSE to leave it to the dialog manager.
INT_PTR onTitleBandSetCursor(HWND dialog);
INT_PTR onTitleBandMouse(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR onNameEdited(HWND dialog, LPARAM lParam);

#endif
