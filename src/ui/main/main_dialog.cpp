// The main dialog procedure: the one dispatcher of the running program. It
// hands each message to a small handler here or to the part of the program
// that owns it (countdown, alerts, title bands, main menu).
#include "ui/main/main_dialog.h"

#include "base/callback_boundary.h"
#include "base/dialog_helpers.h"
#include "base/process.h"
#include "base/sound.h"
#include "base/display_scale_win.h"
#include "base/strings.h"
#include "events/catalogue.h"
#include "resource.h"
#include "settings/settings.h"
#include "store/placement_win.h"
#include "store/settings_store.h"
#include "timers/countdown.h"
#include "timers/duration.h"
#include "ui/main/panels.h"
#include "ui/dialogs/settings_dialog.h"
#include "ui/main/alerts.h"
#include "ui/main/main_messages.h"
#include "ui/main/main_state.h"
#include "ui/main/panel_keys.h"
#include "ui/main/countdown_win.h"
#include "ui/common/dialog_icons.h"
#include "ui/main/main_menu.h"
#include "ui/main/timer_panel.h"
#include "ui/main/title_band.h"

#include <mmsystem.h>
#include <cstdio>
#include <string>

namespace {

constexpr unsigned unitNameIds[unitCount] = {IDS_SECONDS, IDS_MINUTES, IDS_HOURS};

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

INT_PTR onInitDialog(MainDialogState& state, HWND dialog)
{
    state.dialog = dialog;
    if (SetTimer(dialog, ID_TICK_TIMER, tickPeriodMs, nullptr) == 0) {
        EndDialog(dialog, -1);
        return FALSE;
    }
    state.tickRunning = true;

    fitDialogToScale(dialog);
    placeWindow(dialog);
    loadAllSettings(app.settingsKeyPath);
    startGlance(dialog, state.glance);

    char unitNames[unitCount][32];
    for (int unit = 0; unit < unitCount; ++unit)
        loadString(unitNameIds[unit], unitNames[unit], sizeof unitNames[unit]);
    for (int index = 0; index < timerCount; ++index)
        fillPanel(dialog, index, unitNames);
    attachPanelKeys(dialog);

    CheckDlgButton(dialog, IDC_KEEP_ON_TOP, settings.keepWindowOnTop ? BST_CHECKED : BST_UNCHECKED);
    SetWindowPos(dialog, topmostOrNot(settings.keepWindowOnTop), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    for (int index = 0; index < timerCount; ++index)
        showTimerState(state, index);
    setDialogIcons(dialog, fixedIcons, state.fixedIcons);

    moveDialogFocus(dialog, IDC_START1);
    return FALSE;
}

// On a monitor with another scale the system lays the dialog out anew; the
// icons are loaded again at their size for it.
INT_PTR onDpiChanged(MainDialogState& state, LPARAM lParam)
{
    for (int index = 0; index < timerCount; ++index)
        showTimerState(state, index);
    const INT_PTR result = onDialogScaleChanged(state.dialog, lParam, fixedIcons, state.fixedIcons);
    onGlanceScaleChanged(state.dialog, state.glance, state.runtimes, settings);
    return result;
}

INT_PTR onDestroy(MainDialogState& state)
{
    endGlance(state.dialog, state.glance);
    if (state.tickRunning) {
        KillTimer(state.dialog, ID_TICK_TIMER);
        state.tickRunning = false;
    }
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

INT_PTR onExitRequest(const MainDialogState& state, int commandId)
{
    const HWND dialog = state.dialog;
    const int running = runningTimerCount(state.runtimes);
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
INT_PTR onMenuOrEnter(MainDialogState& state)
{
    const HWND dialog = state.dialog;
    const int index = focusedDurationEdit(dialog);
    if (index >= 0) {
        state.enterStartPending = true;
        moveDialogFocus(dialog, IDC_MENU);   // runs the edit's validation now
        if (state.enterStartPending) {
            state.enterStartPending = false;
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

void showKeepOnTop(HWND dialog)
{
    CheckDlgButton(dialog, IDC_KEEP_ON_TOP, settings.keepWindowOnTop ? BST_CHECKED : BST_UNCHECKED);
    SetWindowPos(dialog, topmostOrNot(settings.keepWindowOnTop), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

INT_PTR onKeepOnTop(HWND dialog)
{
    setOption(Option::keepWindowOnTop, IsDlgButtonChecked(dialog, IDC_KEEP_ON_TOP) == BST_CHECKED);
    showKeepOnTop(dialog);
    playResourceSound(settings.keepWindowOnTop ? IDW_SWITCH_ON : IDW_SWITCH_OFF);
    return handledResult(dialog, 1);
}

// An option the Settings dialog changed or put back.
INT_PTR onOptionChanged(MainDialogState& state, Option option)
{
    updateGlance(state.dialog, state.glance, state.runtimes, settings);
    if (option == Option::keepWindowOnTop)
        showKeepOnTop(state.dialog);
    else if (option == Option::showTimerInTitleBar)
        refreshTitleBar(state.dialog, state.runtimes,
                        !(settings.showTimerInTitleBar && runningTimerCount(state.runtimes) > 0));
    return handledResult(state.dialog, 0);
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

INT_PTR onDurationKillFocus(MainDialogState& state, int index)
{
    const HWND dialog = state.dialog;
    const std::string text = windowText(GetDlgItem(dialog, panels[index].edit));
    const TimerSettings& timer = settings.timers[index];
    std::uint32_t value = timer.valueMs;
    const DurationEntry entry = parseDuration(text.c_str(), timer.unit, value);
    if (entry != DurationEntry::rejected)
        setTimerDuration(index, value);
    showDuration(dialog, index);
    if (entry != DurationEntry::valid) {
        state.enterStartPending = false;
        moveDialogFocus(dialog, panels[index].edit);
        playResourceSound(IDW_ERROR);
    }
    return handledResult(dialog, 1);
}

INT_PTR onCommand(MainDialogState& state, int id, int code)
{
    const HWND dialog = state.dialog;
    if (id == IDOK || id == IDCANCEL)
        return handledResult(dialog, 1);   // Escape never closes the dialog
    if (id == ID_EXIT || id == ID_EXIT_WITH_SOUND)
        return onExitRequest(state, id);
    const int timeUp = panelOfTimeUpCommand(static_cast<unsigned>(id));
    if (timeUp >= 0) {
        startStopTimer(state, timeUp, false);
        return handledResult(dialog, 1);
    }
    if (id == IDC_MENU && code == BN_CLICKED)
        return onMenuOrEnter(state);
    if (id == IDC_KEEP_ON_TOP && code == BN_CLICKED)
        return onKeepOnTop(dialog);
    int index = panelOfButton(id);
    if (index >= 0 && code == BN_CLICKED) {
        startStopTimer(state, index, true);
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
        return onDurationKillFocus(state, index);
    return FALSE;
}

INT_PTR onSysCommand(HWND dialog, WPARAM command)
{
    if (command != SC_CLOSE)
        return FALSE;
    SendMessageA(dialog, WM_COMMAND, shiftOrControlDown() ? ID_EXIT_WITH_SOUND : ID_EXIT, 0);
    return handledResult(dialog, 1);
}

// Left to the dialog manager as well, which keeps the focus where the user
// left it across a switch to another window and back.
INT_PTR onActivate(MainDialogState& state, WORD activation)
{
    if ((activation == WA_ACTIVE || activation == WA_CLICKACTIVE) && state.flashPending)
        stopFlash(state);
    return FALSE;
}

INT_PTR onTimer(MainDialogState& state, WPARAM wParam)
{
    if (wParam == ID_DUE_TIMER) {
        onDueTimer(state);
        return TRUE;
    }
    if (!state.tickRunning || wParam != ID_TICK_TIMER)
        return FALSE;
    onTimerTick(state);
    updateGlance(state.dialog, state.glance, state.runtimes, settings);
    // Nobody reads a timer message's result, and setting DWLP_MSGRESULT on
    // every tick costs a round trip to the window manager five times a second.
    return TRUE;
}

INT_PTR mainDialogProc(HWND dialog, MainDialogState& state, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return onInitDialog(state, dialog);
    case WM_TIMER:
        return onTimer(state, wParam);
    case WM_SETCURSOR:
        return onTitleBandSetCursor(dialog);
    case WM_COMMAND:
        return onCommand(state, LOWORD(wParam), HIWORD(wParam));
    case WM_SYSCOMMAND:
        return onSysCommand(dialog, wParam & 0xFFF0);
    case WM_ACTIVATE:
        return onActivate(state, LOWORD(wParam));
    case WM_DESTROY:
        return onDestroy(state);
    case WM_DPICHANGED:
        return onDpiChanged(state, lParam);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONUP:
        return onTitleBandMouse(state, message, wParam, lParam);
    case WM_CONTEXTMENU:
        return onPanelContextMenu(state, wParam, lParam);
    case WM_RENAME_PANEL:
        return onRenamePanel(state, wParam);
    case WM_NAME_EDITED1:
    case WM_NAME_EDITED2:
    case WM_NAME_EDITED3:
        return onNameEdited(state, lParam);
    case WM_OPTION_CHANGED:
        return onOptionChanged(state, static_cast<Option>(wParam));
    case WM_SIZE:
        return onGlanceSize(dialog, state.glance, wParam);
    default:
        return onGlanceMessage(dialog, state.glance, message, wParam, lParam, state.runtimes, settings);
    }
}

} // namespace

int runMainDialog()
{
    MainDialogState state{};
    return static_cast<int>(DialogBoxParamA(app.instance, MAKEINTRESOURCEA(IDD_MAIN), nullptr,
                                            guardedDialogProc<statefulDialogProc<MainDialogState, mainDialogProc>>,
                                            reinterpret_cast<LPARAM>(&state)));
}
