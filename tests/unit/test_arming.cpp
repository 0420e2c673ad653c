// When the main dialog's one-shot due timer fires: the next timer up and how
// far away, with paused, idle and already-claimed timers left to the tick,
// and when the timer must be set again.
#include "timers/arming.h"

#include <gtest/gtest.h>

namespace {

struct Three {
    TimerRuntime runtimes[timerCount] = {};
    TimerSettings timers[timerCount] = {};
};

Three withDurations(std::uint32_t a, std::uint32_t b, std::uint32_t c)
{
    Three three;
    three.timers[0].valueMs = a;
    three.timers[1].valueMs = b;
    three.timers[2].valueMs = c;
    return three;
}

} // namespace

TEST(Arming, TheEarliestRunningTimerIsNextAndTiesGoToTheLowerIndex)
{
    Three three = withDurations(5000, 3000, 4000);
    EXPECT_EQ(nextDue(three.runtimes, three.timers, 0).index, -1);   // nothing running
    startCountdown(three.runtimes[0], 5000, 1000);
    startCountdown(three.runtimes[1], 3000, 2500);   // due 5500
    startCountdown(three.runtimes[2], 4000, 1500);   // due 5500 too
    NextDue next = nextDue(three.runtimes, three.timers, 2600);
    EXPECT_EQ(next.index, 1);
    EXPECT_EQ(next.inMs, 2900u);
    // Past due but not yet handled: due now.
    next = nextDue(three.runtimes, three.timers, 7000);
    EXPECT_EQ(next.index, 0);
    EXPECT_EQ(next.inMs, 0u);
}

TEST(Arming, PausedIdleAndClaimedTimersAreSkipped)
{
    Three three = withDurations(2000, 9000, 4000);
    for (TimerRuntime& runtime : three.runtimes)
        startCountdown(runtime, 9000, 0);
    pauseCountdown(three.runtimes[0], 2000, 100);
    three.runtimes[1].eventFired = true;   // in its time-up sequence
    NextDue next = nextDue(three.runtimes, three.timers, 100);
    EXPECT_EQ(next.index, 2);
    EXPECT_EQ(next.inMs, 3900u);
    stopCountdown(three.runtimes[2], true, false);
    EXPECT_EQ(nextDue(three.runtimes, three.timers, 100).index, -1);
    resumeCountdown(three.runtimes[0], 2000, 5000);
    next = nextDue(three.runtimes, three.timers, 5000);
    EXPECT_EQ(next.index, 0);
    EXPECT_EQ(next.inMs, 1900u);
}

TEST(Arming, TheDueMomentIsRightAcrossTheTickCountsWrap)
{
    Three three = withDurations(1000, 60000, 60000);
    startCountdown(three.runtimes[0], 1000, 0xFFFFFF00u);   // due 0x2E8 after the wrap
    NextDue next = nextDue(three.runtimes, three.timers, 0xFFFFFFF0u);
    EXPECT_EQ(next.inMs, 1000u - 0xF0u);
    next = nextDue(three.runtimes, three.timers, 0x10u);
    EXPECT_EQ(next.inMs, 1000u - 0x110u);
    EXPECT_EQ(nextDue(three.runtimes, three.timers, 0x2E8u).inMs, 0u);
}

TEST(Arming, TheOneShotIsSetAgainOnlyWhenTheDueMomentMovesTheCountWrapsOrItFired)
{
    DueTimerState state = {};
    EXPECT_EQ(planArming(state, {-1, 0}, 100, false), ArmAction::keep);
    EXPECT_EQ(planArming(state, {0, 900}, 100, false), ArmAction::arm);   // a start
    EXPECT_EQ(state.dueTick, 1000u);
    // Later ticks of the same run leave it alone.
    EXPECT_EQ(planArming(state, {0, 700}, 300, false), ArmAction::keep);
    EXPECT_EQ(planArming(state, {1, 500}, 300, false), ArmAction::arm);   // another timer, sooner
    EXPECT_EQ(planArming(state, {1, 500}, 300, true), ArmAction::arm);    // it fired too early
    EXPECT_EQ(planArming(state, {-1, 0}, 900, false), ArmAction::disarm); // the last stop
    EXPECT_FALSE(state.armed);
    EXPECT_EQ(planArming(state, {-1, 0}, 900, false), ArmAction::keep);

    state = {};
    EXPECT_EQ(planArming(state, {0, 0x200}, 0xFFFFFF00u, false), ArmAction::arm);
    EXPECT_EQ(state.dueTick, 0x100u);
    EXPECT_EQ(planArming(state, {0, 0xF0}, 0x10u, false), ArmAction::arm);   // the count wrapped
    EXPECT_EQ(planArming(state, {0, 0xE0}, 0x20u, false), ArmAction::keep);
}
