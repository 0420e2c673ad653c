// A timer panel's context menu: renaming, the default name, pause and
// resume, the time-is-up icon and repeating.
#ifndef KELVARO_UI_MAIN_PANEL_MENU_H
#define KELVARO_UI_MAIN_PANEL_MENU_H

#include <windows.h>

struct MainDialogState;

// Timer index's context menu at a point in the main dialog's client
// coordinates, and the chosen command carried out. Returns the command, 0
// when dismissed, -1 when the menu cannot be built.
int showTimerPanelMenu(MainDialogState& state, POINT clientPoint, int index);

#endif
