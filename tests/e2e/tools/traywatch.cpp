// Stands in for the shell's notification area: a topmost "Shell_TrayWnd"
// made after Wine's own receives every Shell_NotifyIcon call of the prefix
// as WM_COPYDATA. Each call is appended to traywatch.log beside this
// program as "call <NIM code> <payload hex>"; the first is a call of its
// own with a known tip, from which the reader learns the payload's layout.
// "ready <hwnd> <TaskbarButtonCreated> <TaskbarCreated>" follows once
// FindWindowExW finds this window first.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cwchar>

namespace {

wchar_t logPath[MAX_PATH];

void appendLine(const char* head, const unsigned char* bytes, DWORD size)
{
    FILE* file = _wfopen(logPath, L"ab");
    if (file == nullptr)
        return;
    std::fputs(head, file);
    for (DWORD i = 0; i < size; ++i)
        std::fprintf(file, "%02x", bytes[i]);
    std::fputs("\n", file);
    std::fclose(file);
}

LRESULT CALLBACK trayProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COPYDATA) {
        const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        char head[32];
        std::snprintf(head, sizeof head, "call %lu ", static_cast<unsigned long>(data->dwData));
        appendLine(head, static_cast<const unsigned char*>(data->lpData), data->cbData);
        return TRUE;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    GetModuleFileNameW(nullptr, logPath, MAX_PATH);
    wchar_t* slash = std::wcsrchr(logPath, L'\\');
    std::wcscpy(slash != nullptr ? slash + 1 : logPath, L"traywatch.log");

    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = trayProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = L"Shell_TrayWnd";
    if (!RegisterClassW(&windowClass))
        return 1;
    const HWND tray = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, L"Shell_TrayWnd", L"", WS_POPUP, 0, 0, 1, 1,
                                      nullptr, nullptr, instance, nullptr);
    if (tray == nullptr || FindWindowExW(nullptr, nullptr, L"Shell_TrayWnd", nullptr) != tray)
        return 2;

    // The calibration call: a known tip and a 16 x 16 icon.
    NOTIFYICONDATAW data = {};
    data.cbSize = sizeof data;
    data.hWnd = tray;
    data.uID = 0xCA1;
    data.uFlags = NIF_TIP | NIF_ICON;
    data.hIcon = static_cast<HICON>(LoadImageW(nullptr, MAKEINTRESOURCEW(32512), IMAGE_ICON, 16, 16, LR_SHARED));
    std::wcscpy(data.szTip, L"traywatch calibration");
    Shell_NotifyIconW(NIM_ADD, &data);

    // The program's shell messages are posted by the test: their numbers.
    char ready[96];
    std::snprintf(ready, sizeof ready, "ready %lu %u %u", static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(tray)),
                  RegisterWindowMessageW(L"TaskbarButtonCreated"), RegisterWindowMessageW(L"TaskbarCreated"));
    appendLine(ready, nullptr, 0);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0)
        DispatchMessageW(&message);
    return 0;
}
