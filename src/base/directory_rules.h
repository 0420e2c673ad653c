// Making sure a folder exists, creating missing levels from the deepest
// existing ancestor down. The file-system operations are passed in.
#ifndef KELVARO_BASE_DIRECTORY_RULES_H
#define KELVARO_BASE_DIRECTORY_RULES_H

#include "base/text.h"

struct DirectoryOperations {
    bool (*exists)(const char* path);
    bool (*isDirectory)(const char* path);
    // Removes the last path component in place; false when there is none.
    bool (*removeLastComponent)(char* path);
    bool (*createDirectory)(const char* path);
};

// True when path names a folder afterwards. Paths of 260 bytes or more, and
// empty ones, are refused.
bool ensureDirectoryExists(const char* path, const DirectoryOperations& operations);

#endif
