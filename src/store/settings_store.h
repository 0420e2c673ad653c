// Loading the settings record from the registry, value by value with
// defaults and limits, and writing it back.
#ifndef KELVARO_STORE_SETTINGS_STORE_H
#define KELVARO_STORE_SETTINGS_STORE_H

#include "settings/settings.h"

// The whole record, read into a copy that then replaces the process's
// record. False, with the record unchanged, when there is no memory for the copy.
bool loadAllSettings(const char* settingsKeyPath);

void loadOptionsAndEvents(const char* settingsKeyPath, SettingsRecord& record);
// number is 1, 2 or 3.
void loadTimerSettings(const char* settingsKeyPath, int number, TimerSettings& timer);

// The first error in write order, or 0; every write is attempted.
unsigned long saveOptionsAndEvents(const char* settingsKeyPath, const SettingsRecord& record);
unsigned long saveTimerSettings(const char* settingsKeyPath, int number, const TimerSettings& timer);
// Repeat goes after the timer's other values, on or off, with every save.
unsigned long saveTimerRepeat(const char* settingsKeyPath, int number, const TimerSettings& timer);

#endif
