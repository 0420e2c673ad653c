#include "timers/countdown.h"

int runningTimerCount(const TimerRuntime (&runtimes)[timerCount])
{
    int count = 0;
    for (const TimerRuntime& runtime : runtimes)
        count += runtime.running ? 1 : 0;
    return count;
}

std::uint32_t elapsedSince(std::uint32_t startTick, std::uint32_t now)
{
    return now - startTick;
}

std::uint32_t secondsLeft(std::uint32_t valueMs, std::uint32_t elapsed)
{
    // Rounded up without adding 999 first, which could wrap near the top of the range.
    const std::uint32_t remaining = valueMs - elapsed;
    return remaining / 1000u + (remaining % 1000u != 0 ? 1u : 0u);
}

std::uint32_t timeLeft(const TimerRuntime& runtime, std::uint32_t valueMs, std::uint32_t now)
{
    const std::uint32_t elapsed = elapsedSince(runtime.startTick, now);
    return elapsed < valueMs ? valueMs - elapsed : 0;
}

void startCountdown(TimerRuntime& runtime, std::uint32_t valueMs, std::uint32_t now)
{
    runtime.running = true;
    runtime.eventFired = false;
    runtime.altIconShown = false;
    runtime.paused = false;
    runtime.startTick = now;
    runtime.shownSeconds = valueMs / 1000u;
}

void stopCountdown(TimerRuntime& runtime, bool user, bool useAltIconOnTimerUp)
{
    runtime.running = false;
    runtime.paused = false;
    runtime.altIconShown = !user && useAltIconOnTimerUp;
}

bool canTogglePause(const TimerRuntime& runtime)
{
    return runtime.running && !runtime.eventFired;
}

void pauseCountdown(TimerRuntime& runtime, std::uint32_t valueMs, std::uint32_t now)
{
    runtime.paused = true;
    runtime.remainingMs = timeLeft(runtime, valueMs, now);
    runtime.shownSeconds = secondsLeft(runtime.remainingMs, 0);
}

void resumeCountdown(TimerRuntime& runtime, std::uint32_t valueMs, std::uint32_t now)
{
    runtime.paused = false;
    runtime.startTick = now - (valueMs - runtime.remainingMs);
}

void startNextRound(TimerRuntime& runtime, std::uint32_t valueMs, std::uint32_t now)
{
    // Whatever whole rounds are over at now end here (no duration is 0).
    const std::uint32_t intoRound = valueMs != 0 ? elapsedSince(runtime.startTick, now) % valueMs : 0;
    runtime.startTick = now - intoRound;
    runtime.eventFired = false;
    runtime.shownSeconds = secondsLeft(valueMs, intoRound);
}

CountdownStep advanceCountdown(TimerRuntime& runtime, std::uint32_t valueMs, std::uint32_t now)
{
    const std::uint32_t elapsed = elapsedSince(runtime.startTick, now);
    if (elapsed >= valueMs) {
        runtime.shownSeconds = 0;
        return CountdownStep::timeUp;
    }
    const std::uint32_t seconds = secondsLeft(valueMs, elapsed);
    if (seconds == runtime.shownSeconds)
        return CountdownStep::unchanged;
    runtime.shownSeconds = seconds;
    return CountdownStep::changed;
}

bool claimEventFiring(TimerRuntime& runtime)
{
    if (runtime.eventFired)
        return false;
    runtime.eventFired = true;
    return true;
}

bool clearTimeUpMark(TimerRuntime& runtime)
{
    const bool shown = runtime.altIconShown;
    runtime.altIconShown = false;
    return shown;
}

TimerState timerStateOf(const TimerRuntime& runtime)
{
    if (runtime.running) {
        if (runtime.paused)
            return TimerState::paused;
        return runtime.eventFired ? TimerState::up : TimerState::running;
    }
    return runtime.altIconShown ? TimerState::upMarked : TimerState::idle;
}
