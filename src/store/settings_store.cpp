// Loading the settings record value by value: whatever is missing, of the
// wrong type or out of range becomes that value's default (or its nearest
// limit), so one bad value never spoils another. Saving writes everything,
// carrying on after a failure.
#include "store/settings_store.h"

#include "base/strings.h"
#include "base/text.h"
#include "events/catalogue.h"
#include "store/registry.h"

#include <climits>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <new>
#include <vector>

namespace {

constexpr std::size_t keyPathSize = 160;

// The rule one stored number passes through. Numbers are compared as signed
// 32-bit values, so a stored value with its top bit set counts as negative.
struct NumberRule {
    std::int32_t defaultValue;   // also the value of any failed read
    std::int32_t minimum;
    std::int32_t maximum;
    bool clampToLimits;          // out of range: the nearest limit, else the default
};

constexpr NumberRule optionRule(Option option)
{
    return NumberRule{defaultOptionValue(option) ? 1 : 0, INT32_MIN, INT32_MAX, false};
}
// Off unless a readable nonzero value says otherwise.
constexpr NumberRule repeatRule{0, INT32_MIN, INT32_MAX, false};

NumberRule valueRule(int number)
{
    return NumberRule{static_cast<std::int32_t>(defaultTimerValueMs(number - 1)), static_cast<std::int32_t>(minDurationMs),
                      static_cast<std::int32_t>(maxDurationMs), true};
}

NumberRule unitRule(int number)
{
    return NumberRule{static_cast<std::int32_t>(defaultTimerUnit(number - 1)), static_cast<std::int32_t>(unitSeconds),
                      static_cast<std::int32_t>(unitHours), false};
}

NumberRule eventRule(int number)
{
    return NumberRule{static_cast<std::int32_t>(defaultTimerEvent(number - 1)), BuiltInSound1, OpenFile3, false};
}

std::int32_t applyRule(std::int32_t value, const NumberRule& rule)
{
    if (value < rule.minimum)
        return rule.clampToLimits ? rule.minimum : rule.defaultValue;
    if (value > rule.maximum)
        return rule.clampToLimits ? rule.maximum : rule.defaultValue;
    return value;
}

std::int32_t loadNumber(const char* keyPath, const char* name, const NumberRule& rule)
{
    std::uint32_t stored = 0;
    readDwordValue(keyPath, name, static_cast<std::uint32_t>(rule.defaultValue), stored);
    return applyRule(static_cast<std::int32_t>(stored), rule);
}

bool loadOption(const char* keyPath, const char* name, Option option)
{
    return loadNumber(keyPath, name, optionRule(option)) != 0;
}

// Labels keep at most 30 bytes, never half a character, without surrounding
// white space; nothing usable left means the default label.
void loadLabel(const char* keyPath, unsigned defaultId, char (&label)[labelSize])
{
    char defaultLabel[labelSize];
    loadString(defaultId, defaultLabel, sizeof defaultLabel);
    const std::vector<char> stored = readStringValue(keyPath, "Label", defaultLabel);
    if (!stored.empty()) {
        copyTextTruncated(label, sizeof label, stored.data(), stored.size());
        if (trimSpacesInPlace(label) > 0)
            return;
    }
    copyText(label, sizeof label, defaultLabel);
}

// File names are cut to their buffer but kept as written otherwise.
void loadFileName(const char* keyPath, char* fileName, std::size_t size)
{
    const std::vector<char> stored = readStringValue(keyPath, "FileName", nullptr);
    if (stored.empty())
        fileName[0] = '\0';
    else
        copyTextTruncated(fileName, size, stored.data(), stored.size());
}

void formatSubkeyPath(char (&path)[keyPathSize], const char* settingsKeyPath, const char* format, int number)
{
    char subkey[32];
    std::snprintf(subkey, sizeof subkey, format, static_cast<unsigned>(number));
    std::snprintf(path, sizeof path, "%s\\%s", settingsKeyPath, subkey);
}

void keepFirstError(unsigned long& first, unsigned long error)
{
    if (first == 0)
        first = error;
}

struct OptionField {
    const char* name;
    bool SettingsRecord::*field;
    Option option;
};

const OptionField optionFields[] = {
    {"KeepWindowOnTop", &SettingsRecord::keepWindowOnTop, Option::keepWindowOnTop},
    {"ShowTimerInTitleBar", &SettingsRecord::showTimerInTitleBar, Option::showTimerInTitleBar},
    {"FlashWndOnTimerUp", &SettingsRecord::flashWndOnTimerUp, Option::flashWndOnTimerUp},
    {"UseAltIconOnTimerUp", &SettingsRecord::useAltIconOnTimerUp, Option::useAltIconOnTimerUp},
    {"DisplaySmartCursors", &SettingsRecord::displaySmartCursors, Option::displaySmartCursors},
    {"ShowInNotificationArea", &SettingsRecord::showInNotificationArea, Option::showInNotificationArea},
};

const char* const externalSoundKeyFormat = "ExternalSound%02u";
const char* const openFileKeyFormat = "OpenFile%02u";
const char* const timerKeyFormat = "Timer%02u";

void formatTimerKeyPath(char (&path)[keyPathSize], const char* settingsKeyPath, int number)
{
    formatSubkeyPath(path, settingsKeyPath, timerKeyFormat, number);
}

} // namespace

