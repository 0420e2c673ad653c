// The desktop shortcut to the program.
#ifndef KELVARO_UI_MAIN_SHORTCUT_H
#define KELVARO_UI_MAIN_SHORTCUT_H

// Plays the success or the failure sound itself.
bool createDesktopShortcut();

// Writes fileName + ".lnk" into the current user's desktop folder, replacing
// a read-only one. Negative on failure: -1 or the failing COM result.
long createShortcutFile(const char* fileName, const char* description);

// Saves a shell link to the program at path; no description when it is null.
// The COM result of the save, or a negative code.
long writeShellLink(const char* path, const char* description);

// True when the folder exists afterwards, creating missing levels.
bool ensureDirectoryExists(const char* path);

#endif
