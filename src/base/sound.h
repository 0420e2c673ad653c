// The program's sounds: its own WAVE resources and the user's files, played
// through winmm, which is loaded with the first sound.
#ifndef KELVARO_BASE_SOUND_H
#define KELVARO_BASE_SOUND_H

#include <windows.h>

// PlaySoundA; FALSE when winmm cannot be loaded.
BOOL playSound(LPCSTR sound, HMODULE module, DWORD flags);
// Program sounds: SND_RESOURCE | SND_ASYNC | SND_NODEFAULT. False when the
// sound cannot be played.
bool playResourceSound(int waveId);
// Stops whatever the program is playing.
void stopAllSounds();

#endif
