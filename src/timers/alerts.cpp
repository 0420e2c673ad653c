// PLACEHOLDER: replaced by the owner of this file.
#include "timers/alerts.h"
bool flashPending = false;
void startFlash(HWND) {}
void stopFlash(HWND) {}
void resetTimeUpIcon(HWND, int) {}
void refreshTitleBar(HWND, bool) {}
