#include "base/app.h"

#include <mmsystem.h>

AppState app;

namespace {

// Null until the first sound: nothing can be playing before it.
decltype(&PlaySoundA) loadedPlaySound = nullptr;

} // namespace

// winmm takes several milliseconds to load and start-up plays nothing, so it
// is loaded with the first sound and stays loaded for the rest of the run.
BOOL playSound(LPCSTR sound, HMODULE module, DWORD flags)
{
    static const HMODULE winmm = LoadLibraryA("winmm.dll");
    if (loadedPlaySound == nullptr && winmm != nullptr)
        loadedPlaySound = procAddress<decltype(&PlaySoundA)>(winmm, "PlaySoundA");
    return loadedPlaySound != nullptr && loadedPlaySound(sound, module, flags);
}

void playResourceSound(int waveId)
{
    playSound(MAKEINTRESOURCEA(waveId), app.instance, SND_RESOURCE | SND_ASYNC | SND_NODEFAULT);
}

void stopAllSounds()
{
    if (loadedPlaySound != nullptr)
        loadedPlaySound(nullptr, nullptr, 0);
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

INT_PTR handledResult(HWND dialog, LONG_PTR result)
{
    SetWindowLongPtrA(dialog, DWLP_MSGRESULT, result);
    return TRUE;
}
