// The countdown arithmetic: elapsed time across the tick count's wrap, whole
// seconds rounded up, the moment a timer is up, and when the display changes.
#include "timers/countdown.h"

#include "settings/settings.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TimerRuntime started(std::uint32_t valueMs, std::uint32_t startTick)
{
    TimerRuntime runtime{};
    runtime.eventFired = true;     // left over from an earlier run
    runtime.altIconShown = true;
    startCountdown(runtime, valueMs, startTick);
    return runtime;
}

// The shown seconds after each tick that changed them, and the tick's time
// of time-up, ticking every period ms from the start.
struct CountdownRun {
    std::vector<std::uint32_t> shown;
    std::uint32_t upAfter = 0;
};

CountdownRun tickUntilUp(std::uint32_t valueMs, std::uint32_t startTick, std::uint32_t period)
{
    TimerRuntime runtime = started(valueMs, startTick);
    CountdownRun run;
    run.shown.push_back(runtime.shownSeconds);
    for (std::uint32_t t = period; t <= valueMs + 2 * period; t += period) {
        switch (advanceCountdown(runtime, valueMs, startTick + t)) {
        case CountdownStep::changed:
            run.shown.push_back(runtime.shownSeconds);
            break;
        case CountdownStep::timeUp:
            run.upAfter = t;
            return run;
        case CountdownStep::unchanged:
            break;
        }
    }
    return run;
}

} // namespace

TEST(Countdown, ElapsedTimeIsUnaffectedByTheTickCountWrapping)
{
    EXPECT_EQ(elapsedSince(1000, 1500), 500u);
    EXPECT_EQ(elapsedSince(0xFFFFFF00u, 0x00000100u), 0x200u);
    EXPECT_EQ(elapsedSince(0xFFFFFFFFu, 0), 1u);
    EXPECT_EQ(elapsedSince(0x80000000u, 0x80000000u + maxDurationMs), maxDurationMs);
    EXPECT_EQ(elapsedSince(0xF0000000u, 0xF0000000u + maxDurationMs), maxDurationMs);
}

TEST(Countdown, SecondsLeftAreRoundedUpToTheNextWholeSecond)
{
    struct Case {
        std::uint32_t valueMs;
        std::uint32_t elapsed;
        std::uint32_t seconds;
    };
    const Case cases[] = {
        {1000, 0, 1}, {1000, 1, 1}, {1000, 999, 1},
        {90000, 0, 90}, {90000, 1, 90}, {90000, 999, 90}, {90000, 1000, 89}, {90000, 89000, 1}, {90000, 89999, 1},
        {1500, 0, 2}, {1500, 500, 1},   // a duration from the registry need not be whole seconds
        {maxDurationMs, 0, 2145600}, {maxDurationMs, 1, 2145600},
        {0xFFFFFFFFu, 0, 4294968},      // adding 999 first would wrap to 0 here
    };
    for (const Case& c : cases)
        EXPECT_EQ(secondsLeft(c.valueMs, c.elapsed), c.seconds) << c.valueMs << " - " << c.elapsed;
}

TEST(Countdown, StartClearsTheRunsFlagsAndShowsTheTruncatedDuration)
{
    const TimerRuntime runtime = started(90500, 1234);
    EXPECT_TRUE(runtime.running);
    EXPECT_FALSE(runtime.eventFired);
    EXPECT_FALSE(runtime.altIconShown);
    EXPECT_EQ(runtime.startTick, 1234u);
    EXPECT_EQ(runtime.shownSeconds, 90u);
}

TEST(Countdown, AOneSecondTimerShowsOneSecondUntilItIsUp)
{
    TimerRuntime runtime = started(1000, 5000);
    EXPECT_EQ(runtime.shownSeconds, 1u);
    EXPECT_EQ(advanceCountdown(runtime, 1000, 5200), CountdownStep::unchanged);
    EXPECT_EQ(advanceCountdown(runtime, 1000, 5999), CountdownStep::unchanged);
    EXPECT_EQ(runtime.shownSeconds, 1u);
    EXPECT_EQ(advanceCountdown(runtime, 1000, 6000), CountdownStep::timeUp);
    EXPECT_EQ(runtime.shownSeconds, 0u);
}

