// The timers at a glance outside the main dialog: progress on its taskbar
// button, and the optional notification-area icon with its tip, its
// notices at time-up and its clicks.
#ifndef KELVARO_UI_MAIN_GLANCE_WIN_H
#define KELVARO_UI_MAIN_GLANCE_WIN_H

#include "base/owned_handle.h"
#include "settings/settings.h"
#include "timers/countdown.h"
#include "timers/glance.h"

#include <windows.h>
#include <shobjidl.h>

#include <string>

struct Glance {
    UINT taskbarButtonCreated;   // registered messages, 0 until startGlance
    UINT taskbarCreated;
    ComRef<ITaskbarList3> taskbar;   // only after the shell made the button
    bool progressShown;
    TaskbarProgress shownProgress;
    bool iconAdded;
    bool addFailed;              // not tried again until the shell restarts or the option changes
    bool optionWasOn;
    std::string shownTip;
    TrayPicture shownPicture;
    int shownIconSize;
    int iconSize;                // the small-icon size at the dialog's scale, measured when the scale changes
    OwnedIcon icon;
    std::string title;           // the program's name and the paused suffix, loaded once
    std::string pausedSuffix;
};

// At WM_INITDIALOG: registers the shell's messages and lets them through
// the message filter.
void startGlance(HWND dialog, Glance& glance);

// At every tick: the progress and the icon follow the timers and the option;
// nothing is called when nothing changed.
void updateGlance(HWND dialog, Glance& glance, const TimerRuntime (&runtimes)[timerCount],
                  const SettingsRecord& record);

// The shell's registered messages and the icon's callback; FALSE for any
// other message.
INT_PTR onGlanceMessage(HWND dialog, Glance& glance, UINT message, WPARAM wParam, LPARAM lParam,
                        const TimerRuntime (&runtimes)[timerCount], const SettingsRecord& record);

// At a time-up of timer index: a notice from the icon, when the icon is
// shown and the user is in another window.
void showTimeUpNotice(HWND dialog, const Glance& glance, int index, const SettingsRecord& record);

// WM_DPICHANGED: the icon's size for the new scale, shown at once.
void onGlanceScaleChanged(HWND dialog, Glance& glance, const TimerRuntime (&runtimes)[timerCount],
                          const SettingsRecord& record);

// WM_SIZE: while the icon is shown, a minimised dialog leaves the taskbar.
INT_PTR onGlanceSize(HWND dialog, const Glance& glance, WPARAM wParam);

// At WM_DESTROY: the icon deleted, the taskbar released.
void endGlance(HWND dialog, Glance& glance);

#endif
