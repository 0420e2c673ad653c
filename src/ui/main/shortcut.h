// The desktop shortcut to the program.
#ifndef KELVARO_UI_MAIN_SHORTCUT_H
#define KELVARO_UI_MAIN_SHORTCUT_H

// Plays the success or the failure sound itself.
bool createDesktopShortcut();

#endif
