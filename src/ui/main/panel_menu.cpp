#include "ui/main/panel_menu.h"

#include "base/dialog_helpers.h"
#include "base/owned_handle.h"
#include "base/strings.h"
#include "resource.h"
#include "settings/settings.h"
#include "settings/settings_rules.h"
#include "timers/countdown.h"
#include "ui/common/menu_bitmap.h"
#include "ui/common/popup_menu.h"
#include "ui/main/alerts.h"
#include "ui/main/countdown_win.h"
#include "ui/main/main_state.h"
#include "ui/main/name_editor.h"

namespace {

// The pause entry names what it does to the timer now.
UINT pauseCommandOf(const TimerRuntime& runtime)
{
    return runtime.paused ? IDM_RESUME : IDM_PAUSE;
}

bool appendEntry(HMENU menu, UINT flags, UINT commandId)
{
    char text[128];
    loadString(commandId, text, sizeof text);
    return AppendMenuA(menu, MF_STRING | flags, commandId, text) != FALSE;
}

UINT enabledIf(bool enabled)
{
    return enabled ? 0 : MF_GRAYED | MF_DISABLED;
}

// The entries in order; false when one cannot be added. Only the entries
// shown get a picture. The repeat entry's stands in for its check mark: the
// repeat arrows while off, a check while on.
bool appendEntries(HMENU menu, const TimerRuntime& runtime, int index, MenuBitmaps& bitmaps)
{
    const TimerSettings& timer = settings.timers[index];
    if (!appendEntry(menu, 0, IDM_MODIFY_NAME))
        return false;
    attachMenuIcon(menu, IDM_MODIFY_NAME, MF_BYCOMMAND, IDI_RENAME, bitmaps);
    if (!appendEntry(menu, enabledIf(!isDefaultTimerName(timer.label, defaultTimerNameIds[index])), IDM_RESET_NAME))
        return false;
    attachMenuIcon(menu, IDM_RESET_NAME, MF_BYCOMMAND, IDI_RESET, bitmaps);
    if (runtime.running) {
        if (!appendEntry(menu, 0, pauseCommandOf(runtime)))
            return false;
        attachMenuIcon(menu, pauseCommandOf(runtime), MF_BYCOMMAND, runtime.paused ? IDI_PLAY : IDI_PAUSE, bitmaps);
    }
    if ((settings.useAltIconOnTimerUp || runtime.altIconShown)
        && !appendEntry(menu, enabledIf(runtime.altIconShown), IDM_RESET_ICON))
        return false;
    // Offered in every state, so that a timer can be set to repeat before it starts.
    if (!appendEntry(menu, timer.repeat ? MF_CHECKED : MF_UNCHECKED, IDM_REPEAT))
        return false;
    attachMenuIcon(menu, IDM_REPEAT, MF_BYCOMMAND, timer.repeat ? IDI_OK : IDI_REPEAT, bitmaps);
    return AppendMenuA(menu, MF_SEPARATOR, 0, nullptr) && appendEntry(menu, 0, IDM_CLOSE_MENU);
}

int choosePanelCommand(const MainDialogState& state, POINT clientPoint, int index)
{
    POINT screenPoint = clientPoint;
    ClientToScreen(state.dialog, &screenPoint);
    MenuBitmaps bitmaps(state.dialog);
    OwnedMenu menu(CreatePopupMenu());
    if (!menu || !appendEntries(menu.get(), state.runtimes[index], index, bitmaps))
        return -1;
    return trackAndDestroyMenu(menu, screenPoint, state.dialog);
}

} // namespace

int showTimerPanelMenu(MainDialogState& state, POINT clientPoint, int index)
{
    const int command = choosePanelCommand(state, clientPoint, index);
    switch (command) {
    case IDM_MODIFY_NAME:
        moveDialogFocus(state.dialog, IDC_MENU);
        openNameEditor(state, index);
        break;
    case IDM_RESET_NAME:
        restoreDefaultTimerName(state.dialog, index);
        break;
    case IDM_RESET_ICON:
        resetTimeUpIcon(state, index);
        break;
    case IDM_PAUSE:
    case IDM_RESUME:
        togglePause(state, index);
        break;
    case IDM_REPEAT:
        setTimerRepeat(index, !settings.timers[index].repeat);
        break;
    default:
        break;
    }
    return command;
}