bool loadAllSettings(const char* settingsKeyPath)
{
    // About 80 KB, kept off the stack.
    const std::unique_ptr<SettingsRecord> loaded(new (std::nothrow) SettingsRecord(settings));
    if (!loaded)
        return false;
    loadOptionsAndEvents(settingsKeyPath, *loaded);
    for (int number = 1; number <= timerCount; ++number)
        loadTimerSettings(settingsKeyPath, number, loaded->timers[number - 1]);
    replaceSettings(*loaded);
    return true;
}

void loadOptionsAndEvents(const char* settingsKeyPath, SettingsRecord& record)
{
    for (const OptionField& option : optionFields)
        record.*option.field = loadOption(settingsKeyPath, option.name, option.option);
    char keyPath[keyPathSize];
    for (int index = 0; index < timerCount; ++index) {
        ExternalSoundEvent& sound = record.externalSounds[index];
        formatSubkeyPath(keyPath, settingsKeyPath, externalSoundKeyFormat, index + 1);
        loadLabel(keyPath, defaultSoundLabelIds[index], sound.label);
        loadFileName(keyPath, sound.fileName, sizeof sound.fileName);
    }
    for (int index = 0; index < timerCount; ++index) {
        OpenFileEvent& openFile = record.openFiles[index];
        formatSubkeyPath(keyPath, settingsKeyPath, openFileKeyFormat, index + 1);
        loadLabel(keyPath, defaultOpenLabelIds[index], openFile.label);
        loadFileName(keyPath, openFile.fileName, sizeof openFile.fileName);
    }
}

void loadTimerSettings(const char* settingsKeyPath, int number, TimerSettings& timer)
{
    if (number < 1 || number > timerCount)
        return;
    char keyPath[keyPathSize];
    formatTimerKeyPath(keyPath, settingsKeyPath, number);
    loadLabel(keyPath, defaultTimerNameIds[number - 1], timer.label);
    timer.unit = static_cast<std::uint32_t>(loadNumber(keyPath, "Unit", unitRule(number)));
    timer.valueMs = static_cast<std::uint32_t>(loadNumber(keyPath, "Value", valueRule(number)));
    timer.event = static_cast<std::uint32_t>(loadNumber(keyPath, "Event", eventRule(number)));
    timer.repeat = loadNumber(keyPath, "Repeat", repeatRule) != 0;
}

unsigned long saveTimerRepeat(const char* settingsKeyPath, int number, const TimerSettings& timer)
{
    char keyPath[keyPathSize];
    formatTimerKeyPath(keyPath, settingsKeyPath, number);
    return writeDwordValue(keyPath, "Repeat", timer.repeat ? 1u : 0u);
}

unsigned long saveOptionsAndEvents(const char* settingsKeyPath, const SettingsRecord& record)
{
    unsigned long first = 0;
    for (const OptionField& option : optionFields)
        keepFirstError(first, writeDwordValue(settingsKeyPath, option.name, record.*option.field ? 1u : 0u));
    char keyPath[keyPathSize];
    for (int index = 0; index < timerCount; ++index) {
        const ExternalSoundEvent& sound = record.externalSounds[index];
        formatSubkeyPath(keyPath, settingsKeyPath, externalSoundKeyFormat, index + 1);
        keepFirstError(first, writeStringValue(keyPath, "Label", sound.label));
        keepFirstError(first, writeStringValue(keyPath, "FileName", sound.fileName));
    }
    for (int index = 0; index < timerCount; ++index) {
        const OpenFileEvent& openFile = record.openFiles[index];
        formatSubkeyPath(keyPath, settingsKeyPath, openFileKeyFormat, index + 1);
        keepFirstError(first, writeStringValue(keyPath, "Label", openFile.label));
        keepFirstError(first, writeStringValue(keyPath, "FileName", openFile.fileName));
    }
    return first;
}

unsigned long saveTimerSettings(const char* settingsKeyPath, int number, const TimerSettings& timer)
{
    char keyPath[keyPathSize];
    formatTimerKeyPath(keyPath, settingsKeyPath, number);
    unsigned long first = 0;
    keepFirstError(first, writeStringValue(keyPath, "Label", timer.label));
    keepFirstError(first, writeDwordValue(keyPath, "Value", timer.valueMs));
    keepFirstError(first, writeDwordValue(keyPath, "Unit", timer.unit));
    keepFirstError(first, writeDwordValue(keyPath, "Event", timer.event));
    return first;
}
