// The program's string table. The Windows build reads the module's own
// resources; the unit tests read the same texts from the resource script.
#ifndef KELVARO_BASE_STRINGS_H
#define KELVARO_BASE_STRINGS_H

#include <string>

// Copies string id into buffer (size bytes, always terminated when size > 0).
// Returns its length in bytes, 0 when the string is missing or empty.
int loadString(unsigned id, char* buffer, int size);

// String id as a string (up to 1023 bytes), empty when it is missing.
inline std::string loadText(unsigned id)
{
    char text[1024];
    loadString(id, text, sizeof text);
    return text;
}

#endif
