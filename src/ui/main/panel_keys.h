// The timer panels from the keyboard: F2 on any control of a panel renames
// its timer, as a double-click in its title band does, and Shift+F10 or the
// menu key on its Start/Stop button or its lists opens the panel's menu
// there. In a duration edit those two keys keep the edit's own menu.
#ifndef KELVARO_UI_MAIN_PANEL_KEYS_H
#define KELVARO_UI_MAIN_PANEL_KEYS_H

#include <windows.h>

struct MainDialogState;

// Puts the key handling in front of every panel control; at WM_INITDIALOG.
void attachPanelKeys(HWND dialog);

// WM_CONTEXTMENU of the main dialog. Only the keyboard's (at -1, -1) from a
// panel's button or list is handled: a right-click there stays without a menu.
INT_PTR onPanelContextMenu(MainDialogState& state, WPARAM wParam, LPARAM lParam);

// WM_RENAME_PANEL of the main dialog (F2 on a panel's control, wParam its
// panel): the name editor opens as for a double-click in the title band.
INT_PTR onRenamePanel(MainDialogState& state, WPARAM index);

#endif
