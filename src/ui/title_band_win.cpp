// The main dialog's side of the timer panels' title bands: the smart cursor,
// the clicks, and the name editor's result. Group boxes take no mouse input,
// so clicks on a panel's caption line arrive at the dialog itself.
#include "ui/title_band_win.h"

#include "base/app.h"
#include "resource.h"
#include "settings/settings.h"
#include "timers/countdown.h"
#include "timers/panels.h"
#include "ui/alerts.h"
#include "ui/name_editor.h"
#include "ui/timer_panel.h"
#include "ui/title_band.h"

namespace {

// The first panel (#1, #2, #3) whose band holds the client point, or -1.
int titleBandAt(HWND dialog, int x, int y)
{
    for (int index = 0; index < timerCount; ++index) {
        if (pointInBand(titleBandOfPanel(dialog, index), x, y))
            return index;
    }
    return -1;
}

void onBandClick(HWND dialog, int index)
{
    if (timerRuntime[index].altIconShown)
        resetTimeUpIcon(dialog, index);
}

void onBandDoubleClick(HWND dialog, int index, WPARAM keys)
{
    if (keys & MK_CONTROL) {
        restoreDefaultTimerName(dialog, index);
        return;
    }
    moveDialogFocus(dialog, IDC_MENU);
    openNameEditor(dialog, index);
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

INT_PTR onTitleBandMouse(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    const POINT point = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    const int index = titleBandAt(dialog, point.x, point.y);
    if (index < 0)
        return FALSE;
    switch (message) {
    case WM_LBUTTONDOWN:
        onBandClick(dialog, index);
        break;
    case WM_LBUTTONDBLCLK:
        onBandDoubleClick(dialog, index, wParam);
        break;
    case WM_RBUTTONUP:
        showTimerPanelMenu(dialog, point, index);
        break;
    default:
        return FALSE;
    }
    return handledResult(dialog, 1);
}

INT_PTR onNameEdited(HWND, LPARAM lParam)
{
    const NameEditRequest* request = reinterpret_cast<const NameEditRequest*>(lParam);
    if (request == nullptr)
        return FALSE;
    const HWND mainDialog = request->mainDialog;
    showTimerName(mainDialog, request->index);
    const int valueEditId = panels[request->index].edit;
    if (request->enterPressed && IsWindowEnabled(GetDlgItem(mainDialog, valueEditId)))
        moveDialogFocus(mainDialog, valueEditId);
    return FALSE;
}
