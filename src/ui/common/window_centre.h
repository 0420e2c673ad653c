// Secondary windows appear centred over their owner, inside the work area.
#ifndef KELVARO_UI_COMMON_WINDOW_CENTRE_H
#define KELVARO_UI_COMMON_WINDOW_CENTRE_H

#include <windows.h>

// Centres window over owner (over the work area without one), keeping its
// visible frame inside the owner's monitor's work area.
void centerOverOwner(HWND window, HWND owner);

#endif
