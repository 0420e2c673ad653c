// PLACEHOLDER: replaced by the owner of this file.
#include "timers/title_band_win.h"
bool hitTitleBand(HWND, int, int, int, int) { return false; }
INT_PTR onTitleBandSetCursor(HWND) { return FALSE; }
INT_PTR onTitleBandMouse(HWND, UINT, WPARAM, LPARAM) { return FALSE; }
INT_PTR onNameEdited(HWND, LPARAM) { return FALSE; }
