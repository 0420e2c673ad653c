// The Settings dialog's controls as its menu and the file dialogs change
// them too: edits and option boxes.
#ifndef KELVARO_UI_SETTINGS_CONTROLS_H
#define KELVARO_UI_SETTINGS_CONTROLS_H

#include <windows.h>

#include <string>

// The whole text of one of the dialog's edits.
std::string editText(HWND dialog, int editId);

// Replaces an edit's text and puts the caret at its start or after its end.
void setEditText(HWND dialog, int editId, const std::string& text, bool caretAtEnd);

// Checks each option box as its option is.
void showOptionBoxes(HWND dialog);

#endif
