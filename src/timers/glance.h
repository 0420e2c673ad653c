// What the taskbar button and the notification-area icon show of the three
// timers: the progress state and fraction, the icon's picture and its tip.
#ifndef KELVARO_TIMERS_GLANCE_H
#define KELVARO_TIMERS_GLANCE_H

#include "settings/settings.h"
#include "timers/countdown.h"

#include <cstddef>
#include <cstdint>
#include <string>

enum class ProgressState { none, normal, paused, error };

// The fraction in thousandths, so that a change under 1/1000 is no change.
constexpr unsigned progressScale = 1000;

struct TaskbarProgress {
    ProgressState state;
    unsigned permille;
};

// First match wins: a time-is-up mark (error, full); the running timer with
// the least time left (normal, its elapsed part); the first paused timer
// (paused, its elapsed part); otherwise no progress.
TaskbarProgress taskbarProgress(const TimerRuntime (&runtimes)[timerCount],
                                const std::uint32_t (&valuesMs)[timerCount], std::uint32_t now);

// Whether the taskbar needs a call to go from shown to next.
bool progressChanged(const TaskbarProgress& shown, const TaskbarProgress& next);

enum class TrayPicture { program, running, timeUp };

// The most urgent: a time-is-up mark, then a timer that runs (paused too).
TrayPicture trayPicture(const TimerRuntime (&runtimes)[timerCount]);

// The icon's tip holds 127 bytes and a NUL.
constexpr std::size_t trayTipSize = 128;

// One line per running or paused timer in panel order, "name: time", the
// time as its panel shows it, pausedSuffix after a paused one; title when
// there is none. Cut to trayTipSize - 1 bytes on a character boundary.
std::string trayTip(const TimerRuntime (&runtimes)[timerCount], const char* const (&names)[timerCount],
                    const std::uint32_t (&units)[timerCount], const char* pausedSuffix, const char* title);

#endif