TEST(Countdown, EachSecondIsShownOnceAndTheFirstDropComesAfterOneSecond)
{
    for (std::uint32_t period : {200u, 199u, 333u, 1000u}) {
        const CountdownRun run = tickUntilUp(5000, 100000, period);
        EXPECT_EQ(run.shown, (std::vector<std::uint32_t>{5, 4, 3, 2, 1})) << "period " << period;
        EXPECT_GE(run.upAfter, 5000u) << "period " << period;
        EXPECT_LT(run.upAfter, 5000u + period) << "period " << period;
    }
}

TEST(Countdown, ATimerRunningAcrossTheWrapCountsAsUsual)
{
    const std::uint32_t start = 0xFFFFFFFFu - 2500;   // wraps 2.5 s after Start
    const CountdownRun run = tickUntilUp(5000, start, 200);
    EXPECT_EQ(run.shown, (std::vector<std::uint32_t>{5, 4, 3, 2, 1}));
    EXPECT_EQ(run.upAfter, 5000u);

    TimerRuntime runtime = started(5000, start);
    EXPECT_EQ(advanceCountdown(runtime, 5000, start + 4999), CountdownStep::changed);   // now is past the wrap
    EXPECT_EQ(runtime.shownSeconds, 1u);
    EXPECT_EQ(advanceCountdown(runtime, 5000, start + 5000), CountdownStep::timeUp);
}

TEST(Countdown, TheLongestDurationIsUpExactlyAtItsEnd)
{
    TimerRuntime runtime = started(maxDurationMs, 0x7FFFFFFFu);
    EXPECT_EQ(advanceCountdown(runtime, maxDurationMs, 0x7FFFFFFFu + maxDurationMs - 1), CountdownStep::changed);
    EXPECT_EQ(runtime.shownSeconds, 1u);
    EXPECT_EQ(advanceCountdown(runtime, maxDurationMs, 0x7FFFFFFFu + maxDurationMs), CountdownStep::timeUp);
}

TEST(Countdown, ATickLateByManySecondsJumpsStraightToTheNewValue)
{
    TimerRuntime runtime = started(60000, 0);
    EXPECT_EQ(advanceCountdown(runtime, 60000, 45500), CountdownStep::changed);
    EXPECT_EQ(runtime.shownSeconds, 15u);
    EXPECT_EQ(advanceCountdown(runtime, 60000, 900000), CountdownStep::timeUp);
}

TEST(Countdown, TheTimeIsUpMarkFollowsOnlyAStopAtTimeUpWithTheOptionOn)
{
    struct Case {
        bool user;
        bool option;
        bool mark;
    };
    const Case cases[] = {{true, true, false}, {true, false, false}, {false, true, true}, {false, false, false}};
    for (const Case& c : cases) {
        TimerRuntime runtime = started(1000, 0);
        EXPECT_EQ(timerStateOf(runtime), TimerState::running);
        stopCountdown(runtime, c.user, c.option);
        EXPECT_FALSE(runtime.running);
        EXPECT_EQ(runtime.altIconShown, c.mark) << "user " << c.user << " option " << c.option;
        // What a change of display scale loads again.
        EXPECT_EQ(timerStateOf(runtime), c.mark ? TimerState::upMarked : TimerState::idle);
    }
}

TEST(Countdown, TheEventIsClaimedOncePerRun)
{
    TimerRuntime runtime = started(1000, 0);
    EXPECT_TRUE(claimEventFiring(runtime));
    EXPECT_TRUE(runtime.eventFired);
    EXPECT_FALSE(claimEventFiring(runtime));
    stopCountdown(runtime, false, true);
    startCountdown(runtime, 1000, 2000);
    EXPECT_TRUE(claimEventFiring(runtime));
}

TEST(Countdown, RunningTimersAreCounted)
{
    TimerRuntime runtimes[timerCount] = {};
    EXPECT_EQ(runningTimerCount(runtimes), 0);
    startCountdown(runtimes[0], 1000, 0);
    startCountdown(runtimes[2], 1000, 0);
    EXPECT_EQ(runningTimerCount(runtimes), 2);
    stopCountdown(runtimes[0], true, true);
    EXPECT_EQ(runningTimerCount(runtimes), 1);
}

