#include "events/execute.h"

#include "base/process.h"
#include "base/sound.h"
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

constexpr int builtInSoundIds[timerCount] = {IDW_EVENT1, IDW_EVENT2, IDW_EVENT3};

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
        return playResourceSound(builtInSoundIds[slot]);
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
    return shellOpen(target.c_str(), parameters.c_str(), nullptr);
}

bool shellOpen(const char* target, const char* parameters, HWND owner)
{
    const HINSTANCE result = ShellExecuteA(owner, "open", target, parameters, "C:\\", SW_SHOW);
    return reinterpret_cast<INT_PTR>(result) > 32;
}
