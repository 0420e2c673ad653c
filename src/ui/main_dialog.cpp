// The main dialog procedure: the one dispatcher of the running program. It
// hands each message to a small handler here or to the part of the program
// that owns it (countdown, alerts, title bands, main menu).
#include "ui/main_dialog.h"

#include "base/app.h"
#include "base/display_scale_win.h"
#include "base/strings.h"
#include "events/catalogue.h"
#include "resource.h"
#include "settings/settings.h"
#include "store/placement_win.h"
#include "store/settings_store.h"
#include "timers/countdown.h"
#include "timers/duration.h"
#include "timers/panels.h"
#include "ui/alerts.h"
#include "ui/countdown_win.h"
#include "ui/dialog_icons.h"
#include "ui/main_menu.h"
#include "ui/timer_panel.h"
#include "ui/title_band_win.h"

#include <mmsystem.h>
#include <cstdio>
#include <string>

namespace {

UINT_PTR tickTimerId = 0;
// Enter in a duration edit starts its timer unless the edit's validation objects.
bool enterStartPending = false;

HWND topmostOrNot(bool onTop)
{
    return onTop ? HWND_TOPMOST : HWND_NOTOPMOST;
}

void showDuration(HWND dialog, int index)
{
    showTimerDuration(dialog, index, settings.timers[index].valueMs, true);
}

void placeWindow(HWND dialog)
{
    RECT current;
    GetWindowRect(dialog, &current);
    const RECT position = restoreMainWindowPosition(current);
    // The options are not loaded yet: this is the default keep-on-top state.
    SetWindowPos(dialog, topmostOrNot(settings.keepWindowOnTop), position.left, position.top, 0, 0,
                 SWP_NOSIZE | SWP_NOACTIVATE);
}

void fillPanel(HWND dialog, int index, const char unitNames[unitCount][32])
{
    const PanelIds& panel = panels[index];
    showTimerName(dialog, index);
    SendDlgItemMessageA(dialog, panel.edit, EM_LIMITTEXT, 10, 0);
    showDuration(dialog, index);
    for (int unit = 0; unit < unitCount; ++unit)
        SendDlgItemMessageA(dialog, panel.unitCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(unitNames[unit]));
    SendDlgItemMessageA(dialog, panel.unitCombo, CB_SETCURSEL, settings.timers[index].unit - 1, 0);
    fillEventCombo(dialog, index);
}

// Besides the timers' buttons, whose icons follow their state.
constexpr ButtonIcon menuButtonIcon[] = {{IDC_MENU, IDI_MENU, 16}};
constexpr DialogIcons fixedIcons = dialogIcons(menuButtonIcon, IDI_APP, 32);

INT_PTR onInitDialog(HWND dialog)
{
    if (tickTimerId != 0 || SetTimer(dialog, ID_TICK_TIMER, tickPeriodMs, nullptr) == 0) {
        EndDialog(dialog, -1);
        return FALSE;
    }
    tickTimerId = ID_TICK_TIMER;

    fitDialogToScale(dialog);
    placeWindow(dialog);
    loadAllSettings(app.settingsKeyPath);

    char unitNames[unitCount][32];
    for (int unit = 0; unit < unitCount; ++unit)
        loadString(IDS_SECONDS + unit, unitNames[unit], sizeof unitNames[unit]);
    for (int index = 0; index < timerCount; ++index)
        fillPanel(dialog, index, unitNames);

    CheckDlgButton(dialog, IDC_KEEP_ON_TOP, settings.keepWindowOnTop ? BST_CHECKED : BST_UNCHECKED);
    SetWindowPos(dialog, topmostOrNot(settings.keepWindowOnTop), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    for (int index = 0; index < timerCount; ++index)
        setTimerButtonIcon(dialog, index, IDI_READY);
    setDialogIcons(dialog, fixedIcons);

    moveDialogFocus(dialog, IDC_START1);
    return FALSE;
}

// On a monitor with another scale the system lays the dialog out anew; the
// icons are loaded again at their size for it.
INT_PTR onDpiChanged(HWND dialog, LPARAM lParam)
{
    takeSuggestedRect(dialog, lParam);
    for (int index = 0; index < timerCount; ++index)
        setTimerButtonIcon(dialog, index, stateIcon(timerStateOf(timerRuntime[index])));
    reloadDialogIcons(dialog, fixedIcons);
    return handledResult(dialog, 0);
}

INT_PTR onDestroy(HWND dialog)
{
    if (tickTimerId != 0) {
        KillTimer(dialog, tickTimerId);
        tickTimerId = 0;
    }
    for (const PanelIds& panel : panels)
        destroyButtonIcon(dialog, panel.button);
    destroyDialogIcons(dialog, fixedIcons);
    return TRUE;
}

// The unit and the event a timer panel's lists have selected.
std::uint32_t selectedUnit(HWND dialog, int index)
{
    const LRESULT selection = SendDlgItemMessageA(dialog, panels[index].unitCombo, CB_GETCURSEL, 0, 0);
    return unitFromComboIndex(static_cast<int>(selection));
}

std::uint32_t selectedEvent(HWND dialog, int index)
{
    const LRESULT selection = SendDlgItemMessageA(dialog, panels[index].eventCombo, CB_GETCURSEL, 0, 0);
    return eventIdFromComboIndex(static_cast<int>(selection));
}

bool shiftOrControlDown()
{
    return GetKeyState(VK_SHIFT) < 0 || GetKeyState(VK_CONTROL) < 0;
}

INT_PTR onExitRequest(HWND dialog, int commandId)
{
    const int running = runningTimerCount();
    if (running >= 1) {
        char caption[128];
        char text[256];
        loadString(IDS_EXIT_CAPTION, caption, sizeof caption);
        if (running == 1) {
            loadString(IDS_ONE_RUNNING, text, sizeof text);
        } else {
            char format[256];
            loadString(IDS_MANY_RUNNING, format, sizeof format);
            std::snprintf(text, sizeof text, format, static_cast<unsigned>(running));
        }
        if (MessageBoxA(dialog, text, caption, MB_ICONQUESTION | MB_YESNO) != IDYES)
            return handledResult(dialog, 1);
    }
    EndDialog(dialog, 0);
    // Played to its end before the process goes away.
    if (commandId == ID_EXIT_WITH_SOUND)
        playSound(MAKEINTRESOURCEA(IDW_EXIT), app.instance, SND_RESOURCE | SND_NODEFAULT);
    return handledResult(dialog, 1);
}

int focusedDurationEdit(HWND dialog)
{
    const HWND focus = GetFocus();
    for (int index = 0; index < timerCount; ++index) {
        if (focus != nullptr && focus == GetDlgItem(dialog, panels[index].edit))
            return index;
    }
    return -1;
}

// The Menu button is the default button, so Enter anywhere arrives here too.
INT_PTR onMenuOrEnter(HWND dialog)
{
    const int index = focusedDurationEdit(dialog);
    if (index >= 0) {
        enterStartPending = true;
        moveDialogFocus(dialog, IDC_MENU);   // runs the edit's validation now
        if (enterStartPending) {
            enterStartPending = false;
            const int button = panels[index].button;
            moveDialogFocus(dialog, button);
            SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, 0), reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
        }
        return handledResult(dialog, 1);
    }
    const bool funnyExit = shiftOrControlDown();
    if (GetFocus() != GetDlgItem(dialog, IDC_MENU))
        moveDialogFocus(dialog, IDC_MENU);
    showMainMenu(dialog, funnyExit);
    return handledResult(dialog, 1);
}

INT_PTR onKeepOnTop(HWND dialog)
{
    setOption(Option::keepWindowOnTop, IsDlgButtonChecked(dialog, IDC_KEEP_ON_TOP) == BST_CHECKED);
    SetWindowPos(dialog, topmostOrNot(settings.keepWindowOnTop), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    playResourceSound(settings.keepWindowOnTop ? IDW_SWITCH_ON : IDW_SWITCH_OFF);
    return handledResult(dialog, 1);
}

INT_PTR onUnitChange(HWND dialog, int index)
{
    setTimerUnit(index, selectedUnit(dialog, index));
    showDuration(dialog, index);
    return handledResult(dialog, 1);
}

INT_PTR onEventChange(HWND dialog, int index)
{
    setTimerEvent(index, selectedEvent(dialog, index));
    return handledResult(dialog, 1);
}

INT_PTR onDurationKillFocus(HWND dialog, int index)
{
    const std::string text = windowText(GetDlgItem(dialog, panels[index].edit));
    const TimerSettings& timer = settings.timers[index];
    std::uint32_t value = timer.valueMs;
    const int result = parseDuration(text.c_str(), timer.unit, value);
    if (result >= 0)
        setTimerDuration(index, value);
    showDuration(dialog, index);
    if (result <= 0) {
        enterStartPending = false;
        moveDialogFocus(dialog, panels[index].edit);
        playResourceSound(IDW_ERROR);
    }
    return handledResult(dialog, 1);
}

INT_PTR onCommand(HWND dialog, WPARAM wParam)
{
    const int id = LOWORD(wParam);
    const int code = HIWORD(wParam);
    if (id == IDOK || id == IDCANCEL)
        return handledResult(dialog, 1);   // Escape never closes the dialog
    if (id == ID_EXIT || id == ID_EXIT_WITH_SOUND)
        return onExitRequest(dialog, id);
    const int timeUp = panelOfTimeUpCommand(static_cast<unsigned>(id));
    if (timeUp >= 0) {
        startStopTimer(dialog, timeUp, false);
        return handledResult(dialog, 1);
    }
    if (id == IDC_MENU && code == BN_CLICKED)
        return onMenuOrEnter(dialog);
    if (id == IDC_KEEP_ON_TOP && code == BN_CLICKED)
        return onKeepOnTop(dialog);
    int index = panelOfButton(id);
    if (index >= 0 && code == BN_CLICKED) {
        startStopTimer(dialog, index, true);
        return handledResult(dialog, 1);
    }
    index = panelOfUnitCombo(id);
    if (index >= 0 && code == CBN_SELCHANGE)
        return onUnitChange(dialog, index);
    index = panelOfEventCombo(id);
    if (index >= 0 && code == CBN_SELCHANGE)
        return onEventChange(dialog, index);
    index = panelOfEdit(id);
    if (index >= 0 && code == EN_KILLFOCUS)
        return onDurationKillFocus(dialog, index);
    return FALSE;
}

INT_PTR onSysCommand(HWND dialog, WPARAM wParam)
{
    if ((wParam & 0xFFF0) != SC_CLOSE)
        return FALSE;
    SendMessageA(dialog, WM_COMMAND, shiftOrControlDown() ? ID_EXIT_WITH_SOUND : ID_EXIT, 0);
    return handledResult(dialog, 1);
}

// Left to the dialog manager as well, which keeps the focus where the user
// left it across a switch to another window and back.
INT_PTR onActivate(HWND dialog, WPARAM wParam)
{
    const WORD state = LOWORD(wParam);
    if ((state == WA_ACTIVE || state == WA_CLICKACTIVE) && flashPending)
        stopFlash(dialog);
    return FALSE;
}

INT_PTR onTimer(HWND dialog, WPARAM wParam)
{
    if (wParam == ID_DUE_TIMER) {
        onDueTimer(dialog);
        return TRUE;
    }
    if (tickTimerId == 0 || wParam != tickTimerId)
        return FALSE;
    onTimerTick(dialog);
    // Nobody reads a timer message's result, and setting DWLP_MSGRESULT on
    // every tick costs a round trip to the window manager five times a second.
    return TRUE;
}

} // namespace

INT_PTR CALLBACK mainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_TIMER:
        return onTimer(dialog, wParam);
    case WM_SETCURSOR:
        return onTitleBandSetCursor(dialog);
    case WM_COMMAND:
        return onCommand(dialog, wParam);
    case WM_SYSCOMMAND:
        return onSysCommand(dialog, wParam);
    case WM_ACTIVATE:
        return onActivate(dialog, wParam);
    case WM_INITDIALOG:
        return onInitDialog(dialog);
    case WM_DESTROY:
        return onDestroy(dialog);
    case WM_DPICHANGED:
        return onDpiChanged(dialog, lParam);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONUP:
        return onTitleBandMouse(dialog, message, wParam, lParam);
    case WM_NAME_EDITED1:
    case WM_NAME_EDITED2:
    case WM_NAME_EDITED3:
        return onNameEdited(dialog, lParam);
    default:
        return FALSE;
    }
}
