// The rules of the Settings dialog that need no window: quoting paths, the
// label background colour and the tidying of what the user typed, plus the
// ids of its edit rows shared with the Advanced Options menu.
#ifndef KELVARO_UI_SETTINGS_RULES_H
#define KELVARO_UI_SETTINGS_RULES_H

#include "base/text.h"
#include "resource.h"
#include "settings/settings.h"

#include <cstddef>
#include <cstdint>
#include <string>

// The size of every single-path buffer.
constexpr std::size_t pathBufferSize = maxPathSize;

// Encloses the path in path (a buffer of at least pathBufferSize bytes) in
// double quotes unless it is empty or already enclosed; a path longer than
// 256 bytes is left alone and the result is false.
bool quotePathInPlace(char* path);

// A colour halfway between the button face and the window colour, channel by
// channel. Colours are 0x00BBGGRR.
std::uint32_t blendColour(std::uint32_t face, std::uint32_t window);

// A name or label as it is left in its edit: trimmed, the default when
// nothing is left, at most 30 bytes of whole characters.
std::string tidyName(const char* typed, const char* defaultText);

// A sound file name as it is left in its edit: trimmed and quoted.
std::string tidySoundFile(const char* typed);

// An open file command: without a space it is trimmed and quoted into tidied
// and the result is true; a command holding a space is left exactly as typed
// (result false).
bool tidyOpenCommand(const char* typed, std::string& tidied);

// The edit rows of the Settings dialog, by timer or event slot 0, 1, 2.
constexpr int nameEditIds[timerCount] = {IDC_SET_NAME1, IDC_SET_NAME2, IDC_SET_NAME3};
constexpr int soundLabelEditIds[timerCount] = {IDC_SET_SOUND_LABEL1, IDC_SET_SOUND_LABEL2, IDC_SET_SOUND_LABEL3};
constexpr int soundFileEditIds[timerCount] = {IDC_SET_SOUND_FILE1, IDC_SET_SOUND_FILE2, IDC_SET_SOUND_FILE3};
constexpr int openLabelEditIds[timerCount] = {IDC_SET_OPEN_LABEL1, IDC_SET_OPEN_LABEL2, IDC_SET_OPEN_LABEL3};
constexpr int openFileEditIds[timerCount] = {IDC_SET_OPEN_FILE1, IDC_SET_OPEN_FILE2, IDC_SET_OPEN_FILE3};

// The option check boxes, in the order of the options snapshot: keep on top,
// countdowns in the title bar, flash, different icon, smart cursors,
// notification-area icon.
constexpr int optionBoxIds[optionCount] = {IDC_SET_KEEP_ON_TOP, IDC_SET_TITLE_BAR, IDC_SET_FLASH,
                                           IDC_SET_ALT_ICON, IDC_SET_SMART_CURSORS, IDC_SET_NOTIFICATION_AREA};

#endif
