// Testbed: a small dialog on which the harness proves its own commands
// (menus, message boxes, held keys, icons, combo boxes, keys and mouse).
// Every user action is answered by a line in the read-only log edit, and
// closing the dialog ends the process with exit code 7.
//   testbed.exe <module with icons 133, 134 and 171>
#include <windows.h>

#include <cstdio>

#include "testbed.h"

namespace {

const int cycledIcons[] = {133, 134, 171};
HMODULE iconModule = nullptr;
int iconIndex = 0;

void logLine(HWND dialog, const char* text)
{
    SetDlgItemTextA(dialog, IDC_TB_LOG, text);
}

void replaceIcon(HWND dialog, HICON icon)
{
    HICON previous = reinterpret_cast<HICON>(
        SendDlgItemMessageA(dialog, IDC_TB_ICON, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon)));
    if (previous != nullptr)
        DestroyIcon(previous);
}

void showIcon(HWND dialog)
{
    if (iconModule != nullptr)
        replaceIcon(dialog, static_cast<HICON>(LoadImageA(iconModule, MAKEINTRESOURCEA(cycledIcons[iconIndex]),
                                                          IMAGE_ICON, 32, 32, LR_DEFAULTCOLOR)));
}

void onInitDialog(HWND dialog)
{
    const char* const items[] = {"One", "Two", "Three"};
    for (const char* item : items)
        SendDlgItemMessageA(dialog, IDC_TB_COMBO, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    SendDlgItemMessageA(dialog, IDC_TB_COMBO, CB_SETCURSEL, 1, 0);
    showIcon(dialog);
    logLine(dialog, "ready");
}

void onMenu(HWND dialog)
{
    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, 1, "&First");
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, 2, "&Second");
    AppendMenuA(menu, MF_STRING, 3, "&Third");
    HMENU more = CreatePopupMenu();
    AppendMenuA(more, MF_STRING, 4, "&Alpha");
    AppendMenuA(more, MF_STRING, 5, "&Beta");
    AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(more), "M&ore");
    RECT button;
    GetWindowRect(GetDlgItem(dialog, IDC_TB_MENU), &button);
    const int chosen = static_cast<int>(TrackPopupMenuEx(menu, TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN,
                                                         button.left, button.bottom, dialog, nullptr));
    DestroyMenu(menu);   // and its submenu
    char text[32];
    std::snprintf(text, sizeof text, "menu %d", chosen);
    logLine(dialog, text);
}

void onAsk(HWND dialog)
{
    const int answer = MessageBoxA(dialog, "Proceed?", "Question", MB_YESNO | MB_ICONQUESTION);
    char text[32];
    std::snprintf(text, sizeof text, "ask %d", answer);
    logLine(dialog, text);
}

void onKeys(HWND dialog)
{
    char text[64];
    std::snprintf(text, sizeof text, "keys shift=%d control=%d", GetKeyState(VK_SHIFT) < 0 ? 1 : 0,
                  GetKeyState(VK_CONTROL) < 0 ? 1 : 0);
    logLine(dialog, text);
}

void onIcon(HWND dialog)
{
    iconIndex = (iconIndex + 1) % 3;
    showIcon(dialog);
    char text[32];
    std::snprintf(text, sizeof text, "icon %d", cycledIcons[iconIndex]);
    logLine(dialog, text);
}

void onOk(HWND dialog)
{
    char edit[256] = "";
    GetDlgItemTextA(dialog, IDC_TB_EDIT, edit, sizeof edit);
    char text[300];
    std::snprintf(text, sizeof text, "ok %s", edit);
    logLine(dialog, text);
}

void onCommand(HWND dialog, WPARAM wParam)
{
    const int id = LOWORD(wParam);
    const int code = HIWORD(wParam);
    char text[64];
    switch (id) {
    case IDOK:
        onOk(dialog);
        break;
    case IDCANCEL:
        logLine(dialog, "cancel");
        break;
    case IDC_TB_MENU:
        onMenu(dialog);
        break;
    case IDC_TB_ASK:
        onAsk(dialog);
        break;
    case IDC_TB_KEYS:
        onKeys(dialog);
        break;
    case IDC_TB_ICON:
        onIcon(dialog);
        break;
    case IDC_TB_CHECK:
        std::snprintf(text, sizeof text, "check %d", IsDlgButtonChecked(dialog, IDC_TB_CHECK) == BST_CHECKED ? 1 : 0);
        logLine(dialog, text);
        break;
    case IDC_TB_COMBO:
        if (code == CBN_SELCHANGE) {
            std::snprintf(text, sizeof text, "select %d",
                          static_cast<int>(SendDlgItemMessageA(dialog, IDC_TB_COMBO, CB_GETCURSEL, 0, 0)));
            logLine(dialog, text);
        }
        break;
    default:
        break;
    }
}

void onMouse(HWND dialog, const char* what, WPARAM wParam, LPARAM lParam)
{
    char text[64];
    std::snprintf(text, sizeof text, "%s %d %d %u", what, static_cast<short>(LOWORD(lParam)),
                  static_cast<short>(HIWORD(lParam)), static_cast<unsigned>(wParam));
    logLine(dialog, text);
}

INT_PTR CALLBACK testbedProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        onInitDialog(dialog);
        return TRUE;
    case WM_COMMAND:
        onCommand(dialog, wParam);
        return TRUE;
    case WM_LBUTTONDOWN:
        onMouse(dialog, "down", wParam, lParam);
        return TRUE;
    case WM_LBUTTONDBLCLK:
        onMouse(dialog, "double", wParam, lParam);
        return TRUE;
    case WM_RBUTTONUP:
        onMouse(dialog, "rightup", wParam, lParam);
        return TRUE;
    case WM_CLOSE:
        EndDialog(dialog, 7);
        return TRUE;
    case WM_DESTROY:
        replaceIcon(dialog, nullptr);
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 1)
        iconModule = LoadLibraryExA(argv[1], nullptr, LOAD_LIBRARY_AS_DATAFILE);
    const INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_TESTBED), nullptr,
                                           testbedProc, 0);
    if (iconModule != nullptr)
        FreeLibrary(iconModule);
    return static_cast<int>(result);
}
