// Carrying out an event: sounds from resources or files, and the shell's "open".
#ifndef KELVARO_EVENTS_EXECUTE_H
#define KELVARO_EVENTS_EXECUTE_H

#include <cstdint>

bool fireTimerEvent(std::uint32_t eventId);
bool shellOpenCommand(const char* command);

#endif
