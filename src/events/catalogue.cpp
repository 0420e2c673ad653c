#include "events/catalogue.h"

#include "base/strings.h"
#include "base/text.h"
#include "resource.h"
#include "settings/settings.h"

namespace {

constexpr unsigned builtInSoundNameIds[timerCount] = {IDS_BUILT_IN_SOUND1, IDS_BUILT_IN_SOUND2, IDS_BUILT_IN_SOUND3};

} // namespace

std::uint32_t eventIdFromComboIndex(int index)
{
    if (index >= 0 && index < eventCount)
        return static_cast<std::uint32_t>(index) + 1;
    return BuiltInSound1;
}

const char* eventText(std::uint32_t id, char* buffer, std::size_t size)
{
    if (size == 0)
        return buffer;
    buffer[0] = '\0';
    if (id < BuiltInSound1 || id > OpenFile3)
        return buffer;
    const std::uint32_t slot = eventSlot(id);
    switch (eventGroup(id)) {
    case 0:
        loadString(builtInSoundNameIds[slot], buffer, static_cast<int>(size));
        break;
    case 1:
        copyText(buffer, size, settings.externalSounds[slot].label);
        break;
    default:
        copyText(buffer, size, settings.openFiles[slot].label);
        break;
    }
    return buffer;
}
