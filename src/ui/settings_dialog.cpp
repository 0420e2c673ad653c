// PLACEHOLDER: replaced by the owner of this file.
#include "ui/settings_dialog.h"
INT_PTR CALLBACK settingsDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }
