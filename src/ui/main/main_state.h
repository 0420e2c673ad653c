// Everything the main dialog holds while it is open. Made with the dialog,
// kept at DWLP_USER from WM_INITDIALOG on and gone with it; every handler of
// the main dialog, its panels, menus and name editor takes it as an argument.
#ifndef KELVARO_UI_MAIN_MAIN_STATE_H
#define KELVARO_UI_MAIN_MAIN_STATE_H

#include "base/owned_handle.h"
#include "settings/settings.h"
#include "timers/arming.h"
#include "timers/countdown.h"
#include "ui/common/dialog_icons.h"
#include "ui/main/glance_win.h"

#include <windows.h>

// The name editor open over one panel's caption. Its window reaches it
// through its creation parameter and hands it back with the panel's result
// message (WM_NAME_EDITED1..3) when it commits.
struct NameEditRequest {
    HWND mainDialog;
    int index;            // the timer being renamed
    HWND editorWindow;    // null while no editor is open
    HWND editWindow;      // null once the name is committed
    OwnedFont font;
    bool enterPressed;    // the edit ended with Enter
};

struct MainDialogState {
    HWND dialog;
    TimerRuntime runtimes[timerCount];
    // Counts every Start of each timer. A tick compares them with the values
    // it began with, so a timer started while the tick waits inside an
    // event's shell call is not measured against that tick's older message time.
    unsigned startCounts[timerCount];
    bool tickRunning;
    DueTimerState dueTimer;   // what the one-shot time-up timer is set for
    // A continuous flash was started because the dialog was in the background.
    bool flashPending;
    // Enter in a duration edit starts its timer unless the edit's validation objects.
    bool enterStartPending;
    NameEditRequest nameEdit;
    OwnedIcon timerIcons[timerCount];   // each Start/Stop button's, as its timer's state asks
    HeldIcons fixedIcons;               // the Menu button's and the caption's
    Glance glance;                      // the taskbar progress and the notification-area icon
};

#endif
