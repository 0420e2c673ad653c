// PLACEHOLDER: replaced by the owner of this file.
#include "timers/duration.h"
#include <cstdio>
void formatDuration(std::uint32_t ms, std::uint32_t, bool, char* buffer, std::size_t size) { std::snprintf(buffer, size, "%us", ms / 1000); }
bool nextDigitRun(const char*, std::size_t&, std::string&) { return false; }
int parseDuration(const char*, std::uint32_t, std::uint32_t&) { return -1; }
