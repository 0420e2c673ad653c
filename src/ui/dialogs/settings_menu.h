// The Settings dialog's Advanced Options menu: each section of the dialog can
// be reset to its defaults or filled with ready-made examples.
#ifndef KELVARO_UI_DIALOGS_SETTINGS_MENU_H
#define KELVARO_UI_DIALOGS_SETTINGS_MENU_H

#include <windows.h>

#include <string>

// Shows the menu under the Advanced Options button and carries out the
// choice. Returns the command, 0 when none was chosen, -1 when the menu
// could not be built.
int showSettingsMenu(HWND settingsDialog);

#endif
