#include "store/settings_store_win.h"

#include "base/process.h"
#include "settings/settings.h"
#include "store/placement_win.h"
#include "store/settings_store.h"

bool saveAllSettings(HWND mainDialog)
{
    bool saved = saveMainWindowPosition(mainDialog);
    if (saveOptionsAndEvents(app.settingsKeyPath, settings) != 0)
        saved = false;
    for (int number = 1; number <= timerCount; ++number) {
        const TimerSettings& timer = settings.timers[number - 1];
        if (saveTimerSettings(app.settingsKeyPath, number, timer) != 0)
            saved = false;
        if (saveTimerRepeat(app.settingsKeyPath, number, timer) != 0)
            saved = false;
    }
    return saved;
}
