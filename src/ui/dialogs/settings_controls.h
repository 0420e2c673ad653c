// The Settings dialog's controls as its menu and the file dialogs change
// them too: edits and option boxes.
#ifndef KELVARO_UI_DIALOGS_SETTINGS_CONTROLS_H
#define KELVARO_UI_DIALOGS_SETTINGS_CONTROLS_H

#include "resource.h"
#include "settings/settings.h"

#include <windows.h>

#include <string>

// The whole text of one of the dialog's edits.
std::string editText(HWND dialog, int editId);

// Replaces an edit's text and puts the caret at its start or after its end.
void setEditText(HWND dialog, int editId, const std::string& text, bool caretAtEnd);

// Checks each option box as its option is.
void showOptionBoxes(HWND dialog);

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
