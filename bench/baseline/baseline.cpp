// The benchmark's baseline: the least a Win32 dialog program with a 200 ms
// window timer can be. It shows an empty dialog the size of Kelvaro's main
// dialog, ticks, and does nothing else; closing it ends the process.
#include <windows.h>

namespace {

// The start-up breakdown builds one variant around Kelvaro's own template.
#ifndef BASELINE_DIALOG_ID
#define BASELINE_DIALOG_ID 100
#endif
const int baselineDialogId = BASELINE_DIALOG_ID;
const UINT_PTR tickTimerId = 101;

INT_PTR onInitDialog(HWND dialog)
{
    if (SetTimer(dialog, tickTimerId, 200, nullptr) == 0)
        EndDialog(dialog, -1);
    return TRUE;
}

INT_PTR onClose(HWND dialog)
{
    KillTimer(dialog, tickTimerId);
    EndDialog(dialog, 0);
    return TRUE;
}

INT_PTR CALLBACK baselineDialogProc(HWND dialog, UINT message, WPARAM, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        return onInitDialog(dialog);
    case WM_TIMER:
        return TRUE;
    case WM_CLOSE:
        return onClose(dialog);
    default:
        return FALSE;
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    DialogBoxParamA(instance, MAKEINTRESOURCEA(baselineDialogId), nullptr, baselineDialogProc, 0);
    return 0;
}
