#include "ui/dialogs/settings_controls.h"

#include "base/dialog_helpers.h"
#include "base/process.h"
#include "settings/settings.h"
#include "settings/settings_rules.h"

std::string editText(HWND dialog, int editId)
{
    return windowText(GetDlgItem(dialog, editId));
}

// Names are read from their start; paths and commands from their end, where
// the file name is.
void setEditText(HWND dialog, int editId, const std::string& text, bool caretAtEnd)
{
    SetDlgItemTextA(dialog, editId, text.c_str());
    const WPARAM caret = caretAtEnd ? static_cast<WPARAM>(GetWindowTextLengthA(GetDlgItem(dialog, editId))) : 0;
    SendDlgItemMessageA(dialog, editId, EM_SETSEL, caret, static_cast<LPARAM>(caret));
}

void showOptionBoxes(HWND dialog)
{
    for (int position = 0; position < optionCount; ++position) {
        const bool on = optionValue(static_cast<Option>(position));
        CheckDlgButton(dialog, optionBoxIds[position], on ? BST_CHECKED : BST_UNCHECKED);
    }
}
