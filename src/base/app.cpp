#include "base/app.h"

#include "base/system_library.h"

#include <mmsystem.h>
#include <objbase.h>

AppState app;

namespace {

// Null until the first sound: nothing can be playing before it.
decltype(&PlaySoundA) loadedPlaySound = nullptr;

// Set once CoInitialize succeeded on this thread.
bool comStarted = false;

} // namespace

// winmm takes several milliseconds to load and start-up plays nothing, so it
// is loaded with the first sound and stays loaded for the rest of the run.
BOOL playSound(LPCSTR sound, HMODULE module, DWORD flags)
{
    static const HMODULE winmm = loadSystemLibrary("winmm.dll");
    if (loadedPlaySound == nullptr && winmm != nullptr)
        loadedPlaySound = procAddress<decltype(&PlaySoundA)>(winmm, "PlaySoundA");
    return loadedPlaySound != nullptr && loadedPlaySound(sound, module, flags);
}

bool playResourceSound(int waveId)
{
    return playSound(MAKEINTRESOURCEA(waveId), app.instance, SND_RESOURCE | SND_ASYNC | SND_NODEFAULT) != FALSE;
}

void stopAllSounds()
{
    if (loadedPlaySound != nullptr)
        loadedPlaySound(nullptr, nullptr, 0);
}

HRESULT startCom()
{
    if (comStarted)
        return S_OK;
    const HRESULT result = CoInitialize(nullptr);
    if (result == S_OK) {
        comStarted = true;
        return S_OK;
    }
    if (result == S_FALSE) {
        CoUninitialize();
        return -1;
    }
    return result;
}

void stopCom()
{
    if (comStarted) {
        CoUninitialize();
        comStarted = false;
    }
}

HICON loadIconSized(int iconId, int size)
{
    return static_cast<HICON>(LoadImageA(app.instance, MAKEINTRESOURCEA(iconId), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

void destroyButtonIcon(HWND dialog, int buttonId)
{
    const HICON icon = reinterpret_cast<HICON>(SendDlgItemMessageA(dialog, buttonId, BM_GETIMAGE, IMAGE_ICON, 0));
    if (icon != nullptr)
        DestroyIcon(icon);
}

void destroySmallIcon(HWND window)
{
    const HICON icon = reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, ICON_SMALL, 0));
    if (icon != nullptr)
        DestroyIcon(icon);
}

void moveDialogFocus(HWND dialog, int controlId)
{
    SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, controlId)), TRUE);
}

std::string windowText(HWND window)
{
    const int length = GetWindowTextLengthA(window);
    std::string text(static_cast<std::size_t>(length > 0 ? length : 0) + 1, '\0');
    const int copied = GetWindowTextA(window, &text[0], length + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return text;
}

RECT clientRectOfControl(HWND dialog, int controlId)
{
    RECT rect = {};
    GetWindowRect(GetDlgItem(dialog, controlId), &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void subclassControl(HWND control, WNDPROC procedure)
{
    SetWindowLongPtrA(control, GWLP_USERDATA, GetWindowLongPtrA(control, GWLP_WNDPROC));
    SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure));
}

LRESULT callPreviousProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam)
{
    const WNDPROC previous = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(control, GWLP_USERDATA));
    return CallWindowProcA(previous, control, message, wParam, lParam);
}

INT_PTR handledResult(HWND dialog, LONG_PTR result)
{
    SetWindowLongPtrA(dialog, DWLP_MSGRESULT, result);
    return TRUE;
}
