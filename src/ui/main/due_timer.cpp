#include "ui/main/due_timer.h"

#include "resource.h"

void rearmDueTimer(HWND dialog, DueTimerState& state, const TimerRuntime (&runtimes)[timerCount],
                   const TimerSettings (&timers)[timerCount], bool force)
{
    const std::uint32_t now = GetTickCount();
    const NextDue next = nextDue(runtimes, timers, now);
    switch (planArming(state, next, now, force)) {
    case ArmAction::arm:
        // Below USER_TIMER_MINIMUM (10 ms) the system waits that long anyway.
        // Should it fail, the tick still notices the time-up, and the next
        // tick tries again.
        if (SetTimer(dialog, ID_DUE_TIMER, next.inMs, nullptr) == 0)
            state.armed = false;
        break;
    case ArmAction::disarm:
        KillTimer(dialog, ID_DUE_TIMER);
        break;
    case ArmAction::keep:
        break;
    }
}
