// Mouse handling of the timer panels' title bands in the main dialog.
#ifndef KELVARO_UI_MAIN_TITLE_BAND_H
#define KELVARO_UI_MAIN_TITLE_BAND_H

#include <windows.h>

struct MainDialogState;

// Each returns TRUE (with the message result set) when it handled the
// message, FALSE to leave it to the dialog manager.
INT_PTR onTitleBandSetCursor(HWND dialog);
INT_PTR onTitleBandMouse(MainDialogState& state, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR onNameEdited(MainDialogState& state, LPARAM lParam);

#endif
