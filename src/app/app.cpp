#include "app/app.h"

#include <mmsystem.h>

AppState app;

void playResourceSound(int waveId)
{
    PlaySoundA(MAKEINTRESOURCEA(waveId), app.instance, SND_RESOURCE | SND_ASYNC | SND_NODEFAULT);
}

void stopAllSounds()
{
    PlaySoundA(nullptr, nullptr, 0);
}

HICON loadIconSized(int iconId, int size)
{
    return static_cast<HICON>(LoadImageA(app.instance, MAKEINTRESOURCEA(iconId), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
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
