// The countdown arithmetic over any duration, start tick and sequence of
// ticks, with the tick count wrapping past 2^32 in the middle of a run.
//
// Input: [flags][4 bytes duration][4 bytes start tick][3 bytes per tick:
// the milliseconds since the previous tick]...
// flags: bit 0 the time-is-up icon option, bit 1 any 32-bit duration instead
// of one within the limits, bits 2-7 the tick at which the user stops (63: never).
#include "fuzz_support.h"
#include "settings/settings.h"
#include "timers/countdown.h"

#include <cstdint>
#include <cstring>

namespace {

constexpr std::uint64_t tickRange = std::uint64_t{1} << 32;

std::uint32_t readWord(const std::uint8_t* bytes)
{
    std::uint32_t word = 0;
    std::memcpy(&word, bytes, sizeof word);
    return word;
}

// The seconds left, rounded up, in arithmetic wide enough never to wrap.
std::uint64_t modelSecondsLeft(std::uint64_t valueMs, std::uint64_t elapsed)
{
    return (valueMs - elapsed + 999) / 1000;
}

void checkStop(const TimerRuntime (&runtimes)[timerCount], TimerRuntime& runtime, bool user, bool useAltIcon, int othersRunning)
{
    stopCountdown(runtime, user, useAltIcon);
    FUZZ_CHECK(!runtime.running);
    FUZZ_CHECK(runtime.altIconShown == (!user && useAltIcon));
    FUZZ_CHECK(runningTimerCount(runtimes) == othersRunning);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 9)
        return 0;
    const std::uint8_t flags = data[0];
    const bool useAltIcon = (flags & 1) != 0;
    const std::uint32_t raw = readWord(data + 1);
    const std::uint32_t valueMs =
        (flags & 2) != 0 ? raw : minDurationMs + raw % (maxDurationMs - minDurationMs + 1);
    const std::uint32_t startTick = readWord(data + 5);
    const std::size_t userStop = flags >> 2;

    // The timer under test shares the array with two others in any state.
    const int index = raw % 3;
    TimerRuntime runtimes[timerCount];
    for (int i = 0; i < 3; ++i)
        runtimes[i] = TimerRuntime{((startTick >> i) & 1) != 0, raw, startTick, true, true, true, raw};
    int othersRunning = 0;
    for (int i = 0; i < 3; ++i)
        othersRunning += i != index && runtimes[i].running ? 1 : 0;
    TimerRuntime& runtime = runtimes[index];

    startCountdown(runtime, valueMs, startTick);
    FUZZ_CHECK(runtime.running && !runtime.eventFired && !runtime.altIconShown);
    FUZZ_CHECK(runtime.startTick == startTick);
    FUZZ_CHECK(runtime.shownSeconds == valueMs / 1000);
    FUZZ_CHECK(runningTimerCount(runtimes) == othersRunning + 1);

    std::uint64_t elapsed = 0;
    std::uint32_t shown = runtime.shownSeconds;
    std::size_t tick = 0;
    for (std::size_t at = 9; at + 3 <= size; at += 3, ++tick) {
        elapsed += data[at] | data[at + 1] << 8 | data[at + 2] << 16;
        // A whole turn of the tick count cannot be told from none.
        if (elapsed >= tickRange)
            break;
        const std::uint32_t now = static_cast<std::uint32_t>(startTick + elapsed);
        FUZZ_CHECK(elapsedSince(startTick, now) == elapsed);

        const CountdownStep step = advanceCountdown(runtime, valueMs, now);
        if (elapsed >= valueMs) {
            FUZZ_CHECK(step == CountdownStep::timeUp);
            FUZZ_CHECK(runtime.shownSeconds == 0);
            // The event fires once, however many ticks arrive while it runs.
            FUZZ_CHECK(claimEventFiring(runtime));
            FUZZ_CHECK(!claimEventFiring(runtime));
            checkStop(runtimes, runtime, false, useAltIcon, othersRunning);
            return 0;
        }
        const std::uint64_t seconds = modelSecondsLeft(valueMs, elapsed);
        FUZZ_CHECK(seconds >= 1);
        FUZZ_CHECK(secondsLeft(valueMs, static_cast<std::uint32_t>(elapsed)) == seconds);
        FUZZ_CHECK(runtime.shownSeconds == seconds);
        FUZZ_CHECK(step == (seconds != shown ? CountdownStep::changed : CountdownStep::unchanged));
        // Time never runs backwards on the display once counting has begun.
        FUZZ_CHECK(tick == 0 || seconds <= shown);
        shown = runtime.shownSeconds;
        FUZZ_CHECK(runtime.running && !runtime.eventFired);

        if (tick == userStop) {
            checkStop(runtimes, runtime, true, useAltIcon, othersRunning);
            return 0;
        }
    }
    return 0;
}
