#include "timers/arming.h"

NextDue nextDue(const TimerRuntime (&runtimes)[timerCount], const TimerSettings (&timers)[timerCount],
                std::uint32_t now)
{
    NextDue next = {-1, 0};
    for (int index = 0; index < timerCount; ++index) {
        const TimerRuntime& runtime = runtimes[index];
        if (!runtime.running || runtime.paused || runtime.eventFired)
            continue;
        const std::uint32_t left = timeLeft(runtime, timers[index].valueMs, now);
        if (next.index < 0 || left < next.inMs)
            next = {index, left};
    }
    return next;
}

ArmAction planArming(DueTimerState& state, const NextDue& next, std::uint32_t now, bool force)
{
    const bool wrapped = now < state.lastNow;
    state.lastNow = now;
    if (next.index < 0) {
        const bool wasArmed = state.armed;
        state.armed = false;
        return wasArmed || force ? ArmAction::disarm : ArmAction::keep;
    }
    const std::uint32_t dueTick = now + next.inMs;
    if (state.armed && state.dueTick == dueTick && !wrapped && !force)
        return ArmAction::keep;
    state.armed = true;
    state.dueTick = dueTick;
    return ArmAction::arm;
}
