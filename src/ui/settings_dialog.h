// The Settings dialog (template 107).
#ifndef KELVARO_UI_SETTINGS_DIALOG_H
#define KELVARO_UI_SETTINGS_DIALOG_H

#include <windows.h>

#include <string>

INT_PTR CALLBACK settingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The whole text of one of the dialog's edits.
std::string editText(HWND dialog, int editId);

// Replaces an edit's text and puts the caret at its start or after its end.
void setEditText(HWND dialog, int editId, const std::string& text, bool caretAtEnd);

#endif
