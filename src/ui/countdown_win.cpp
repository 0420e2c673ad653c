// The countdown engine on the main dialog: Start and Stop of a timer, the
// 200 ms tick, and the time-up sequence with its event and alerts.
#include "ui/countdown_win.h"

#include "base/app.h"
#include "base/strings.h"
#include "events/execute.h"
#include "resource.h"
#include "settings/settings.h"
#include "timers/countdown.h"
#include "timers/panels.h"
#include "ui/alerts.h"
#include "ui/due_timer.h"
#include "ui/timer_panel.h"

namespace {

// Counts every Start of each timer. A tick compares them with the values it
// began with, so a timer started while the tick waits inside an event's
// shell call is not measured against that tick's older message time.
unsigned startCount[timerCount];

// What the one-shot due timer is set for.
DueTimerState dueTimer = {};

void setButtonText(HWND dialog, int index, unsigned stringId)
{
    char text[32];
    loadString(stringId, text, sizeof text);
    SetDlgItemTextA(dialog, panels[index].button, text);
}

void enablePanelInputs(HWND dialog, int index, bool enable)
{
    EnableWindow(GetDlgItem(dialog, panels[index].edit), enable ? TRUE : FALSE);
    EnableWindow(GetDlgItem(dialog, panels[index].unitCombo), enable ? TRUE : FALSE);
}

void startTimer(HWND dialog, int index, bool shiftDown, HWND focus)
{
    const PanelIds& panel = panels[index];
    TimerRuntime& runtime = timerRuntime[index];
    ++startCount[index];
    startCountdown(runtime, settings.timers[index].valueMs, GetTickCount());
    showTimerDuration(dialog, index, runtime.shownSeconds * 1000u, false);
    setButtonText(dialog, index, IDS_STOP);
    setTimerButtonIcon(dialog, index, IDI_RUNNING);
    // Disabling a control that has the focus would leave the dialog without one.
    if (focus != nullptr && (focus == GetDlgItem(dialog, panel.edit) || focus == GetDlgItem(dialog, panel.unitCombo)))
        moveDialogFocus(dialog, panel.button);
    enablePanelInputs(dialog, index, false);
    playResourceSound(IDW_START);
    if (shiftDown)
        ShowWindow(dialog, SW_MINIMIZE);
}

void stopTimer(HWND dialog, int index, bool user)
{
    TimerRuntime& runtime = timerRuntime[index];
    stopCountdown(runtime, user, settings.useAltIconOnTimerUp);
    setButtonText(dialog, index, IDS_START);
    setTimerButtonIcon(dialog, index, runtime.altIconShown ? IDI_TIME_UP : IDI_READY);
    showTimerDuration(dialog, index, settings.timers[index].valueMs, true);
    enablePanelInputs(dialog, index, true);
    if (user)
        playResourceSound(IDW_STOP);
}

// Pause freezes the display at the exact time left; resume counts on from it.
void pauseOrResume(HWND dialog, int index)
{
    TimerRuntime& runtime = timerRuntime[index];
    const std::uint32_t valueMs = settings.timers[index].valueMs;
    if (runtime.paused) {
        resumeCountdown(runtime, valueMs, GetTickCount());
        playResourceSound(IDW_START);
    } else {
        pauseCountdown(runtime, valueMs, GetTickCount());
        showTimerDuration(dialog, index, runtime.shownSeconds * 1000u, false);
        playResourceSound(IDW_STOP);
    }
    setTimerButtonIcon(dialog, index, stateIcon(timerStateOf(runtime)));
}

// A repeating timer goes on with its next round instead of stopping; the
// button, the sounds and the disabled inputs stay as they are while it runs.
void startNextRoundOf(HWND dialog, int index, std::uint32_t now)
{
    TimerRuntime& runtime = timerRuntime[index];
    startNextRound(runtime, settings.timers[index].valueMs, now);
    showTimerDuration(dialog, index, runtime.shownSeconds * 1000u, false);
    if (settings.showTimerInTitleBar)
        refreshTitleBar(dialog, false);
}

// Final display, caption, flash, the event once, a pause, then the stop,
// or for a repeating timer the next round, due from the moment this one was.
void runTimeUp(HWND dialog, int index, std::uint32_t now)
{
    const PanelIds& panel = panels[index];
    const unsigned startsBefore = startCount[index];
    showTimerDuration(dialog, index, 0, false);
    UpdateWindow(GetDlgItem(dialog, panel.edit));
    if (settings.showTimerInTitleBar)
        refreshTitleBar(dialog, false);
    if (settings.flashWndOnTimerUp)
        startFlash(dialog);
    if (claimEventFiring(timerRuntime[index]))
        fireTimerEvent(settings.timers[index].event);
    Sleep(200);
    // The user may have stopped or restarted the timer while the event ran.
    const bool sameRun = timerRuntime[index].running && startCount[index] == startsBefore;
    if (settings.timers[index].repeat && sameRun)
        startNextRoundOf(dialog, index, now);
    else
        SendMessageA(dialog, WM_COMMAND, panel.timeUpCommand, 0);
}

// One pass over the running timers at time now, on the tick or when one is due.
void advanceTimers(HWND dialog, std::uint32_t now)
{
    unsigned startsAtTick[timerCount];
    for (int index = 0; index < timerCount; ++index)
        startsAtTick[index] = startCount[index];
    bool changed = false;
    for (int index = 0; index < timerCount; ++index) {
        TimerRuntime& runtime = timerRuntime[index];
        if (!runtime.running || runtime.paused || startCount[index] != startsAtTick[index])
            continue;
        switch (advanceCountdown(runtime, settings.timers[index].valueMs, now)) {
        case CountdownStep::changed:
            showTimerDuration(dialog, index, runtime.shownSeconds * 1000u, false);
            changed = true;
            break;
        case CountdownStep::timeUp:
            runTimeUp(dialog, index, now);
            break;
        case CountdownStep::unchanged:
            break;
        }
    }
    if (changed && settings.showTimerInTitleBar)
        refreshTitleBar(dialog, false);
}

// Set again after anything that moves the earliest due moment.
void rearm(HWND dialog, bool force)
{
    rearmDueTimer(dialog, dueTimer, timerRuntime, settings.timers, force);
}

} // namespace

