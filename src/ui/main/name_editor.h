// Renaming a timer on its panel: a small popup with an edit field laid over
// the group box's caption line.
#ifndef KELVARO_UI_MAIN_NAME_EDITOR_H
#define KELVARO_UI_MAIN_NAME_EDITOR_H

#include <windows.h>

struct MainDialogState;

// Opens the editor over the caption of timer index's panel; its request is
// state.nameEdit. The caller first moves the dialog focus to the Menu
// button, which commits an editor still open. Returns whether the editor
// window was created.
bool openNameEditor(MainDialogState& state, int index);

// Gives timer index its default name again, in the settings record and on
// its panel. Returns false (and changes nothing) when it already has it.
bool restoreDefaultTimerName(HWND mainDialog, int index);

#endif
