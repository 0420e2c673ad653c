#include "timers/countdown.h"

TimerRuntime timerRuntime[3];

int runningTimerCount()
{
    int count = 0;
    for (const TimerRuntime& runtime : timerRuntime)
        count += runtime.running ? 1 : 0;
    return count;
}

std::uint32_t elapsedSince(std::uint32_t startTick, std::uint32_t now)
{
    return now - startTick;
}

std::uint32_t secondsLeft(std::uint32_t valueMs, std::uint32_t elapsed)
{
    return (valueMs - elapsed + 999u) / 1000u;
}
