// The Settings dialog (template 107).
#ifndef KELVARO_UI_SETTINGS_DIALOG_H
#define KELVARO_UI_SETTINGS_DIALOG_H

#include <windows.h>

INT_PTR CALLBACK settingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

#endif
