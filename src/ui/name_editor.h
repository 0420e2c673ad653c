// Renaming a timer on its panel: a small popup with an edit field laid over
// the group box's caption line, and the panel's right-click menu.
#ifndef KELVARO_UI_NAME_EDITOR_H
#define KELVARO_UI_NAME_EDITOR_H

#include "base/owned_handle.h"

// One open editor. Created by openNameEditor, owned by the editor window from
// its first message on and freed when that window is destroyed. The main
// dialog receives it with the panel's result message (WM_NAME_EDITED1..3)
// and must not keep the pointer.
struct NameEditRequest {
    HWND mainDialog;
    int index;             // the timer being renamed
    HWND editWindow;
    OwnedFont font;
    bool enterPressed;     // the edit ended with Enter
};

// Opens the editor over the caption of timer index's panel. The caller first
// moves the dialog focus to the Menu button. Returns whether the editor
// window was created.
bool openNameEditor(HWND mainDialog, int index);

// Timer index's context menu at a point in the main dialog's client
// coordinates. Returns the chosen command, 0 when dismissed, -1 when the
// menu cannot be built.
int showTimerPanelMenu(HWND mainDialog, POINT clientPoint, int index);

// Gives timer index its default name again, in the settings record and on
// its panel. Returns false (and changes nothing) when it already has it.
bool restoreDefaultTimerName(HWND mainDialog, int index);

#endif
