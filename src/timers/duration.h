// Durations: milliseconds shown and typed in the timer's unit.
#ifndef KELVARO_TIMERS_DURATION_H
#define KELVARO_TIMERS_DURATION_H

#include <cstddef>
#include <cstdint>
#include <string>

// The longest text formatDuration makes, "596h00m00s", is 10 characters.
constexpr std::size_t durationTextSize = 32;

// full = true: the idle form; false: the countdown form.
void formatDuration(std::uint32_t ms, std::uint32_t unit, bool full, char* buffer, std::size_t size);

// Skips blanks (0x20 only) from position. At the end of the text: found with
// empty digits. At a non-digit: not found. Otherwise the run of digits,
// with position moved past it.
bool nextDigitRun(const char* text, std::size_t& position, std::string& digits);

enum class DurationEntry {
    valid,       // valueMs is exactly what was typed
    corrected,   // valueMs is the nearest duration allowed
    rejected,    // valueMs untouched
};

// A text of any length is safe: numbers too large for 64 bits are held at
// the largest value, so they end up as the longest duration (corrected),
// never as a wrapped small one.
DurationEntry parseDuration(const char* text, std::uint32_t unit, std::uint32_t& valueMs);

#endif
