#include "events/execute.h"

#include "base/app.h"
#include "base/text.h"
#include "events/catalogue.h"
#include "events/open_command.h"
#include "resource.h"
#include "settings/settings.h"

#include <mmsystem.h>
#include <shellapi.h>
#include <shlwapi.h>

#include <string>

namespace {

bool playBuiltInSound(std::uint32_t slot)
{
    return playResourceSound(IDW_EVENT1 + static_cast<int>(slot));
}

} // namespace

bool playSoundFile(const char* fileName)
{
    char path[MAX_PATH];
    copyText(path, sizeof path, fileName);
    PathUnquoteSpacesA(path);
    if (!PathFileExistsA(path) || PathIsDirectoryA(path))
        return false;
    return playSound(path, app.instance, SND_FILENAME | SND_ASYNC | SND_NODEFAULT) != FALSE;
}

bool fireTimerEvent(std::uint32_t eventId)
{
    if (eventId < BuiltInSound1 || eventId > OpenFile3)
        return true;
    const std::uint32_t slot = eventSlot(eventId);
    switch (eventGroup(eventId)) {
    case 0:
        return playBuiltInSound(slot);
    case 1:
        return playSoundFile(settings.externalSounds[slot].fileName);
    default:
        return shellOpenCommand(settings.openFiles[slot].fileName);
    }
}

bool shellOpenCommand(const char* command)
{
    std::string target;
    std::string parameters;
    if (!splitOpenCommand(command, target, parameters))
        return false;
    if (!isWebAddress(target.c_str())) {
        // Only absolute paths: a bare name would be looked up along the search path.
        if (target.empty() || target.size() >= MAX_PATH || PathIsRelativeA(target.c_str()))
            return false;
    }
    const HINSTANCE result = ShellExecuteA(nullptr, "open", target.c_str(), parameters.c_str(), "C:\\", SW_SHOW);
    return reinterpret_cast<INT_PTR>(result) > 32;
}
