// Process-wide values: prepared once at start-up, read by the whole program,
// and released at shutdown in a fixed order. No window keeps its state here.
#ifndef KELVARO_BASE_PROCESS_H
#define KELVARO_BASE_PROCESS_H

#include "base/com.h"
#include "base/owned_handle.h"

#include <windows.h>

typedef HRESULT(WINAPI* DwmIsCompositionEnabledFn)(BOOL* enabled);
typedef HRESULT(WINAPI* DwmGetWindowAttributeFn)(HWND window, DWORD attribute, PVOID value, DWORD size);

struct AppState {
    HINSTANCE instance;
    OwnedModule dwmapiModule;                          // empty when the library is absent
    DwmIsCompositionEnabledFn dwmIsCompositionEnabled; // either may be null
    DwmGetWindowAttributeFn dwmGetWindowAttribute;
    OwnedModule winmmModule;      // loaded with the first sound
    OwnedModule comdlg32Module;   // loaded with the first file dialog
    ComSession com;               // started by the first use of a shell object
    char modulePath[MAX_PATH];
    char startDirectory[MAX_PATH];
    DWORD programVersion[4];   // file version MS, LS, product version MS, LS
    char settingsKeyPath[64];
    OwnedFontResource privateFontHandle;
    HCURSOR smartCursor;
};

extern AppState app;

// The libraries loaded on first use, loaded now if they are not yet; the
// module, or null when it cannot be loaded.
HMODULE winmmModule();
HMODULE comdlg32Module();

#endif
