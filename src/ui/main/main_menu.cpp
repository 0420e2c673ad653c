// The main menu behind the Menu button: built fresh, shown at the button's
// centre, destroyed, and only then is the chosen command carried out.
#include "ui/main/main_menu.h"

#include "base/process.h"
#include "base/sound.h"
#include "base/owned_handle.h"
#include "base/strings.h"
#include "resource.h"
#include "settings/settings.h"
#include "store/settings_store_win.h"
#include "ui/dialogs/about_dialog.h"
#include "ui/common/menu_bitmap.h"
#include "ui/common/popup_menu.h"
#include "ui/dialogs/settings_dialog.h"
#include "ui/main/shortcut.h"
#include "ui/main/timer_panel.h"


namespace {

constexpr int separator = 0;
constexpr int noIcon = 0;
constexpr int exitRow = -1;   // the plain exit or the exit with a sound

struct MainMenuRow {
    int commandId;
    int iconId;
};

const MainMenuRow mainMenuRows[] = {
    {IDM_TIMER_NAMES, IDI_NAMES},
    {IDM_SOUND_EVENTS, IDI_SOUNDS},
    {IDM_OPEN_EVENTS, IDI_OPEN_FILES},
    {IDM_OTHER_SETTINGS, IDI_OPTIONS},
    {separator, noIcon},
    {IDM_SAVE_ALL, IDI_SAVE},
    {IDM_DESKTOP_SHORTCUT, IDI_SHORTCUT},
    {separator, noIcon},
    {IDM_ABOUT, IDI_ABOUT},
    {separator, noIcon},
    {exitRow, IDI_EXIT},
    {separator, noIcon},
    {IDM_CLOSE_MENU, noIcon},
};

bool appendRow(HMENU menu, const MainMenuRow& row, int commandId, MenuBitmaps& bitmaps)
{
    if (row.commandId == separator)
        return AppendMenuA(menu, MF_SEPARATOR, 0, nullptr) != FALSE;
    char text[128];
    loadString(static_cast<unsigned>(commandId), text, sizeof text);
    if (!AppendMenuA(menu, 0, static_cast<UINT_PTR>(commandId), text))
        return false;
    if (row.iconId != noIcon)
        attachMenuIcon(menu, static_cast<UINT>(commandId), MF_BYCOMMAND, row.iconId, bitmaps);
    return true;
}

bool buildMainMenu(HMENU menu, bool funnyExit, MenuBitmaps& bitmaps)
{
    for (const MainMenuRow& row : mainMenuRows) {
        int commandId = row.commandId;
        if (commandId == exitRow)
            commandId = funnyExit ? IDM_EXIT_WITH_SOUND : IDM_EXIT;
        if (!appendRow(menu, row, commandId, bitmaps))
            return false;
    }
    return true;
}

// Changed names of timers and events show at once.
void refreshPanelsFromSettings(HWND dialog)
{
    for (int index = 0; index < timerCount; ++index)
        showTimerName(dialog, index);
    for (int index = 0; index < timerCount; ++index)
        fillEventCombo(dialog, index);
}

void showAboutDialog(HWND dialog)
{
    if (runAboutDialog(dialog) == -1)
        MessageBeep(MB_ICONHAND);
}

void showSettingsDialog(HWND dialog)
{
    const INT_PTR result = runSettingsDialog(dialog);
    if (result == -1)
        MessageBeep(MB_ICONHAND);
    else if (result == IDOK)
        refreshPanelsFromSettings(dialog);
}

void saveAllSettingsWithSound(HWND dialog)
{
    if (saveAllSettings(dialog))
        playResourceSound(IDW_SAVED);
    else
        MessageBeep(MB_ICONHAND);
}

void runCommand(HWND dialog, int commandId)
{
    switch (commandId) {
    case IDM_ABOUT:
        showAboutDialog(dialog);
        break;
    case IDM_OTHER_SETTINGS:
    case IDM_SOUND_EVENTS:
    case IDM_OPEN_EVENTS:
    case IDM_TIMER_NAMES:
        showSettingsDialog(dialog);
        break;
    case IDM_SAVE_ALL:
        saveAllSettingsWithSound(dialog);
        break;
    case IDM_DESKTOP_SHORTCUT:
        createDesktopShortcut();
        break;
    case IDM_EXIT:
        SendMessageA(dialog, WM_COMMAND, ID_EXIT, 0);
        break;
    case IDM_EXIT_WITH_SOUND:
        SendMessageA(dialog, WM_COMMAND, ID_EXIT_WITH_SOUND, 0);
        break;
    default:
        break;   // "Close this Menu" or no choice
    }
}

// The bitmaps outlive the menu that shows them.
int chooseCommand(HWND dialog, bool funnyExit, POINT screenPoint)
{
    MenuBitmaps bitmaps(dialog);
    OwnedMenu menu(CreatePopupMenu());
    if (!menu || !buildMainMenu(menu.get(), funnyExit, bitmaps))
        return -1;
    return trackAndDestroyMenu(menu, screenPoint, dialog);
}

} // namespace

int showMainMenu(HWND dialog, bool funnyExit)
{
    return showMainMenuAt(dialog, funnyExit, buttonCentre(dialog, IDC_MENU));
}

int showMainMenuAt(HWND dialog, bool funnyExit, POINT screenPoint)
{
    const int commandId = chooseCommand(dialog, funnyExit, screenPoint);
    runCommand(dialog, commandId);
    return commandId;
}
