// The nine events a timer can fire when it is up.
#ifndef KELVARO_EVENTS_CATALOGUE_H
#define KELVARO_EVENTS_CATALOGUE_H

#include "settings/settings.h"

#include <cstddef>
#include <cstdint>

enum EventId : std::uint32_t {
    BuiltInSound1 = 1, BuiltInSound2, BuiltInSound3,
    ExternalSound1, ExternalSound2, ExternalSound3,
    OpenFile1, OpenFile2, OpenFile3
};

constexpr int eventCount = 9;

// Combo index 0..8 is EventId 1..9; anything else (CB_ERR too) is 1.
std::uint32_t eventIdFromComboIndex(int index);

// 0 built-in sound, 1 external sound, 2 open file; the slot is 0..2 within
// the group, one event of each group per timer.
inline std::uint32_t eventGroup(std::uint32_t id) { return (id - 1) / timerCount; }
inline std::uint32_t eventSlot(std::uint32_t id) { return (id - 1) % timerCount; }

// The text an event combo shows for id: the string table for the built-in
// sounds, the user's label for the others. Returns buffer.
const char* eventText(std::uint32_t id, char* buffer, std::size_t size);

#endif
