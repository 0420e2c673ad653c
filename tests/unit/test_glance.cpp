// What the taskbar and the notification-area icon show of the three timers:
// which progress wins, when a change is worth a call, the picture, the tip.
#include "timers/glance.h"

#include "fake_platform.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr std::uint32_t now = 500000;
constexpr std::uint32_t values[timerCount] = {100000, 10000, 1000000};

TimerRuntime idle() { return TimerRuntime{}; }

// Running with leftMs to go at now.
TimerRuntime running(std::uint32_t valueMs, std::uint32_t leftMs)
{
    TimerRuntime runtime{};
    startCountdown(runtime, valueMs, now - (valueMs - leftMs));
    runtime.shownSeconds = (leftMs + 999) / 1000;
    return runtime;
}

TimerRuntime paused(std::uint32_t valueMs, std::uint32_t leftMs)
{
    TimerRuntime runtime = running(valueMs, leftMs);
    pauseCountdown(runtime, valueMs, now);
    return runtime;
}

TimerRuntime marked()
{
    TimerRuntime runtime{};
    runtime.altIconShown = true;
    return runtime;
}

struct ProgressCase {
    const char* what;
    TimerRuntime runtimes[timerCount];
    ProgressState state;
    unsigned permille;
    TrayPicture picture;
};

} // namespace

TEST(Glance, FirstMatchWinsForTheProgressAndTheMostUrgentPicture)
{
    const ProgressCase cases[] = {
        {"nothing", {idle(), idle(), idle()}, ProgressState::none, 0, TrayPicture::program},
        {"a mark beats a run", {running(100000, 50000), marked(), idle()}, ProgressState::error, 1000,
         TrayPicture::timeUp},
        // Timer 2 has 2.5 s left of 10 s, timer 1 50 s of 100 s.
        {"least time left", {running(100000, 50000), running(10000, 2500), paused(1000000, 1)},
         ProgressState::normal, 750, TrayPicture::running},
        {"a run beats a pause", {paused(100000, 1000), idle(), running(1000000, 999000)}, ProgressState::normal, 1,
         TrayPicture::running},
        {"the first pause", {idle(), paused(10000, 7500), paused(1000000, 1000)}, ProgressState::paused, 250,
         TrayPicture::running},
        {"just started", {running(100000, 100000), idle(), idle()}, ProgressState::normal, 0, TrayPicture::running},
    };
    for (const ProgressCase& c : cases) {
        const TaskbarProgress progress = taskbarProgress(c.runtimes, values, now);
        EXPECT_EQ(progress.state, c.state) << c.what;
        EXPECT_EQ(progress.permille, c.permille) << c.what;
        EXPECT_EQ(trayPicture(c.runtimes), c.picture) << c.what;
    }
    // The tick count's wrap between start and now changes nothing.
    TimerRuntime wrapped[timerCount] = {};
    startCountdown(wrapped[0], 100000, 0xFFFFFFFFu - 9999);
    const std::uint32_t zeroValues[timerCount] = {100000, 0, 0};
    EXPECT_EQ(taskbarProgress(wrapped, zeroValues, 15000).permille, 250u);
}

TEST(Glance, OnlyAStateChangeOrAThousandthIsWorthACall)
{
    const TaskbarProgress shown{ProgressState::normal, 400};
    EXPECT_FALSE(progressChanged(shown, {ProgressState::normal, 400}));
    EXPECT_TRUE(progressChanged(shown, {ProgressState::normal, 401}));
    EXPECT_TRUE(progressChanged(shown, {ProgressState::paused, 400}));
}

TEST(Glance, TipListsRunningAndPausedTimersInPanelOrderAndIsCutOnACharacter)
{
    const char* const names[timerCount] = {"Tea", "Eggs", "Oven"};
    const std::uint32_t units[timerCount] = {unitSeconds, unitMinutes, unitHours};
    const TimerRuntime none[timerCount] = {idle(), marked(), idle()};
    EXPECT_EQ(trayTip(none, names, units, " (paused)", "Kelvaro"), "Kelvaro");

    const TimerRuntime two[timerCount] = {running(100000, 89500), paused(1000000, 300000), running(3600000, 3600000)};
    EXPECT_EQ(trayTip(two, names, units, " (paused)", "Kelvaro"),
              "Tea: 90s\nEggs: 5m00s (paused)\nOven: 1h00m00s");

    useCodePage(932);
    // 120 bytes of name, then two-byte characters: the cut falls between two of them.
    const std::string longName = std::string(120, 'a') + "\x82\xa0\x82\xa0\x82\xa0\x82\xa0";
    const char* const longNames[timerCount] = {longName.c_str(), "x", "y"};
    const TimerRuntime one[timerCount] = {running(100000, 89500), idle(), idle()};
    const std::string tip = trayTip(one, longNames, units, "", "");
    EXPECT_EQ(tip, longName.substr(0, 126));
    useCodePage(0);
}
