#include "base/sound.h"

#include "base/process.h"
#include "base/system_library.h"

#include <mmsystem.h>

namespace {

decltype(&PlaySoundA) playSoundFunction(HMODULE winmm)
{
    return winmm != nullptr ? procAddress<decltype(&PlaySoundA)>(winmm, "PlaySoundA") : nullptr;
}

} // namespace

BOOL playSound(LPCSTR sound, HMODULE module, DWORD flags)
{
    const auto play = playSoundFunction(winmmModule());
    return play != nullptr && play(sound, module, flags);
}

bool playResourceSound(int waveId)
{
    return playSound(MAKEINTRESOURCEA(waveId), app.instance, SND_RESOURCE | SND_ASYNC | SND_NODEFAULT) != FALSE;
}

// Nothing can be playing before winmm is loaded.
void stopAllSounds()
{
    const auto play = playSoundFunction(app.winmmModule.get());
    if (play != nullptr)
        play(nullptr, nullptr, 0);
}
