// The running state of the three timers and the countdown arithmetic.
#ifndef KELVARO_TIMERS_COUNTDOWN_H
#define KELVARO_TIMERS_COUNTDOWN_H

#include <cstdint>

struct TimerRuntime {
    bool running;
    std::uint32_t startTick;
    std::uint32_t shownSeconds;
    bool altIconShown;
    bool eventFired;
};

extern TimerRuntime timerRuntime[3];

int runningTimerCount();

// Milliseconds since startTick; unsigned, so the tick count's wrap is harmless.
std::uint32_t elapsedSince(std::uint32_t startTick, std::uint32_t now);

// Whole seconds left, rounded up, while elapsed < valueMs.
std::uint32_t secondsLeft(std::uint32_t valueMs, std::uint32_t elapsed);

#endif
