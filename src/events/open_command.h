// Splitting an open file event's command text into what the shell opens and
// the parameters it passes.
#ifndef KELVARO_EVENTS_OPEN_COMMAND_H
#define KELVARO_EVENTS_OPEN_COMMAND_H

#include <string>

// A command is a target, optionally followed by a space and parameters; a
// target with spaces is enclosed in double quotes. Fails for an empty text,
// a lone quote, a quote that is never closed, and text glued to the closing
// quote. The parameters are trimmed of white space and keep their quotes.
// Searches step over double-byte characters of the system code page.
bool splitOpenCommand(const char* command, std::string& target, std::string& parameters);

// "http://" or "https://" at the start, compared byte for byte.
bool isWebAddress(const char* target);

#endif
