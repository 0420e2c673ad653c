// The main dialog's one-shot due timer (ID_DUE_TIMER): set for the moment the
// next timer is up, so its time-up sequence runs then and not on the next
// 200 ms tick, which still notices any timer it finds past due.
#ifndef KELVARO_UI_MAIN_DUE_TIMER_H
#define KELVARO_UI_MAIN_DUE_TIMER_H

#include "settings/settings.h"
#include "timers/arming.h"
#include "timers/countdown.h"

#include <windows.h>

// Sets, moves or kills the one-shot for the earliest due moment of the
// runtimes at the current tick count. force: it has just fired (a window
// timer repeats until killed or set again).
void rearmDueTimer(HWND dialog, DueTimerState& state, const TimerRuntime (&runtimes)[timerCount],
                   const TimerSettings (&timers)[timerCount], bool force);

#endif
