// Alerts of the main dialog: flashing at time-up, the time-is-up icon on a
// timer's button, and the running countdowns in the caption.
#include "ui/main/alerts.h"

#include "base/process.h"
#include "base/sound.h"
#include "base/strings.h"
#include "resource.h"
#include "settings/settings.h"
#include "timers/countdown.h"
#include "timers/duration.h"
#include "ui/main/main_state.h"
#include "ui/main/timer_panel.h"

#include <string>

namespace {

void flashWindow(HWND dialog, DWORD flags, UINT count, DWORD interval)
{
    FLASHWINFO info = {};
    info.cbSize = sizeof info;
    info.hwnd = dialog;
    info.dwFlags = flags;
    info.uCount = count;
    info.dwTimeout = interval;
    FlashWindowEx(&info);
}

} // namespace

void startFlash(MainDialogState& state)
{
    // In the foreground four blinks are enough; otherwise (minimised too)
    // keep flashing until the user comes back to the window.
    const HWND dialog = state.dialog;
    if (GetForegroundWindow() == dialog && !IsIconic(dialog)) {
        flashWindow(dialog, FLASHW_ALL, 4, 500);
        return;
    }
    state.flashPending = true;
    flashWindow(dialog, FLASHW_ALL | FLASHW_TIMER, 0xFFFFFFFFu, 500);
}

void stopFlash(MainDialogState& state)
{
    flashWindow(state.dialog, FLASHW_ALL, 0, 0);
    state.flashPending = false;
}

void resetTimeUpIcon(MainDialogState& state, int index)
{
    if (index < 0 || index >= timerCount || !clearTimeUpMark(state.runtimes[index]))
        return;
    showTimerState(state, index);
    playResourceSound(IDW_SWITCH_OFF);
}

void refreshTitleBar(HWND dialog, const TimerRuntime (&runtimes)[timerCount], bool plain)
{
    std::string caption;
    char pausedSuffix[32] = "";
    loadString(IDS_PAUSED_SUFFIX, pausedSuffix, sizeof pausedSuffix);
    for (int index = 0; index < timerCount && !plain; ++index) {
        const TimerRuntime& runtime = runtimes[index];
        if (!runtime.running)
            continue;
        char text[durationTextSize];
        formatDuration(runtime.shownSeconds * 1000u, settings.timers[index].unit, false, text, sizeof text);
        if (!caption.empty())
            caption += " | ";
        caption += text;
        if (runtime.paused)
            caption += pausedSuffix;
    }
    if (caption.empty()) {
        char title[64];
        loadString(IDS_TITLE, title, sizeof title);
        caption = title;
    }
    SetWindowTextA(dialog, caption.c_str());
}
