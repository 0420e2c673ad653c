// What the main dialog does besides the event when a timer is up or running:
// flashing, the time-is-up icon and the countdowns in the caption.
#ifndef KELVARO_UI_MAIN_ALERTS_H
#define KELVARO_UI_MAIN_ALERTS_H

#include "settings/settings.h"
#include "timers/countdown.h"

#include <windows.h>

struct MainDialogState;

// A flash in the background goes on until the dialog is activated again
// (state.flashPending); in the foreground it ends by itself.
void startFlash(MainDialogState& state);
void stopFlash(MainDialogState& state);

// Puts the ready icon back on timer index's button if it shows the time-is-up icon.
void resetTimeUpIcon(MainDialogState& state, int index);

// Caption: the running countdowns joined by " | ", a paused one followed by
// " (paused)", or the plain title.
void refreshTitleBar(HWND dialog, const TimerRuntime (&runtimes)[timerCount], bool plain);

#endif