TEST(Countdown, PauseFreezesTheExactRemainderAndResumeIsUpWhenItRunsOut)
{
    struct Case {
        std::uint32_t start;
        std::uint32_t pausedAfter;
        std::uint32_t resumeAt;
    };
    const Case cases[] = {
        {1000, 1234, 500000},
        {0xFFFFFFFFu - 1000, 1234, 7},              // paused after the tick count wrapped
        {100, 4999, 0xFFFFFFFFu - 2000},            // up after it wraps while counting on
        {0x80000000u, 0, 0x80000000u},             // paused and resumed at once
    };
    for (const Case& c : cases) {
        TimerRuntime runtime = started(5000, c.start);
        pauseCountdown(runtime, 5000, c.start + c.pausedAfter);
        const std::uint32_t remaining = 5000 - c.pausedAfter;
        EXPECT_TRUE(runtime.paused && runtime.running);
        EXPECT_EQ(runtime.remainingMs, remaining);
        EXPECT_EQ(runtime.shownSeconds, (remaining + 999) / 1000);
        resumeCountdown(runtime, 5000, c.resumeAt);
        EXPECT_FALSE(runtime.paused);
        EXPECT_NE(advanceCountdown(runtime, 5000, c.resumeAt + remaining - 1), CountdownStep::timeUp) << c.start;
        EXPECT_EQ(advanceCountdown(runtime, 5000, c.resumeAt + remaining), CountdownStep::timeUp) << c.start;
    }
}

TEST(Countdown, PauseIsRefusedWhileIdleOrUpShowsItsIconAndIsClearedByStopAndStart)
{
    TimerRuntime runtime{};
    EXPECT_FALSE(canTogglePause(runtime));
    runtime = started(1000, 0);
    EXPECT_TRUE(canTogglePause(runtime));
    EXPECT_EQ(advanceCountdown(runtime, 1000, 1000), CountdownStep::timeUp);
    claimEventFiring(runtime);
    EXPECT_EQ(timerStateOf(runtime), TimerState::up);
    EXPECT_FALSE(canTogglePause(runtime));   // the run is ending or starting its next round
    startNextRound(runtime, 1000, 1000);
    EXPECT_TRUE(canTogglePause(runtime));

    pauseCountdown(runtime, 1000, 1100);
    EXPECT_EQ(timerStateOf(runtime), TimerState::paused);
    stopCountdown(runtime, true, true);
    EXPECT_FALSE(runtime.paused);
    EXPECT_EQ(timerStateOf(runtime), TimerState::idle);
    runtime.paused = true;
    startCountdown(runtime, 1000, 0);
    EXPECT_FALSE(runtime.paused);
}

TEST(Countdown, RoundKOfARepeatingTimerIsUpAtStartPlusKDurationsWithoutDrift)
{
    // Ticks every 200 ms, each up to 9 ms late, and the tick count wraps midway.
    const std::uint32_t valueMs = 2000;
    const std::uint32_t start = 0xFFFFFFFFu - 25000;
    TimerRuntime runtime = started(valueMs, start);
    std::vector<std::uint32_t> lateness;
    for (std::uint32_t t = 200; lateness.size() < 40; t += 200) {
        const std::uint32_t now = start + t + (t * 7919u) % 10u;
        if (advanceCountdown(runtime, valueMs, now) != CountdownStep::timeUp)
            continue;
        const std::uint32_t due = start + static_cast<std::uint32_t>(lateness.size() + 1) * valueMs;
        lateness.push_back(now - due);
        claimEventFiring(runtime);
        startNextRound(runtime, valueMs, now);
        EXPECT_EQ(runtime.shownSeconds, 2u);
    }
    for (std::size_t k = 0; k < lateness.size(); ++k)
        EXPECT_LT(lateness[k], 210u) << "round " << k + 1;

    // A tick three and a half rounds late skips the rounds it missed and keeps the phase.
    runtime = started(valueMs, start);
    startNextRound(runtime, valueMs, start + 7000);
    EXPECT_EQ(runtime.startTick, start + 6000);
    EXPECT_EQ(runtime.shownSeconds, 1u);
    EXPECT_EQ(advanceCountdown(runtime, valueMs, start + 8000), CountdownStep::timeUp);
}
