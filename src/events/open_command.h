// Splitting an open file event's command text into what the shell opens and
// the parameters it passes.
#ifndef KELVARO_EVENTS_OPEN_COMMAND_H
#define KELVARO_EVENTS_OPEN_COMMAND_H

#include <string>

bool splitOpenCommand(const char* command, std::string& target, std::string& parameters);

// "http://" or "https://" at the start, compared byte for byte.
bool isWebAddress(const char* target);

#endif
