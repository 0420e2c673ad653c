#include "base/system_library.h"

#include <cstring>

#ifndef LOAD_LIBRARY_SEARCH_SYSTEM32
#define LOAD_LIBRARY_SEARCH_SYSTEM32 0x00000800
#endif

namespace {

// Whether this system knows the search flags (Windows 8, or 7 with the
// update that added SetDefaultDllDirectories); set once at start-up.
bool searchFlagsKnown = false;

} // namespace

void restrictLibrarySearch()
{
    typedef BOOL(WINAPI * SetDefaultDllDirectoriesFn)(DWORD flags);
    const auto setDefaultDllDirectories =
        procAddress<SetDefaultDllDirectoriesFn>(GetModuleHandleA("kernel32.dll"), "SetDefaultDllDirectories");
    searchFlagsKnown = setDefaultDllDirectories != nullptr && setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    // Without the flags, at least the current directory leaves the search.
    if (!searchFlagsKnown)
        SetDllDirectoryA("");
}

HMODULE loadSystemLibrary(const char* name)
{
    if (searchFlagsKnown)
        return LoadLibraryExA(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    // The full path; the altered search then finds the library's own
    // dependencies in the system folder too.
    char path[MAX_PATH];
    const UINT length = GetSystemDirectoryA(path, MAX_PATH);
    const std::size_t nameLength = std::strlen(name);
    if (length == 0 || length + 1 + nameLength >= MAX_PATH)
        return nullptr;
    path[length] = '\\';
    std::memcpy(path + length + 1, name, nameLength + 1);
    return LoadLibraryExA(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}
