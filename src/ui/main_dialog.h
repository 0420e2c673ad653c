// The main dialog: three timer panels, the keep-on-top box and the Menu button.
#ifndef KELVARO_UI_MAIN_DIALOG_H
#define KELVARO_UI_MAIN_DIALOG_H

#include <windows.h>

#include <cstdint>

INT_PTR CALLBACK mainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Refills an event list with the nine event texts and selects index.
void fillEventCombo(HWND dialog, int comboId, int index);

// The unit and the event a timer panel's lists have selected.
std::uint32_t selectedUnit(HWND dialog, int index);
std::uint32_t selectedEvent(HWND dialog, int index);

// Replaces a button's icon (destroying the old one) by icon resource iconId at 32 x 32.
void setButtonIcon(HWND dialog, int buttonId, int iconId);

#endif
