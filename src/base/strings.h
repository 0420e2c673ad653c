// The program's string table. The Windows build reads the module's own
// resources; the unit tests read the same texts from the resource script.
#ifndef KELVARO_BASE_STRINGS_H
#define KELVARO_BASE_STRINGS_H

// Copies string id into buffer (size bytes, always terminated when size > 0).
// Returns its length in bytes, 0 when the string is missing or empty.
int loadString(unsigned id, char* buffer, int size);

#endif
