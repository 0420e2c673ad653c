// The About dialog (template 103).
#ifndef KELVARO_UI_DIALOGS_ABOUT_DIALOG_H
#define KELVARO_UI_DIALOGS_ABOUT_DIALOG_H

#include <windows.h>

// Shows the dialog over owner until it is closed; -1 when it could not be shown.
INT_PTR runAboutDialog(HWND owner);

#endif
