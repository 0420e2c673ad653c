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
    bool paused;                // still counts as running, but the tick leaves it alone
    std::uint32_t remainingMs;  // while paused: the exact time left when it was paused
};

// The period of the main dialog's tick.
constexpr unsigned tickPeriodMs = 200;

// How many of the timers run (paused ones too).
int runningTimerCount(const TimerRuntime (&runtimes)[timerCount]);

// Milliseconds since startTick; unsigned, so the tick count's wrap is harmless.
std::uint32_t elapsedSince(std::uint32_t startTick, std::uint32_t now);

// Whole seconds left, rounded up, while elapsed < valueMs.
std::uint32_t secondsLeft(std::uint32_t valueMs, std::uint32_t elapsed);

// Milliseconds until a run from startTick is up at now; 0 once it is.
std::uint32_t timeLeft(const TimerRuntime& runtime, std::uint32_t valueMs, std::uint32_t now);

// Start: running from now, the whole seconds of the duration shown, the
// time-is-up mark, the fired flag and any pause cleared.
void startCountdown(TimerRuntime& runtime, std::uint32_t valueMs, std::uint32_t now);

// Stop: the time-is-up mark is shown only after a stop at time-up with the option on.
void stopCountdown(TimerRuntime& runtime, bool user, bool useAltIconOnTimerUp);

enum class CountdownStep {
    unchanged,   // still running, the shown seconds stay
    changed,     // still running, shownSeconds now holds a new value
    timeUp,      // elapsed reached the duration; shownSeconds is 0
};

// Pause and resume apply only to a running timer that is not in its time-up
// sequence (its event already claimed), so a run that is up always ends or
// starts its next round.
bool canTogglePause(const TimerRuntime& runtime);

// Pause: freezes the exact milliseconds left at now; shownSeconds holds them
// rounded up, as the running display would.
void pauseCountdown(TimerRuntime& runtime, std::uint32_t valueMs, std::uint32_t now);

// Resume: counts on from the frozen time, as if the run had started
// valueMs - remainingMs before now, so it is up at now + remainingMs.
void resumeCountdown(TimerRuntime& runtime, std::uint32_t valueMs, std::uint32_t now);

// The next round of a repeating timer that is up at now. Each round starts
// when the previous one was due, not when that was noticed, so the k-th
// round ends at the first start + k * valueMs and late ticks never add up.
// Rounds already over at now are skipped rather than fired in a burst.
void startNextRound(TimerRuntime& runtime, std::uint32_t valueMs, std::uint32_t now);

// One tick of a running timer at time now.
CountdownStep advanceCountdown(TimerRuntime& runtime, std::uint32_t valueMs, std::uint32_t now);

// Takes the time-is-up mark off; false when it was not shown.
bool clearTimeUpMark(TimerRuntime& runtime);

// What a timer is doing, as the user sees it.
enum class TimerState {
    idle,
    running,
    paused,
    up,         // running, in its time-up sequence (its event claimed)
    upMarked,   // stopped at time-up, its time-is-up mark shown
};

TimerState timerStateOf(const TimerRuntime& runtime);

// True exactly once per run: the caller fires the event. The flag is set
// before the event runs, so a tick handled inside it does not fire again.
bool claimEventFiring(TimerRuntime& runtime);

#endif
