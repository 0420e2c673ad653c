// Alerts of the main dialog: flashing at time-up, the time-is-up icon on a
// timer's button, and the running countdowns in the caption.
#include "ui/alerts.h"

#include "base/app.h"
#include "base/strings.h"
#include "resource.h"
#include "settings/settings.h"
#include "timers/countdown.h"
#include "timers/duration.h"
#include "ui/timer_panel.h"

#include <string>

bool flashPending = false;

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

void startFlash(HWND dialog)
{
    // In the foreground four blinks are enough; otherwise (minimised too)
    // keep flashing until the user comes back to the window.
    if (GetForegroundWindow() == dialog && !IsIconic(dialog)) {
        flashWindow(dialog, FLASHW_ALL, 4, 500);
        return;
    }
    flashPending = true;
    flashWindow(dialog, FLASHW_ALL | FLASHW_TIMER, 0xFFFFFFFFu, 500);
}

void stopFlash(HWND dialog)
{
    flashWindow(dialog, FLASHW_ALL, 0, 0);
    flashPending = false;
}

void resetTimeUpIcon(HWND dialog, int index)
{
    if (index < 0 || index >= timerCount || !clearTimeUpMark(timerRuntime[index]))
        return;
    setTimerButtonIcon(dialog, index, IDI_READY);
    playResourceSound(IDW_SWITCH_OFF);
}

void refreshTitleBar(HWND dialog, bool plain)
{
    std::string caption;
    char pausedSuffix[32] = "";
    loadString(IDS_PAUSED_SUFFIX, pausedSuffix, sizeof pausedSuffix);
    for (int index = 0; index < timerCount && !plain; ++index) {
        const TimerRuntime& runtime = timerRuntime[index];
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
