// The countdown engine on the main dialog: Start and Stop of a timer, the
// 200 ms tick, and the time-up sequence with its event and alerts.
#include "ui/main/countdown_win.h"

#include "base/dialog_helpers.h"
#include "base/process.h"
#include "base/sound.h"
#include "base/strings.h"
#include "events/execute.h"
#include "resource.h"
#include "settings/settings.h"
#include "timers/countdown.h"
#include "ui/main/panels.h"
#include "ui/main/alerts.h"
#include "ui/main/due_timer.h"
#include "ui/main/main_state.h"
#include "ui/main/timer_panel.h"

namespace {

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

void startTimer(MainDialogState& state, int index, bool shiftDown, HWND focus)
{
    const HWND dialog = state.dialog;
    const PanelIds& panel = panels[index];
    TimerRuntime& runtime = state.runtimes[index];
    ++state.startCounts[index];
    startCountdown(runtime, settings.timers[index].valueMs, GetTickCount());
    showTimerDuration(dialog, index, runtime.shownSeconds * 1000u, false);
    setButtonText(dialog, index, IDS_STOP);
    showTimerState(state, index);
    // Disabling a control that has the focus would leave the dialog without one.
    if (focus != nullptr && (focus == GetDlgItem(dialog, panel.edit) || focus == GetDlgItem(dialog, panel.unitCombo)))
        moveDialogFocus(dialog, panel.button);
    enablePanelInputs(dialog, index, false);
    playResourceSound(IDW_START);
    if (shiftDown)
        ShowWindow(dialog, SW_MINIMIZE);
}

void stopTimer(MainDialogState& state, int index, bool user)
{
    const HWND dialog = state.dialog;
    stopCountdown(state.runtimes[index], user, settings.useAltIconOnTimerUp);
    setButtonText(dialog, index, IDS_START);
    showTimerState(state, index);
    showTimerDuration(dialog, index, settings.timers[index].valueMs, true);
    enablePanelInputs(dialog, index, true);
    if (user)
        playResourceSound(IDW_STOP);
}

// Pause freezes the display at the exact time left; resume counts on from it.
void pauseOrResume(MainDialogState& state, int index)
{
    TimerRuntime& runtime = state.runtimes[index];
    const std::uint32_t valueMs = settings.timers[index].valueMs;
    if (runtime.paused) {
        resumeCountdown(runtime, valueMs, GetTickCount());
        playResourceSound(IDW_START);
    } else {
        pauseCountdown(runtime, valueMs, GetTickCount());
        showTimerDuration(state.dialog, index, runtime.shownSeconds * 1000u, false);
        playResourceSound(IDW_STOP);
    }
    showTimerState(state, index);
}

// A repeating timer goes on with its next round instead of stopping; the
// button, the sounds and the disabled inputs stay as they are while it runs.
void startNextRoundOf(MainDialogState& state, int index, std::uint32_t now)
{
    TimerRuntime& runtime = state.runtimes[index];
    startNextRound(runtime, settings.timers[index].valueMs, now);
    showTimerDuration(state.dialog, index, runtime.shownSeconds * 1000u, false);
    if (settings.showTimerInTitleBar)
        refreshTitleBar(state.dialog, state.runtimes, false);
}

// Final display, caption, flash, the event once, a pause, then the stop,
// or for a repeating timer the next round, due from the moment this one was.
void runTimeUp(MainDialogState& state, int index, std::uint32_t now)
{
    const HWND dialog = state.dialog;
    const PanelIds& panel = panels[index];
    const unsigned startsBefore = state.startCounts[index];
    showTimerDuration(dialog, index, 0, false);
    UpdateWindow(GetDlgItem(dialog, panel.edit));
    if (settings.showTimerInTitleBar)
        refreshTitleBar(dialog, state.runtimes, false);
    if (settings.flashWndOnTimerUp)
        startFlash(state);
    showTimeUpNotice(dialog, state.glance, index, settings);
    if (claimEventFiring(state.runtimes[index]))
        fireTimerEvent(settings.timers[index].event);
    Sleep(200);
    // The user may have stopped or restarted the timer while the event ran.
    const bool sameRun = state.runtimes[index].running && state.startCounts[index] == startsBefore;
    if (settings.timers[index].repeat && sameRun)
        startNextRoundOf(state, index, now);
    else
        SendMessageA(dialog, WM_COMMAND, panel.timeUpCommand, 0);
}

// One pass over the running timers at time now, on the tick or when one is due.
void advanceTimers(MainDialogState& state, std::uint32_t now)
{
    const HWND dialog = state.dialog;
    unsigned startsAtTick[timerCount];
    for (int index = 0; index < timerCount; ++index)
        startsAtTick[index] = state.startCounts[index];
    bool changed = false;
    for (int index = 0; index < timerCount; ++index) {
        TimerRuntime& runtime = state.runtimes[index];
        if (!runtime.running || runtime.paused || state.startCounts[index] != startsAtTick[index])
            continue;
        switch (advanceCountdown(runtime, settings.timers[index].valueMs, now)) {
        case CountdownStep::changed:
            showTimerDuration(dialog, index, runtime.shownSeconds * 1000u, false);
            changed = true;
            break;
        case CountdownStep::timeUp:
            runTimeUp(state, index, now);
            break;
        case CountdownStep::unchanged:
            break;
        }
    }
    if (changed && settings.showTimerInTitleBar)
        refreshTitleBar(dialog, state.runtimes, false);
}

// Set again after anything that moves the earliest due moment; force: the
// one-shot has just fired.
void rearm(MainDialogState& state, bool force)
{
    rearmDueTimer(state.dialog, state.dueTimer, state.runtimes, settings.timers, force);
}

} // namespace

void startStopTimer(MainDialogState& state, int index, bool user)
{
    if (index < 0 || index >= timerCount)
        return;
    const TimerRuntime& runtime = state.runtimes[index];
    // The time-is-up command only ever stops: a tick handled inside the
    // event may already have stopped this timer, and must not restart it.
    if (!user && !runtime.running)
        return;
    const bool shiftDown = GetKeyState(VK_SHIFT) < 0;
    const HWND focus = GetFocus();
    // Ctrl with a click, Space or Enter pauses or resumes a running timer.
    if (user && runtime.running && GetKeyState(VK_CONTROL) < 0) {
        togglePause(state, index);
        return;
    }
    if (runtime.running)
        stopTimer(state, index, user);
    else
        startTimer(state, index, shiftDown, focus);
    rearm(state, false);
    if (settings.showTimerInTitleBar)
        refreshTitleBar(state.dialog, state.runtimes, false);
}

void togglePause(MainDialogState& state, int index)
{
    if (index < 0 || index >= timerCount || !canTogglePause(state.runtimes[index]))
        return;
    pauseOrResume(state, index);
    rearm(state, false);
    if (settings.showTimerInTitleBar)
        refreshTitleBar(state.dialog, state.runtimes, false);
}

void onTimerTick(MainDialogState& state)
{
    if (runningTimerCount(state.runtimes) == 0)
        return;
    advanceTimers(state, static_cast<std::uint32_t>(GetMessageTime()));
    rearm(state, false);
}

void onDueTimer(MainDialogState& state)
{
    advanceTimers(state, GetTickCount());
    rearm(state, true);
}