void startStopTimer(HWND dialog, int index, bool user)
{
    if (index < 0 || index >= timerCount)
        return;
    // The time-is-up command only ever stops: a tick handled inside the
    // event may already have stopped this timer, and must not restart it.
    if (!user && !timerRuntime[index].running)
        return;
    const bool shiftDown = GetKeyState(VK_SHIFT) < 0;
    const HWND focus = GetFocus();
    // Ctrl with a click, Space or Enter pauses or resumes a running timer.
    if (user && timerRuntime[index].running && GetKeyState(VK_CONTROL) < 0) {
        togglePause(dialog, index);
        return;
    }
    if (timerRuntime[index].running)
        stopTimer(dialog, index, user);
    else
        startTimer(dialog, index, shiftDown, focus);
    rearm(dialog, false);
    if (settings.showTimerInTitleBar)
        refreshTitleBar(dialog, false);
}

void togglePause(HWND dialog, int index)
{
    if (index < 0 || index >= timerCount || !canTogglePause(timerRuntime[index]))
        return;
    pauseOrResume(dialog, index);
    rearm(dialog, false);
    if (settings.showTimerInTitleBar)
        refreshTitleBar(dialog, false);
}

void onTimerTick(HWND dialog)
{
    if (runningTimerCount() == 0)
        return;
    advanceTimers(dialog, static_cast<std::uint32_t>(GetMessageTime()));
    rearm(dialog, false);
}

void onDueTimer(HWND dialog)
{
    advanceTimers(dialog, GetTickCount());
    rearm(dialog, true);
}
