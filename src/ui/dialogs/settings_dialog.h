// The Settings dialog (template 107).
#ifndef KELVARO_UI_DIALOGS_SETTINGS_DIALOG_H
#define KELVARO_UI_DIALOGS_SETTINGS_DIALOG_H

#include "settings/settings.h"

#include <windows.h>

// Sent to the owner, the main dialog, whenever the dialog changes an option
// (wParam: the Option) or puts it back, so that its effect shows at once.
constexpr UINT WM_OPTION_CHANGED = WM_APP + 1;

// Shows the dialog over owner until it is closed: IDOK when the texts were
// taken over, IDCANCEL, or -1 when it could not be shown.
INT_PTR runSettingsDialog(HWND owner);

#endif
