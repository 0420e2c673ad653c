// Carrying out an event: sounds from resources or files, and the shell's "open".
#ifndef KELVARO_EVENTS_EXECUTE_H
#define KELVARO_EVENTS_EXECUTE_H

#include <windows.h>

#include <cstdint>

// Starts the event and returns at once; false when nothing could be started.
// Identifiers outside 1 to 9 do nothing and report success.
bool fireTimerEvent(std::uint32_t eventId);

// Starts a sound file, given with or without enclosing double quotes; false
// when it names no existing file or cannot be played.
bool playSoundFile(const char* fileName);

// Hands a command text to the shell's "open" with the working directory C:\.
// Refuses (false, shell not called) a text that does not split, and a target
// that is not a web address and is relative or 260 bytes or longer.
bool shellOpenCommand(const char* command);

// The shell's "open" of a target (a file, a program or a web address, in the
// system code page) with its parameters (or none) and the working directory
// C:\. Returns whether the shell accepted it.
bool shellOpen(const char* target, const char* parameters, HWND owner);

#endif
