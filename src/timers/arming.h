// When the one-shot due timer of the main dialog must fire: the earliest
// moment a running timer is up. The 200 ms tick only notices time-up on its
// beat; this timer makes it happen on the moment itself.
#ifndef KELVARO_TIMERS_ARMING_H
#define KELVARO_TIMERS_ARMING_H

#include "settings/settings.h"
#include "timers/countdown.h"

#include <cstdint>

// The timer that is up first and in how many milliseconds (0: already due);
// index -1 when no timer is counting.
struct NextDue {
    int index;
    std::uint32_t inMs;
};

// Among the running timers that are neither paused nor in their time-up
// sequence (event claimed). Ties go to the lower index, the order in which
// a tick handles them.
NextDue nextDue(const TimerRuntime (&runtimes)[timerCount], const TimerSettings (&timers)[timerCount],
                std::uint32_t now);

// What the one-shot timer is armed for; owned by the main dialog.
struct DueTimerState {
    bool armed;
    std::uint32_t dueTick;   // now + inMs when it was armed
    std::uint32_t lastNow;   // the tick count at the last planning, to see it wrap
};

enum class ArmAction { keep, arm, disarm };

// Whether to set the one-shot again: when the earliest due moment moved
// (start, stop, pause, resume, time-up, a new round), when the tick count
// wrapped since the last planning, or when forced (it has just fired and is
// gone). Updates state to what the action leaves armed.
ArmAction planArming(DueTimerState& state, const NextDue& next, std::uint32_t now, bool force);

#endif
