// The main dialog: three timer panels, the keep-on-top box and the Menu button.
#ifndef KELVARO_UI_MAIN_DIALOG_H
#define KELVARO_UI_MAIN_DIALOG_H

#include <windows.h>

INT_PTR CALLBACK mainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

#endif
