// The Settings dialog's Browse buttons: the system's file-open dialog, with a
// sound preview for .wav files.
#ifndef KELVARO_UI_DIALOGS_FILE_DIALOGS_H
#define KELVARO_UI_DIALOGS_FILE_DIALOGS_H

#include <windows.h>

// Lets the user pick a .wav file for the sound row whose file edit is editId.
void browseForSoundFile(HWND settingsDialog, int editId);

// Lets the user pick a document or application for the open file row whose
// command edit is editId; the choice replaces the whole command.
void browseForOpenFile(HWND settingsDialog, int editId);

#endif
