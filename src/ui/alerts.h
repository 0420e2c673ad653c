// What the main dialog does besides the event when a timer is up or running:
// flashing, the time-is-up icon and the countdowns in the caption.
#ifndef KELVARO_UI_ALERTS_H
#define KELVARO_UI_ALERTS_H

#include <windows.h>

// A continuous flash was started because the dialog was in the background;
// only startFlash and stopFlash change it.
extern bool flashPending;

void startFlash(HWND dialog);
void stopFlash(HWND dialog);

// Puts the ready icon back on timer index's button if it shows the time-is-up icon.
void resetTimeUpIcon(HWND dialog, int index);

// Caption: the running countdowns joined by " | ", a paused one followed by
// " (paused)", or the plain title.
void refreshTitleBar(HWND dialog, bool plain);

#endif
