#include "ui/main/panel_keys.h"

#include "base/callback_boundary.h"
#include "base/dialog_helpers.h"
#include "base/subclass.h"
#include "resource.h"
#include "ui/main/main_messages.h"
#include "ui/main/main_state.h"
#include "ui/main/name_editor.h"
#include "ui/main/panel_menu.h"
#include "ui/main/panels.h"

namespace {

// The panel whose button or list has this id, or -1.
int panelOfMenuControl(int controlId)
{
    for (const int index : {panelOfButton(controlId), panelOfUnitCombo(controlId), panelOfEventCombo(controlId)}) {
        if (index >= 0)
            return index;
    }
    return -1;
}

// The panel of any of its controls, or -1.
int panelOfControl(int controlId)
{
    const int index = panelOfMenuControl(controlId);
    return index >= 0 ? index : panelOfEdit(controlId);
}

void renameFromKeyboard(HWND control)
{
    const int index = panelOfControl(GetDlgCtrlID(control));
    if (index >= 0)
        SendMessageA(GetParent(control), WM_RENAME_PANEL, static_cast<WPARAM>(index), 0);
}

// Shift+F10 comes as a system key without Alt; the menu key opens on its release.
bool isMenuKey(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SYSKEYDOWN && wParam == VK_F10)
        return (HIWORD(lParam) & KF_ALTDOWN) == 0 && GetKeyState(VK_SHIFT) < 0;
    return message == WM_KEYUP && wParam == VK_APPS;
}

// F2 and the menu keys reach only the focused control, never the dialog, so
// each control gets them here. A duration edit keeps its own menu: F2 only.
LRESULT CALLBACK renameKeyProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_KEYDOWN && wParam == VK_F2) {
        renameFromKeyboard(control);
        return 0;
    }
    return callPreviousProc(control, message, wParam, lParam);
}

// The menu keys become the WM_CONTEXTMENU the system would make, and are kept
// from the control: a combo box hands keys to its list, which the dialog
// never hears from, and Wine makes nothing of the menu key.
LRESULT CALLBACK menuControlKeysProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (isMenuKey(message, wParam, lParam)) {
        SendMessageA(GetParent(control), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(control), -1);
        return 0;
    }
    if (message == WM_KEYDOWN && wParam == VK_APPS)
        return 0;
    return renameKeyProc(control, message, wParam, lParam);
}

bool fromKeyboard(LPARAM lParam)
{
    return static_cast<short>(LOWORD(lParam)) == -1 && static_cast<short>(HIWORD(lParam)) == -1;
}

} // namespace

void attachPanelKeys(HWND dialog)
{
    for (const PanelIds& panel : panels) {
        for (const int id : {panel.button, panel.unitCombo, panel.eventCombo}) {
            if (const HWND control = GetDlgItem(dialog, id))
                subclassControl(control, guardedSubclassProc<menuControlKeysProc>);
        }
        if (const HWND edit = GetDlgItem(dialog, panel.edit))
            subclassControl(edit, guardedSubclassProc<renameKeyProc>);
    }
}

INT_PTR onPanelContextMenu(MainDialogState& state, WPARAM wParam, LPARAM lParam)
{
    const HWND dialog = state.dialog;
    const HWND control = reinterpret_cast<HWND>(wParam);
    if (!fromKeyboard(lParam) || control == nullptr || GetParent(control) != dialog)
        return FALSE;
    // A duration edit shows its own menu and never passes the message on.
    const int id = GetDlgCtrlID(control);
    const int index = panelOfMenuControl(id);
    if (index < 0)
        return FALSE;
    const RECT rect = clientRectOfControl(dialog, id);
    showTimerPanelMenu(state, POINT{rect.left, rect.bottom}, index);
    return TRUE;
}

// The focus goes to Menu first, as for a double-click in the title band, so
// that a duration being typed is checked before the editor opens.
INT_PTR onRenamePanel(MainDialogState& state, WPARAM index)
{
    if (index >= static_cast<WPARAM>(timerCount))
        return FALSE;
    moveDialogFocus(state.dialog, IDC_MENU);
    openNameEditor(state, static_cast<int>(index));
    return TRUE;
}
