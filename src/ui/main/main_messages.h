// The main dialog's own messages, sent by its panels' controls and by the
// shell; the Settings dialog's is WM_OPTION_CHANGED (WM_APP + 1).
#ifndef KELVARO_UI_MAIN_MAIN_MESSAGES_H
#define KELVARO_UI_MAIN_MAIN_MESSAGES_H

#include <windows.h>

// F2 on a control of panel wParam.
constexpr UINT WM_RENAME_PANEL = WM_APP + 2;

// The notification-area icon's callback (version 4: lParam the event and
// the icon's id, wParam the point).
constexpr UINT WM_TRAY_CALLBACK = WM_APP + 3;

#endif
