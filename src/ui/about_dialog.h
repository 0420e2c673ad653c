// The About dialog (template 103).
#ifndef KELVARO_UI_ABOUT_DIALOG_H
#define KELVARO_UI_ABOUT_DIALOG_H

#include <windows.h>

INT_PTR CALLBACK aboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Hands a web address (system code page) to the shell's "open" verb.
// Returns whether the shell accepted it.
bool openWebAddress(const char* address, HWND owner);

#endif
