// Saving everything the user can save: the main dialog's position and the
// whole settings record.
#ifndef KELVARO_STORE_SETTINGS_STORE_WIN_H
#define KELVARO_STORE_SETTINGS_STORE_WIN_H

#include <windows.h>

// Every write is attempted whatever the earlier ones returned; true when all succeeded.
bool saveAllSettings(HWND mainDialog);

#endif
