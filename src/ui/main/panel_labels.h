// Names for the timer panels' controls that accessibility tools can read.
// Each duration edit, unit list and event list has a hidden static label
// just before it in the dialog template; the system names an edit (and, on
// Windows, a combo box) after the static text before it.
#ifndef KELVARO_UI_MAIN_PANEL_LABELS_H
#define KELVARO_UI_MAIN_PANEL_LABELS_H

#include <windows.h>

// Names timer index's controls after timerName (its mnemonic marker left
// out): "<name> duration", "<name> unit", "<name> event".
void showPanelLabels(HWND dialog, int index, const char* timerName);

#endif
