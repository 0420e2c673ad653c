// Popup menus that open from a dialog's button or at a point and return the
// user's choice instead of sending it.
#ifndef KELVARO_UI_COMMON_POPUP_MENU_H
#define KELVARO_UI_COMMON_POPUP_MENU_H

#include "base/owned_handle.h"

// The centre of a dialog's button in screen coordinates, where its menu opens.
POINT buttonCentre(HWND dialog, int buttonId);

// Shows menu at a screen point and destroys it before returning the chosen
// command (0 when none), so that the bitmaps it showed may go after it.
int trackAndDestroyMenu(OwnedMenu& menu, POINT screenPoint, HWND owner);

#endif
