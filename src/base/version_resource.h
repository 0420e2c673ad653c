// The program's version, read from its own version resource in memory: no
// library to load, no copy of the file's resource section.
#ifndef KELVARO_BASE_VERSION_RESOURCE_H
#define KELVARO_BASE_VERSION_RESOURCE_H

#include <windows.h>

// File version MS, LS, product version MS, LS; false when the resource is
// missing or not whole (version is then left alone).
bool readOwnVersion(HINSTANCE module, DWORD (&version)[4]);

#endif
