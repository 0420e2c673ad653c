// Where the main dialog appears: its saved position per monitor.
#ifndef KELVARO_STORE_PLACEMENT_WIN_H
#define KELVARO_STORE_PLACEMENT_WIN_H

#include <windows.h>

// The monitor rectangle and work area of the monitor nearest to rect.
void getMonitorRects(const RECT& rect, RECT* monitor, RECT* workArea);

// The main dialog's position, kept in the settings key's MainWindow subkey.
bool saveMainWindowPosition(HWND mainDialog);
RECT restoreMainWindowPosition(const RECT& current);

#endif
