// Code is loaded from the system folder only: a library of the same name in
// the program's folder or the current directory (a Downloads folder, say)
// must never run inside this process.
#ifndef KELVARO_BASE_SYSTEM_LIBRARY_H
#define KELVARO_BASE_SYSTEM_LIBRARY_H

#include <windows.h>

// Limits every later search for a library, ours and the system's, to the
// system folder. Called first thing at start-up.
void restrictLibrarySearch();

// A function of a library loaded at run time, or null.
template <typename Function>
Function procAddress(HMODULE module, const char* name)
{
    // Through a generic function pointer, which GCC accepts without a cast warning.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

// A library of the system folder ("winmm.dll"), or null; never one found
// anywhere else.
HMODULE loadSystemLibrary(const char* name);

#endif
