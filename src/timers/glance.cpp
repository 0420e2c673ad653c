#include "timers/glance.h"

#include "base/text.h"
#include "timers/duration.h"

namespace {

unsigned elapsedPermille(std::uint32_t valueMs, std::uint32_t leftMs)
{
    if (valueMs == 0 || leftMs >= valueMs)
        return 0;
    const std::uint64_t elapsed = valueMs - leftMs;
    return static_cast<unsigned>(elapsed * progressScale / valueMs);
}

} // namespace

TaskbarProgress taskbarProgress(const TimerRuntime (&runtimes)[timerCount],
                                const std::uint32_t (&valuesMs)[timerCount], std::uint32_t now)
{
    for (const TimerRuntime& runtime : runtimes) {
        if (timerStateOf(runtime) == TimerState::upMarked)
            return {ProgressState::error, progressScale};
    }
    int soonest = -1;
    std::uint32_t soonestLeft = 0;
    for (int index = 0; index < timerCount; ++index) {
        const TimerState state = timerStateOf(runtimes[index]);
        if (state != TimerState::running && state != TimerState::up)
            continue;
        const std::uint32_t left = timeLeft(runtimes[index], valuesMs[index], now);
        if (soonest < 0 || left < soonestLeft) {
            soonest = index;
            soonestLeft = left;
        }
    }
    if (soonest >= 0)
        return {ProgressState::normal, elapsedPermille(valuesMs[soonest], soonestLeft)};
    for (int index = 0; index < timerCount; ++index) {
        if (timerStateOf(runtimes[index]) == TimerState::paused)
            return {ProgressState::paused, elapsedPermille(valuesMs[index], runtimes[index].remainingMs)};
    }
    return {ProgressState::none, 0};
}

bool progressChanged(const TaskbarProgress& shown, const TaskbarProgress& next)
{
    return shown.state != next.state || shown.permille != next.permille;
}

TrayPicture trayPicture(const TimerRuntime (&runtimes)[timerCount])
{
    bool running = false;
    for (const TimerRuntime& runtime : runtimes) {
        if (timerStateOf(runtime) == TimerState::upMarked)
            return TrayPicture::timeUp;
        running = running || runtime.running;
    }
    return running ? TrayPicture::running : TrayPicture::program;
}

std::string trayTip(const TimerRuntime (&runtimes)[timerCount], const char* const (&names)[timerCount],
                    const std::uint32_t (&units)[timerCount], const char* pausedSuffix, const char* title)
{
    std::string tip;
    for (int index = 0; index < timerCount; ++index) {
        const TimerRuntime& runtime = runtimes[index];
        if (!runtime.running)
            continue;
        char time[durationTextSize];
        formatDuration(runtime.shownSeconds * 1000u, units[index], false, time, sizeof time);
        if (!tip.empty())
            tip += '\n';
        tip += names[index];
        tip += ": ";
        tip += time;
        if (runtime.paused)
            tip += pausedSuffix;
    }
    if (tip.empty())
        tip = title;
    char cut[trayTipSize];
    copyTextTruncated(cut, sizeof cut, tip.data(), tip.size());
    return cut;
}
