// PLACEHOLDER: replaced by the owner of this file.
#include "ui/about_dialog.h"
INT_PTR CALLBACK aboutDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }
