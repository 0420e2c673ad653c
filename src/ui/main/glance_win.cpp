#include "ui/main/glance_win.h"

#include "base/display_scale_win.h"
#include "base/process.h"
#include "base/system_library.h"
#include "base/strings.h"
#include "base/text.h"
#include "resource.h"
#include "ui/main/main_menu.h"
#include "ui/main/main_messages.h"

#include <shellapi.h>

namespace {

constexpr UINT trayIconId = 1;

typedef BOOL(WINAPI* ChangeWindowMessageFilterExFn)(HWND window, UINT message, DWORD action, void* status);

void allowMessage(HWND dialog, UINT message)
{
    // Windows 7 and later; a program with the same rights as the shell needs no filter change.
    const auto change = procAddress<ChangeWindowMessageFilterExFn>(GetModuleHandleA("user32.dll"),
                                                                   "ChangeWindowMessageFilterEx");
    if (change != nullptr && message != 0)
        change(dialog, message, MSGFLT_ALLOW, nullptr);
}

// The full size: the program needs Windows 7, whose shell takes it, and
// version 4 callbacks and NIF_SHOWTIP need at least the Vista layout.
NOTIFYICONDATAA iconData(HWND dialog, UINT flags)
{
    NOTIFYICONDATAA data = {};
    data.cbSize = sizeof data;
    data.hWnd = dialog;
    data.uID = trayIconId;
    data.uFlags = flags;
    return data;
}

int pictureIconId(TrayPicture picture)
{
    constexpr int icons[] = {IDI_APP, IDI_RUNNING, IDI_TIME_UP};   // by TrayPicture
    return icons[static_cast<int>(picture)];
}

int smallIconSize(HWND dialog)
{
    return systemMetricForDpi(SM_CXSMICON, windowDpi(dialog));
}

// The icon's picture and tip as data, with only what changed flagged.
NOTIFYICONDATAA iconChanges(HWND dialog, Glance& glance, TrayPicture picture, const std::string& tip)
{
    NOTIFYICONDATAA data = iconData(dialog, NIF_MESSAGE | NIF_SHOWTIP);
    data.uCallbackMessage = WM_TRAY_CALLBACK;
    const int size = glance.iconSize;
    if (!glance.iconAdded || picture != glance.shownPicture || size != glance.shownIconSize) {
        glance.icon.reset(loadIconSized(pictureIconId(picture), size));
        data.hIcon = glance.icon.get();
        data.uFlags |= NIF_ICON;
    }
    if (!glance.iconAdded || tip != glance.shownTip) {
        copyText(data.szTip, sizeof data.szTip, tip.c_str());
        data.uFlags |= NIF_TIP;
    }
    return data;
}

std::string currentTip(const Glance& glance, const TimerRuntime (&runtimes)[timerCount], const SettingsRecord& record)
{
    std::string plainNames[timerCount];
    const char* names[timerCount];
    std::uint32_t units[timerCount];
    for (int index = 0; index < timerCount; ++index) {
        plainNames[index] = plainName(record.timers[index].label);
        names[index] = plainNames[index].c_str();
        units[index] = record.timers[index].unit;
    }
    return trayTip(runtimes, names, units, glance.pausedSuffix.c_str(), glance.title.c_str());
}

void addOrChangeIcon(HWND dialog, Glance& glance, const TimerRuntime (&runtimes)[timerCount],
                     const SettingsRecord& record)
{
    const TrayPicture picture = trayPicture(runtimes);
    const std::string tip = currentTip(glance, runtimes, record);
    if (glance.iconAdded && picture == glance.shownPicture && tip == glance.shownTip
        && glance.iconSize == glance.shownIconSize)
        return;
    NOTIFYICONDATAA data = iconChanges(dialog, glance, picture, tip);
    if (!glance.iconAdded) {
        if (!Shell_NotifyIconA(NIM_ADD, &data)) {
            glance.addFailed = true;
            return;
        }
        data.uVersion = NOTIFYICON_VERSION_4;
        Shell_NotifyIconA(NIM_SETVERSION, &data);
        glance.iconAdded = true;
    } else if (!Shell_NotifyIconA(NIM_MODIFY, &data)) {
        return;   // tried again at the next change
    }
    glance.shownPicture = picture;
    glance.shownTip = tip;
    glance.shownIconSize = glance.iconSize;
}

void deleteIcon(HWND dialog, Glance& glance)
{
    if (!glance.iconAdded)
        return;
    NOTIFYICONDATAA data = iconData(dialog, 0);
    Shell_NotifyIconA(NIM_DELETE, &data);
    glance.iconAdded = false;
    glance.icon.reset();
}

void removeIcon(HWND dialog, Glance& glance)
{
    const bool wasAdded = glance.iconAdded;
    deleteIcon(dialog, glance);
    // Hidden at a minimise, the dialog would have no way back.
    if (wasAdded && !IsWindowVisible(dialog))
        ShowWindow(dialog, SW_SHOWMINNOACTIVE);
}

void updateIcon(HWND dialog, Glance& glance, const TimerRuntime (&runtimes)[timerCount], const SettingsRecord& record)
{
    if (record.showInNotificationArea != glance.optionWasOn) {
        glance.optionWasOn = record.showInNotificationArea;
        glance.addFailed = false;
    }
    if (!record.showInNotificationArea)
        removeIcon(dialog, glance);
    else if (!glance.addFailed)
        addOrChangeIcon(dialog, glance, runtimes, record);
}

TBPFLAG progressFlag(ProgressState state)
{
    constexpr TBPFLAG flags[] = {TBPF_NOPROGRESS, TBPF_NORMAL, TBPF_PAUSED, TBPF_ERROR};   // by ProgressState
    return flags[static_cast<int>(state)];
}

void updateProgress(HWND dialog, Glance& glance, const TimerRuntime (&runtimes)[timerCount],
                    const SettingsRecord& record)
{
    if (!glance.taskbar)
        return;
    std::uint32_t valuesMs[timerCount];
    for (int index = 0; index < timerCount; ++index)
        valuesMs[index] = record.timers[index].valueMs;
    const TaskbarProgress next = taskbarProgress(runtimes, valuesMs, GetTickCount());
    if (glance.progressShown && !progressChanged(glance.shownProgress, next))
        return;
    ITaskbarList3* taskbar = glance.taskbar.get();
    if (!glance.progressShown || next.state != glance.shownProgress.state)
        taskbar->SetProgressState(dialog, progressFlag(next.state));
    if (next.state != ProgressState::none)
        taskbar->SetProgressValue(dialog, next.permille, progressScale);
    glance.progressShown = true;
    glance.shownProgress = next;
}

// Each "TaskbarButtonCreated" comes with a new button: a new list, and the
// progress shown again.
void onTaskbarButtonCreated(HWND dialog, Glance& glance, const TimerRuntime (&runtimes)[timerCount],
                            const SettingsRecord& record)
{
    glance.taskbar.reset();
    glance.progressShown = false;
    if (FAILED(app.com.start()))
        return;
    ComRef<ITaskbarList3> taskbar;
    if (FAILED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskbarList3,
                                reinterpret_cast<void**>(taskbar.receive())))
        || FAILED(taskbar.get()->HrInit()))
        return;
    glance.taskbar = std::move(taskbar);
    updateProgress(dialog, glance, runtimes, record);
}

// The shell restarted: its icons are gone.
void onTaskbarCreated(HWND dialog, Glance& glance, const TimerRuntime (&runtimes)[timerCount],
                      const SettingsRecord& record)
{
    glance.iconAdded = false;
    glance.addFailed = false;
    updateIcon(dialog, glance, runtimes, record);
}

void bringBack(HWND dialog)
{
    ShowWindow(dialog, IsIconic(dialog) ? SW_RESTORE : SW_SHOW);
    // A modal dialog of the program comes forward instead.
    SetForegroundWindow(GetLastActivePopup(dialog));
}

void onTrayMenu(HWND dialog, WPARAM wParam)
{
    // Busy with a modal dialog: that one is shown instead of a second menu.
    if (!IsWindowEnabled(dialog)) {
        bringBack(dialog);
        return;
    }
    // Without the foreground the menu would not close at a click elsewhere.
    SetForegroundWindow(dialog);
    const POINT at = {static_cast<short>(LOWORD(wParam)), static_cast<short>(HIWORD(wParam))};
    showMainMenuAt(dialog, false, at);
    PostMessageA(dialog, WM_NULL, 0, 0);
}

INT_PTR onTrayCallback(HWND dialog, WPARAM wParam, LPARAM lParam)
{
    if (HIWORD(lParam) != trayIconId)
        return FALSE;
    switch (LOWORD(lParam)) {
    case NIN_SELECT:
    case NIN_KEYSELECT:
        bringBack(dialog);
        break;
    case WM_CONTEXTMENU:
        onTrayMenu(dialog, wParam);
        break;
    default:
        break;
    }
    return TRUE;
}

} // namespace

void startGlance(HWND dialog, Glance& glance)
{
    glance.taskbarButtonCreated = RegisterWindowMessageA("TaskbarButtonCreated");
    glance.taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
    allowMessage(dialog, glance.taskbarButtonCreated);
    allowMessage(dialog, glance.taskbarCreated);
    glance.iconSize = smallIconSize(dialog);
    glance.title = loadText(IDS_TITLE);
    glance.pausedSuffix = loadText(IDS_PAUSED_SUFFIX);
}

void updateGlance(HWND dialog, Glance& glance, const TimerRuntime (&runtimes)[timerCount],
                  const SettingsRecord& record)
{
    updateProgress(dialog, glance, runtimes, record);
    if (record.showInNotificationArea || glance.iconAdded || glance.optionWasOn)
        updateIcon(dialog, glance, runtimes, record);
}

INT_PTR onGlanceMessage(HWND dialog, Glance& glance, UINT message, WPARAM wParam, LPARAM lParam,
                        const TimerRuntime (&runtimes)[timerCount], const SettingsRecord& record)
{
    if (message == WM_TRAY_CALLBACK)
        return onTrayCallback(dialog, wParam, lParam);
    if (message == 0)
        return FALSE;
    if (message == glance.taskbarButtonCreated) {
        onTaskbarButtonCreated(dialog, glance, runtimes, record);
        return TRUE;
    }
    if (message == glance.taskbarCreated) {
        onTaskbarCreated(dialog, glance, runtimes, record);
        return TRUE;
    }
    return FALSE;
}

// Only when the user is elsewhere: in front of the dialog the panel says it.
void showTimeUpNotice(HWND dialog, const Glance& glance, int index, const SettingsRecord& record)
{
    if (!glance.iconAdded || index < 0 || index >= timerCount)
        return;
    if (GetForegroundWindow() == dialog && IsWindowVisible(dialog) && !IsIconic(dialog))
        return;
    NOTIFYICONDATAA data = iconData(dialog, NIF_INFO);
    copyText(data.szInfoTitle, sizeof data.szInfoTitle, plainName(record.timers[index].label).c_str());
    copyText(data.szInfo, sizeof data.szInfo, loadText(IDS_TIME_IS_UP).c_str());
    // The program plays its own event.
    data.dwInfoFlags = NIIF_INFO | NIIF_NOSOUND;
    Shell_NotifyIconA(NIM_MODIFY, &data);
}

void onGlanceScaleChanged(HWND dialog, Glance& glance, const TimerRuntime (&runtimes)[timerCount],
                          const SettingsRecord& record)
{
    glance.iconSize = smallIconSize(dialog);
    updateGlance(dialog, glance, runtimes, record);
}

INT_PTR onGlanceSize(HWND dialog, const Glance& glance, WPARAM wParam)
{
    if (wParam == SIZE_MINIMIZED && glance.iconAdded)
        ShowWindow(dialog, SW_HIDE);
    return FALSE;
}

void endGlance(HWND dialog, Glance& glance)
{
    deleteIcon(dialog, glance);
    glance.taskbar.reset();
}
