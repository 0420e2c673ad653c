// Linked only into the start-up-breakdown variants of the baseline: it makes
// the baseline import the same system DLLs as Kelvaro without calling them,
// so that the difference measures the loading and initialising of those DLLs.
#include <windows.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlwapi.h>

// One function of each DLL; the table is kept, so the imports are too.
extern "C" __attribute__((used)) const void* const baselineImports[] = {
    reinterpret_cast<const void*>(&RegOpenKeyExA),  // advapi32
    reinterpret_cast<const void*>(&AddFontMemResourceEx),  // gdi32
    reinterpret_cast<const void*>(&CoInitialize),  // ole32
    reinterpret_cast<const void*>(&ShellExecuteA),  // shell32
    reinterpret_cast<const void*>(&PathFileExistsA),  // shlwapi
    reinterpret_cast<const void*>(&GetFileVersionInfoSizeA),  // version
};
