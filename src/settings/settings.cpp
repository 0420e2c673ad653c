#include "settings/settings.h"

#include <cstdio>

namespace {

SettingsRecord makeInitialRecord()
{
    SettingsRecord record{};
    for (int i = 0; i < timerCount; ++i) {
        record.timers[i].valueMs = defaultTimerValueMs(i);
        record.timers[i].unit = defaultTimerUnit(i);
        record.timers[i].event = defaultTimerEvent(i);
    }
    record.keepWindowOnTop = true;
    record.showTimerInTitleBar = true;
    record.flashWndOnTimerUp = true;
    record.useAltIconOnTimerUp = true;
    record.displaySmartCursors = true;
    return record;
}

} // namespace

SettingsRecord settings = makeInitialRecord();

std::uint32_t defaultTimerValueMs(int index)
{
    static const std::uint32_t values[timerCount] = {90000, 300000, 3600000};
    return index >= 0 && index < timerCount ? values[index] : values[0];
}

void formatSettingsKeyPath(char* buffer, std::size_t size, std::uint32_t fileVersionMS)
{
    std::snprintf(buffer, size, "Software\\Morvane\\Kelvaro V%u", static_cast<unsigned>(fileVersionMS >> 16));
}
