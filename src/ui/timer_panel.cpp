#include "ui/timer_panel.h"

#include "base/app.h"
#include "base/display_scale_win.h"
#include "events/catalogue.h"
#include "resource.h"
#include "settings/settings.h"
#include "timers/duration.h"
#include "timers/panels.h"
#include "ui/panel_labels.h"

namespace {

BandRect toBandRect(const RECT& rect)
{
    return BandRect{rect.left, rect.top, rect.right, rect.bottom};
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

void setTimerButtonIcon(HWND dialog, int index, int iconId)
{
    const int buttonId = panels[index].button;
    destroyButtonIcon(dialog, buttonId);
    SendDlgItemMessageA(dialog, buttonId, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(loadScaledIcon(dialog, iconId, 32)));
}

BandRect titleBandOfPanel(HWND dialog, int index)
{
    return titleBandRect(toBandRect(clientRectOfControl(dialog, panels[index].groupBox)),
                         toBandRect(clientRectOfControl(dialog, panels[index].button)));
}
