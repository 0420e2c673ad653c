#include "ui/main/timer_panel.h"

#include "base/geometry_win.h"
#include "base/dialog_helpers.h"
#include "base/process.h"
#include "base/display_scale_win.h"
#include "events/catalogue.h"
#include "resource.h"
#include "settings/settings.h"
#include "timers/duration.h"
#include "ui/common/dialog_icons.h"
#include "ui/main/main_state.h"
#include "ui/main/panel_labels.h"
#include "ui/main/panels.h"

namespace {

// The Start/Stop button's icon for a timer's state.
int stateIcon(TimerState state)
{
    switch (state) {
    case TimerState::paused:
        return IDI_PAUSED;
    case TimerState::running:
    case TimerState::up:
        return IDI_RUNNING;
    case TimerState::upMarked:
        return IDI_TIME_UP;
    case TimerState::idle:
        break;
    }
    return IDI_READY;
}

} // namespace

void showTimerDuration(HWND dialog, int index, std::uint32_t ms, bool full)
{
    char text[durationTextSize];
    formatDuration(ms, settings.timers[index].unit, full, text, sizeof text);
    SetDlgItemTextA(dialog, panels[index].edit, text);
}

void showTimerName(HWND dialog, int index)
{
    SetDlgItemTextA(dialog, panels[index].groupBox, settings.timers[index].label);
    showPanelLabels(dialog, index, settings.timers[index].label);
}

void fillEventCombo(HWND dialog, int index)
{
    const HWND combo = GetDlgItem(dialog, panels[index].eventCombo);
    SendMessageA(combo, WM_SETREDRAW, FALSE, 0);
    SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    for (std::uint32_t id = BuiltInSound1; id <= OpenFile3; ++id) {
        char text[labelSize + 32];
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(eventText(id, text, sizeof text)));
    }
    SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(settings.timers[index].event - 1), 0);
    SendMessageA(combo, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(combo, nullptr, TRUE);
}

void showTimerState(MainDialogState& state, int index)
{
    const HICON icon = loadScaledIcon(state.dialog, stateIcon(timerStateOf(state.runtimes[index])), 32);
    setButtonIcon(state.dialog, panels[index].button, state.timerIcons[index], icon);
}

Rect32 titleBandOfPanel(HWND dialog, int index)
{
    return titleBandRect(toRect32(clientRectOfControl(dialog, panels[index].groupBox)),
                         toRect32(clientRectOfControl(dialog, panels[index].button)));
}
