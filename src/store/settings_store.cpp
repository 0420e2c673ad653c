// PLACEHOLDER: replaced by the owner of this file.
#include "store/settings_store.h"
#include "app/strings.h"
void loadOptionsAndEvents(const char*, SettingsRecord& record)
{
    for (int i = 0; i < timerCount; ++i) {
        loadString(defaultSoundLabelId(i), record.externalSounds[i].label, labelSize);
        loadString(defaultOpenLabelId(i), record.openFiles[i].label, labelSize);
    }
}
void loadTimerSettings(const char*, int number, TimerSettings& timer) { loadString(defaultTimerNameId(number - 1), timer.label, labelSize); }
unsigned long saveOptionsAndEvents(const char*, const SettingsRecord&) { return 0; }
unsigned long saveTimerSettings(const char*, int, const TimerSettings&) { return 0; }
