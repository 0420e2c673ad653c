// The popup menu of the main dialog's Menu button.
#ifndef KELVARO_UI_MAIN_MAIN_MENU_H
#define KELVARO_UI_MAIN_MAIN_MENU_H

#include <windows.h>

// The chosen command, 0 when dismissed, -1 when the menu cannot be built.
int showMainMenu(HWND dialog, bool funnyExit);
// The same menu at a point of the screen.
int showMainMenuAt(HWND dialog, bool funnyExit, POINT screenPoint);

#endif
