// The running state of the three timers and the countdown arithmetic. Tick
// counts are milliseconds of the system tick count, which wraps after about
// 49.7 days; every difference here is taken in unsigned 32-bit arithmetic.
#ifndef KELVARO_TIMERS_COUNTDOWN_H
#define KELVARO_TIMERS_COUNTDOWN_H

#include "settings/settings.h"

#include <cstdint>

struct TimerRuntime {
    bool running;
    std::uint32_t startTick;
    std::uint32_t shownSeconds;
    bool altIconShown;
    bool eventFired;
};

// By timer index.
extern TimerRuntime timerRuntime[timerCount];

int runningTimerCount();

// Milliseconds since startTick; unsigned, so the tick count's wrap is harmless.
std::uint32_t elapsedSince(std::uint32_t startTick, std::uint32_t now);

// Whole seconds left, rounded up, while elapsed < valueMs.
std::uint32_t secondsLeft(std::uint32_t valueMs, std::uint32_t elapsed);

// Start: running from now, the whole seconds of the duration shown, the
// time-is-up mark and the fired flag cleared.
void startCountdown(TimerRuntime& runtime, std::uint32_t valueMs, std::uint32_t now);

// Stop: the time-is-up mark is shown only after a stop at time-up with the option on.
void stopCountdown(TimerRuntime& runtime, bool user, bool useAltIconOnTimerUp);

enum class CountdownStep {
    unchanged,   // still running, the shown seconds stay
    changed,     // still running, shownSeconds now holds a new value
    timeUp,      // elapsed reached the duration; shownSeconds is 0
};

// One tick of a running timer at time now.
CountdownStep advanceCountdown(TimerRuntime& runtime, std::uint32_t valueMs, std::uint32_t now);

// Takes the time-is-up mark off; false when it was not shown.
bool clearTimeUpMark(TimerRuntime& runtime);

// The Start/Stop button's icon in the timer's state: running, up or ready.
int buttonIconOf(const TimerRuntime& runtime);

// True exactly once per run: the caller fires the event. The flag is set
// before the event runs, so a tick handled inside it does not fire again.
bool claimEventFiring(TimerRuntime& runtime);

#endif
