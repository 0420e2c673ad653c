// The settings record: everything the user configures, held once for the
// whole run, loaded from the registry when the main dialog opens and saved
// only by the menu's save command.
#ifndef KELVARO_SETTINGS_SETTINGS_H
#define KELVARO_SETTINGS_SETTINGS_H

#include "base/text.h"
#include "resource.h"

#include <cstddef>
#include <cstdint>

constexpr int timerCount = 3;
constexpr std::size_t labelSize = 31;          // 30 bytes of text and a NUL
constexpr std::size_t soundFileSize = maxPathSize;   // 259 bytes of text and a NUL
constexpr std::size_t openFileSize = 26000;    // 25999 bytes of text and a NUL

constexpr std::uint32_t minDurationMs = 1000;
constexpr std::uint32_t maxDurationMs = 2145600000;   // 596 hours

constexpr std::uint32_t unitSeconds = 1;
constexpr std::uint32_t unitMinutes = 2;
constexpr std::uint32_t unitHours = 3;
constexpr int unitCount = 3;

struct TimerSettings {
    char label[labelSize];
    std::uint32_t valueMs;
    std::uint32_t unit;
    std::uint32_t event;
    bool repeat;   // starts its next round by itself when it is up
};

struct ExternalSoundEvent {
    char label[labelSize];
    char fileName[soundFileSize];
};

struct OpenFileEvent {
    char label[labelSize];
    char fileName[openFileSize];
};

struct SettingsRecord {
    TimerSettings timers[timerCount];
    ExternalSoundEvent externalSounds[timerCount];
    OpenFileEvent openFiles[timerCount];
    bool keepWindowOnTop;
    bool showTimerInTitleBar;
    bool flashWndOnTimerUp;
    bool useAltIconOnTimerUp;
    bool displaySmartCursors;
    bool showInNotificationArea;
};

// The one record of the process, read by everyone and changed only through
// the functions below. Before the load the numbers and options hold their
// defaults and every text is empty.
extern const SettingsRecord& settings;

// The six options, in the order the Settings dialog lists them.
enum class Option {
    keepWindowOnTop,
    showTimerInTitleBar,
    flashWndOnTimerUp,
    useAltIconOnTimerUp,
    displaySmartCursors,
    showInNotificationArea,
};
constexpr int optionCount = 6;
// Every option but the notification-area icon starts on, and the options
// reset puts each back to that.
constexpr bool defaultOptionValue(Option option)
{
    return option != Option::showInNotificationArea;
}

bool optionValue(Option option);
void setOption(Option option, bool on);
void restoreDefaultOptions();

// The texts of the record, each held for timer or event slot 0, 1, 2.
enum class SettingsText { timerName, soundLabel, soundFile, openLabel, openCommand };

const char* settingsText(SettingsText which, int slot);
// The field's size in bytes, its terminating NUL included.
std::size_t settingsTextSize(SettingsText which);
// Stores text cut to the field on a character boundary.
void setSettingsText(SettingsText which, int slot, const char* text);

void setTimerName(int index, const char* name);
void setTimerDuration(int index, std::uint32_t valueMs);
void setTimerUnit(int index, std::uint32_t unit);
void setTimerEvent(int index, std::uint32_t event);
void setTimerRepeat(int index, bool repeat);

// The whole record at once, as the load makes it.
void replaceSettings(const SettingsRecord& record);

// Defaults of timer index 0, 1, 2.
std::uint32_t defaultTimerValueMs(int index);
inline std::uint32_t defaultTimerUnit(int index) { return static_cast<std::uint32_t>(index) + 1; }
inline std::uint32_t defaultTimerEvent(int index) { return static_cast<std::uint32_t>(index) + 1; }
constexpr unsigned defaultTimerNameIds[timerCount] = {IDS_DEFAULT_TIMER_NAME1, IDS_DEFAULT_TIMER_NAME2,
                                                      IDS_DEFAULT_TIMER_NAME3};
constexpr unsigned defaultSoundLabelIds[timerCount] = {IDS_DEFAULT_SOUND_LABEL1, IDS_DEFAULT_SOUND_LABEL2,
                                                       IDS_DEFAULT_SOUND_LABEL3};
constexpr unsigned defaultOpenLabelIds[timerCount] = {IDS_DEFAULT_OPEN_LABEL1, IDS_DEFAULT_OPEN_LABEL2,
                                                      IDS_DEFAULT_OPEN_LABEL3};

// "Software\Morvane\Kelvaro V<major>" with the major file version taken from
// the high word of dwFileVersionMS.
void formatSettingsKeyPath(char* buffer, std::size_t size, std::uint32_t fileVersionMS);

#endif
