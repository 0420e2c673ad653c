#include "settings/settings.h"

#include "base/text.h"

#include <cstdio>

namespace {

using OptionField = bool SettingsRecord::*;

OptionField optionField(Option option)
{
    static const OptionField fields[optionCount] = {
        &SettingsRecord::keepWindowOnTop, &SettingsRecord::showTimerInTitleBar, &SettingsRecord::flashWndOnTimerUp,
        &SettingsRecord::useAltIconOnTimerUp, &SettingsRecord::displaySmartCursors,
        &SettingsRecord::showInNotificationArea,
    };
    return fields[static_cast<int>(option)];
}

void setDefaultOptions(SettingsRecord& record)
{
    for (int option = 0; option < optionCount; ++option)
        record.*optionField(static_cast<Option>(option)) = defaultOptionValue(static_cast<Option>(option));
}

SettingsRecord makeInitialRecord()
{
    SettingsRecord record{};
    for (int i = 0; i < timerCount; ++i) {
        record.timers[i].valueMs = defaultTimerValueMs(i);
        record.timers[i].unit = defaultTimerUnit(i);
        record.timers[i].event = defaultTimerEvent(i);
    }
    setDefaultOptions(record);
    return record;
}

SettingsRecord record = makeInitialRecord();

char* textField(SettingsText which, int slot)
{
    switch (which) {
    case SettingsText::timerName:
        return record.timers[slot].label;
    case SettingsText::soundLabel:
        return record.externalSounds[slot].label;
    case SettingsText::soundFile:
        return record.externalSounds[slot].fileName;
    case SettingsText::openLabel:
        return record.openFiles[slot].label;
    default:
        return record.openFiles[slot].fileName;
    }
}

} // namespace

const SettingsRecord& settings = record;

bool optionValue(Option option)
{
    return record.*optionField(option);
}

void setOption(Option option, bool on)
{
    record.*optionField(option) = on;
}

void restoreDefaultOptions()
{
    setDefaultOptions(record);
}

const char* settingsText(SettingsText which, int slot)
{
    return textField(which, slot);
}

std::size_t settingsTextSize(SettingsText which)
{
    switch (which) {
    case SettingsText::soundFile:
        return soundFileSize;
    case SettingsText::openCommand:
        return openFileSize;
    default:
        return labelSize;
    }
}

void setSettingsText(SettingsText which, int slot, const char* text)
{
    copyText(textField(which, slot), settingsTextSize(which), text);
}

void setTimerName(int index, const char* name)
{
    setSettingsText(SettingsText::timerName, index, name);
}

void setTimerDuration(int index, std::uint32_t valueMs)
{
    record.timers[index].valueMs = valueMs;
}

void setTimerUnit(int index, std::uint32_t unit)
{
    record.timers[index].unit = unit;
}

void setTimerEvent(int index, std::uint32_t event)
{
    record.timers[index].event = event;
}

void setTimerRepeat(int index, bool repeat)
{
    record.timers[index].repeat = repeat;
}

void replaceSettings(const SettingsRecord& loaded)
{
    record = loaded;
}

std::uint32_t defaultTimerValueMs(int index)
{
    static const std::uint32_t values[timerCount] = {90000, 300000, 3600000};
    return index >= 0 && index < timerCount ? values[index] : values[0];
}

void formatSettingsKeyPath(char* buffer, std::size_t size, std::uint32_t fileVersionMS)
{
    std::snprintf(buffer, size, "Software\\Morvane\\Kelvaro V%u", static_cast<unsigned>(fileVersionMS >> 16));
}
