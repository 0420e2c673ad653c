// What the main dialog shows of one timer panel, by timer index. Every
// value shown comes from the settings record and the countdown state.
#ifndef KELVARO_UI_MAIN_TIMER_PANEL_H
#define KELVARO_UI_MAIN_TIMER_PANEL_H

#include <windows.h>

#include <cstdint>

#include "base/geometry.h"

// ms in the timer's unit: full is the idle form, otherwise the countdown form.
void showTimerDuration(HWND dialog, int index, std::uint32_t ms, bool full);

// The timer's name in its group box caption.
void showTimerName(HWND dialog, int index);

// Refills the event list with the nine event texts and selects the timer's event.
void fillEventCombo(HWND dialog, int index);

struct MainDialogState;

// Shows timer index's state on its Start/Stop button: the icon for that
// state at 32 x 32 on a 96 DPI monitor (scaled on others).
void showTimerState(MainDialogState& state, int index);

// The panel's title band in the dialog's client coordinates.
Rect32 titleBandOfPanel(HWND dialog, int index);

#endif
