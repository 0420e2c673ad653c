// The main dialog's side of the timer panels' title bands: the smart cursor,
// the clicks, and the name editor's result. Group boxes take no mouse input,
// so clicks on a panel's caption line arrive at the dialog itself.
#include "ui/main/title_band.h"

#include "base/dialog_helpers.h"
#include "base/process.h"
#include "resource.h"
#include "settings/settings.h"
#include "ui/main/panels.h"
#include "ui/main/alerts.h"
#include "ui/main/main_state.h"
#include "ui/main/name_editor.h"
#include "ui/main/panel_menu.h"
#include "ui/main/timer_panel.h"
#include "base/geometry.h"

namespace {

// The first panel (#1, #2, #3) whose band holds the client point, or -1.
int titleBandAt(HWND dialog, int x, int y)
{
    for (int index = 0; index < timerCount; ++index) {
        if (pointInRect(titleBandOfPanel(dialog, index), x, y))
            return index;
    }
    return -1;
}

void onBandDoubleClick(MainDialogState& state, int index, WPARAM keys)
{
    if (keys & MK_CONTROL) {
        restoreDefaultTimerName(state.dialog, index);
        return;
    }
    moveDialogFocus(state.dialog, IDC_MENU);
    openNameEditor(state, index);
}

} // namespace

INT_PTR onTitleBandSetCursor(HWND dialog)
{
    if (!settings.displaySmartCursors)
        return FALSE;
    const DWORD position = GetMessagePos();
    POINT point = {static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
    ScreenToClient(dialog, &point);
    if (titleBandAt(dialog, point.x, point.y) < 0)
        return FALSE;
    SetCursor(app.smartCursor);
    return handledResult(dialog, 1);
}

INT_PTR onTitleBandMouse(MainDialogState& state, UINT message, WPARAM wParam, LPARAM lParam)
{
    const HWND dialog = state.dialog;
    const POINT point = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    const int index = titleBandAt(dialog, point.x, point.y);
    if (index < 0)
        return FALSE;
    switch (message) {
    case WM_LBUTTONDOWN:
        resetTimeUpIcon(state, index);
        break;
    case WM_LBUTTONDBLCLK:
        onBandDoubleClick(state, index, wParam);
        break;
    case WM_RBUTTONUP:
        showTimerPanelMenu(state, point, index);
        break;
    default:
        return FALSE;
    }
    return handledResult(dialog, 1);
}

// Only the program's own editor sends this with its request; anything else
// that arrives as the same message is ignored.
INT_PTR onNameEdited(MainDialogState& state, LPARAM lParam)
{
    const NameEditRequest& request = state.nameEdit;
    if (lParam != reinterpret_cast<LPARAM>(&request))
        return FALSE;
    const HWND mainDialog = state.dialog;
    showTimerName(mainDialog, request.index);
    const int valueEditId = panels[request.index].edit;
    if (request.enterPressed && IsWindowEnabled(GetDlgItem(mainDialog, valueEditId)))
        moveDialogFocus(mainDialog, valueEditId);
    return FALSE;
}
