// Process-wide values prepared at start-up and shared by the whole program,
// and the few small Win32 helpers every window uses.
#ifndef KELVARO_BASE_APP_H
#define KELVARO_BASE_APP_H

#include "base/owned_handle.h"

#include <windows.h>

#include <string>

typedef HRESULT(WINAPI* DwmIsCompositionEnabledFn)(BOOL* enabled);
typedef HRESULT(WINAPI* DwmGetWindowAttributeFn)(HWND window, DWORD attribute, PVOID value, DWORD size);

struct AppState {
    HINSTANCE instance;
    OwnedModule dwmapiModule;                          // empty when the library is absent
    DwmIsCompositionEnabledFn dwmIsCompositionEnabled; // either may be null
    DwmGetWindowAttributeFn dwmGetWindowAttribute;
    char modulePath[MAX_PATH];
    char startDirectory[MAX_PATH];
    DWORD programVersion[4];   // file version MS, LS, product version MS, LS
    char settingsKeyPath[64];
    OwnedFontResource privateFontHandle;
    HCURSOR smartCursor;
};

extern AppState app;

// A function of a library loaded at run time, or null.
template <typename Function>
Function procAddress(HMODULE module, const char* name)
{
    // Through a generic function pointer, which GCC accepts without a cast warning.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

// PlaySoundA, with winmm loaded on the first call; FALSE when it cannot be.
BOOL playSound(LPCSTR sound, HMODULE module, DWORD flags);
// Program sounds: SND_RESOURCE | SND_ASYNC | SND_NODEFAULT. False when the
// sound cannot be played.
bool playResourceSound(int waveId);
// Stops whatever the program is playing.
void stopAllSounds();

// COM on this thread, started on first use: S_OK, or a failure. When someone
// else already started it (S_FALSE) the extra reference is given back at once
// and the result is a failure.
HRESULT startCom();
// Stops COM if startCom started it; at shutdown.
void stopCom();

// An icon resource of the program at the given size; the caller destroys it.
HICON loadIconSized(int iconId, int size);
// Destroys the icon a button shows, if any (the button does not own it).
void destroyButtonIcon(HWND dialog, int buttonId);
// Destroys the small icon of a window's caption, if any.
void destroySmallIcon(HWND window);

// Moves the dialog focus to a control through the dialog manager, so that
// the control losing the focus gets its notification before this returns.
void moveDialogFocus(HWND dialog, int controlId);

// The whole text of a window or control, empty when it has none.
std::string windowText(HWND window);

// A control's rectangle in its dialog's client coordinates, taken from the
// window each time.
RECT clientRectOfControl(HWND dialog, int controlId);

// Puts procedure in front of a control's own window procedure, which is kept
// in the control's user data for callPreviousProc.
void subclassControl(HWND control, WNDPROC procedure);
LRESULT callPreviousProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam);

// Reports a handled message from a dialog procedure.
INT_PTR handledResult(HWND dialog, LONG_PTR result);

#endif
