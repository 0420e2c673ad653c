// Where the main dialog appears: its saved position per monitor.
#ifndef KELVARO_STORE_PLACEMENT_WIN_H
#define KELVARO_STORE_PLACEMENT_WIN_H

#include <windows.h>

void getMonitorRects(const RECT& rect, RECT* monitor, RECT* workArea);
bool saveWindowPosition(HWND window, const char* keyPath);
RECT restoreWindowPosition(const char* keyPath, const RECT& current);

// The main dialog's position, kept in the settings key's MainWindow subkey.
bool saveMainWindowPosition(HWND mainDialog);
RECT restoreMainWindowPosition(const RECT& current);

#endif
