// The countdown engine: Start, Stop and the 200 ms tick of the main dialog.
#ifndef KELVARO_UI_MAIN_COUNTDOWN_WIN_H
#define KELVARO_UI_MAIN_COUNTDOWN_WIN_H

struct MainDialogState;

// Start or stop timer index; user is false for the time-is-up stop.
void startStopTimer(MainDialogState& state, int index, bool user);

// Pauses or resumes running timer index; nothing while it is idle or up.
void togglePause(MainDialogState& state, int index);

// One tick of the dialog's 200 ms window timer.
void onTimerTick(MainDialogState& state);

// The one-shot timer set for the moment the next timer is up.
void onDueTimer(MainDialogState& state);

#endif
