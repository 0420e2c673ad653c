// Renaming a timer on its panel: a small popup with an edit field laid over
// the group box's caption line, and the panel's right-click menu.
#ifndef KELVARO_UI_NAME_EDITOR_H
#define KELVARO_UI_NAME_EDITOR_H

#include <windows.h>

// One open editor. Created by openNameEditor, owned by the editor window from
// its first message on and freed when that window is destroyed. The main
// dialog receives it with the result message and must not keep the pointer.
struct NameEditRequest {
    HWND mainDialog;
    UINT notifyMessage;    // WM_NAME_EDITED1..3, sent when the edit ends
    UINT groupBoxId;
    UINT startButtonId;
    UINT valueEditId;
    UINT defaultNameId;
    char* nameBuffer;      // the timer's label in the settings record
    HWND editWindow;
    HFONT font;
    BYTE enterPressed;     // the edit ended with Enter
};

// Opens the editor over the caption of the panel whose result message is
// notifyMessage (WM_NAME_EDITED1 for timer #1, WM_NAME_EDITED2 for #2, any
// other value for #3). The caller first moves the dialog focus to the Menu
// button. Returns whether the editor window was created.
bool openNameEditor(UINT notifyMessage, HWND mainDialog);

// The panel's context menu at a point in the main dialog's client
// coordinates; groupBoxId names the panel (IDC_GROUP1, IDC_GROUP2, anything
// else is timer #3). Returns the chosen command, 0 when dismissed, -1 when
// the menu cannot be built.
int showTimerPanelMenu(HWND mainDialog, POINT clientPoint, int groupBoxId);

// Gives timer index its default name again, in the settings record and on
// its panel. Returns false (and changes nothing) when it already has it.
bool restoreDefaultTimerName(HWND mainDialog, int index);

#endif
