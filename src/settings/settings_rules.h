// The rules for what the user types into the settings: quoting paths and
// tidying names, labels, sound files and open file commands.
#ifndef KELVARO_SETTINGS_SETTINGS_RULES_H
#define KELVARO_SETTINGS_SETTINGS_RULES_H

#include "base/text.h"
#include "settings/settings.h"

#include <cstddef>
#include <cstdint>
#include <string>

// The size of every single-path buffer.
constexpr std::size_t pathBufferSize = maxPathSize;

// Encloses the path in path (a buffer of at least pathBufferSize bytes) in
// double quotes unless it is empty or already enclosed; a path longer than
// 256 bytes is left alone and the result is false.
bool quotePathInPlace(char* path);

// A timer name or an event label as the user typed it, as it is kept: at
// most 30 bytes of whole characters (an edit control limits characters, not
// bytes), without white space around it before or after the cut, or the
// default when nothing is left.
std::string tidyName(const char* typed, const char* defaultText);

// Whether a timer's name is its default name, string defaultNameId
// (byte-wise comparison, as the names are stored).
bool isDefaultTimerName(const char* name, unsigned defaultNameId);

// A sound file name as it is left in its edit: trimmed and quoted.
std::string tidySoundFile(const char* typed);

// An open file command: without a space it is trimmed and quoted into tidied
// and the result is true; a command holding a space is left exactly as typed
// (result false).
bool tidyOpenCommand(const char* typed, std::string& tidied);

#endif
