// PLACEHOLDER: replaced by the owner of this file.
#include "store/placement_win.h"
void getMonitorRects(const RECT&, RECT*, RECT*) {}
bool saveWindowPosition(HWND, const char*) { return false; }
RECT restoreWindowPosition(const char*, const RECT& current) { return current; }
void centerOverOwner(HWND, HWND) {}
