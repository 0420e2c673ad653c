// The Settings dialog: timer names, external sound events, open file events
// and the six options. Texts reach the settings record only at OK; options
// change at once and are put back by Cancel.
#include "ui/settings_dialog.h"

#include "base/app.h"
#include "base/display_scale_win.h"
#include "base/owned_handle.h"
#include "base/strings.h"
#include "events/execute.h"
#include "resource.h"
#include "settings/settings.h"
#include "store/placement_win.h"
#include "timers/countdown.h"
#include "ui/alerts.h"
#include "ui/dialog_icons.h"
#include "ui/file_dialogs.h"
#include "ui/settings_controls.h"
#include "ui/settings_menu.h"
#include "ui/settings_rules.h"

#include <string>

namespace {

constexpr int editCount = 5 * timerCount;

struct SettingsDialogState {
    bool optionsSnapshot[optionCount];   // in the order of optionBoxIds
    COLORREF labelBackgroundColour;
    OwnedBrush labelBrush;   // empty when it could not be made: normal colours then
};

SettingsDialogState dialogState;

enum class EditKind { Name, SoundFile, OpenCommand };

// One edit of the dialog and the text of the settings record it feeds.
struct EditField {
    int editId;
    SettingsText text;
    int slot;
    unsigned defaultTextId;   // names and labels only
    EditKind kind;
};

// The fifteen edits in the order they are filled and stored: names, sound
// labels, sound files, open file labels, open file commands.
EditField editField(int position)
{
    const int slot = position % timerCount;
    switch (position / timerCount) {
    case 0:
        return {nameEditIds[slot], SettingsText::timerName, slot, defaultTimerNameId(slot), EditKind::Name};
    case 1:
        return {soundLabelEditIds[slot], SettingsText::soundLabel, slot, defaultSoundLabelId(slot), EditKind::Name};
    case 2:
        return {soundFileEditIds[slot], SettingsText::soundFile, slot, 0, EditKind::SoundFile};
    case 3:
        return {openLabelEditIds[slot], SettingsText::openLabel, slot, defaultOpenLabelId(slot), EditKind::Name};
    default:
        return {openFileEditIds[slot], SettingsText::openCommand, slot, 0, EditKind::OpenCommand};
    }
}

int editPosition(int controlId)
{
    for (int position = 0; position < editCount; ++position) {
        if (editField(position).editId == controlId)
            return position;
    }
    return -1;
}

int rowOf(const int (&ids)[timerCount], int controlId)
{
    for (int row = 0; row < timerCount; ++row) {
        if (ids[row] == controlId)
            return row;
    }
    return -1;
}

int optionPosition(int controlId)
{
    for (int position = 0; position < optionCount; ++position) {
        if (optionBoxIds[position] == controlId)
            return position;
    }
    return -1;
}

constexpr int playButtonIds[timerCount] = {IDC_SET_PLAY1, IDC_SET_PLAY2, IDC_SET_PLAY3};
constexpr int stopButtonIds[timerCount] = {IDC_SET_STOP1, IDC_SET_STOP2, IDC_SET_STOP3};
constexpr int tryButtonIds[timerCount] = {IDC_SET_TRY1, IDC_SET_TRY2, IDC_SET_TRY3};
constexpr int browseSoundIds[timerCount] = {IDC_SET_BROWSE_SOUND1, IDC_SET_BROWSE_SOUND2, IDC_SET_BROWSE_SOUND3};
constexpr int browseOpenIds[timerCount] = {IDC_SET_BROWSE_OPEN1, IDC_SET_BROWSE_OPEN2, IDC_SET_BROWSE_OPEN3};

constexpr ButtonIcon buttonIcons[] = {
    {IDC_SET_PLAY1, IDI_PLAY, 16}, {IDC_SET_PLAY2, IDI_PLAY, 16}, {IDC_SET_PLAY3, IDI_PLAY, 16},
    {IDC_SET_STOP1, IDI_STOP, 16}, {IDC_SET_STOP2, IDI_STOP, 16}, {IDC_SET_STOP3, IDI_STOP, 16},
    {IDC_SET_TRY1, IDI_TRY, 16},   {IDC_SET_TRY2, IDI_TRY, 16},   {IDC_SET_TRY3, IDI_TRY, 16},
    {IDC_SET_ADVANCED, IDI_ADVANCED, 32}, {IDOK, IDI_OK, 32}, {IDCANCEL, IDI_CANCEL, 32},
};
constexpr DialogIcons settingsIcons = dialogIcons(buttonIcons, IDI_OPTIONS);

HWND mainDialogOf(HWND dialog)
{
    return GetWindow(dialog, GW_OWNER);
}

void applyKeepOnTop(HWND dialog, bool onTop)
{
    const HWND mainDialog = mainDialogOf(dialog);
    const HWND band = onTop ? HWND_TOPMOST : HWND_NOTOPMOST;
    CheckDlgButton(mainDialog, IDC_KEEP_ON_TOP, onTop ? BST_CHECKED : BST_UNCHECKED);
    SetWindowPos(mainDialog, band, 0, 0, 0, 0, SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
    SetWindowPos(dialog, band, 0, 0, 0, 0, SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
}

void refreshMainCaption(HWND dialog)
{
    refreshTitleBar(mainDialogOf(dialog), !(settings.showTimerInTitleBar && runningTimerCount() > 0));
}

void fillEdits(HWND dialog)
{
    for (int position = 0; position < editCount; ++position) {
        const EditField field = editField(position);
        SendDlgItemMessageA(dialog, field.editId, EM_LIMITTEXT, settingsTextSize(field.text) - 1, 0);
        setEditText(dialog, field.editId, settingsText(field.text, field.slot), field.kind != EditKind::Name);
    }
}

INT_PTR onInitDialog(HWND dialog)
{
    for (int position = 0; position < optionCount; ++position)
        dialogState.optionsSnapshot[position] = optionValue(static_cast<Option>(position));

    dialogState.labelBackgroundColour = blendColour(GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_WINDOW));
    dialogState.labelBrush.reset(CreateSolidBrush(dialogState.labelBackgroundColour));

    setDialogIcons(dialog, settingsIcons);
    fillEdits(dialog);
    showOptionBoxes(dialog);

    fitDialogToScale(dialog);
    centerOverOwner(dialog, mainDialogOf(dialog));
    moveDialogFocus(dialog, IDOK);
    return FALSE;
}

INT_PTR onEditKillFocus(HWND dialog, const EditField& field)
{
    const std::string typed = editText(dialog, field.editId);
    std::string tidied;
    switch (field.kind) {
    case EditKind::Name: {
        char defaultText[64];
        loadString(field.defaultTextId, defaultText, sizeof defaultText);
        setEditText(dialog, field.editId, tidyName(typed.c_str(), defaultText), false);
        break;
    }
    case EditKind::SoundFile:
        tidied = tidySoundFile(typed.c_str());
        if (tidied != typed)
            setEditText(dialog, field.editId, tidied, true);
        break;
    case EditKind::OpenCommand:
        if (tidyOpenCommand(typed.c_str(), tidied) && tidied != typed)
            setEditText(dialog, field.editId, tidied, true);
        break;
    }
    return handledResult(dialog, 1);
}

INT_PTR onOptionBox(HWND dialog, int position)
{
    const bool checked = IsDlgButtonChecked(dialog, optionBoxIds[position]) == BST_CHECKED;
    setOption(static_cast<Option>(position), checked);
    if (optionBoxIds[position] == IDC_SET_KEEP_ON_TOP)
        applyKeepOnTop(dialog, checked);
    else if (optionBoxIds[position] == IDC_SET_TITLE_BAR)
        refreshMainCaption(dialog);
    playResourceSound(checked ? IDW_SWITCH_ON : IDW_SWITCH_OFF);
    return handledResult(dialog, 1);
}

INT_PTR onPlay(HWND dialog, int row)
{
    playSoundFile(editText(dialog, soundFileEditIds[row]).c_str());
    return handledResult(dialog, 1);
}

INT_PTR onTry(HWND dialog, int row)
{
    shellOpenCommand(editText(dialog, openFileEditIds[row]).c_str());
    return handledResult(dialog, 1);
}

INT_PTR onAdvanced(HWND dialog)
{
    // Moving the focus first tidies the edit the user was in.
    if (GetFocus() != GetDlgItem(dialog, IDC_SET_ADVANCED))
        moveDialogFocus(dialog, IDC_SET_ADVANCED);
    showSettingsMenu(dialog);
    return handledResult(dialog, 1);
}

// The first Enter only leaves the edit (tidying it) for OK; the second confirms.
INT_PTR onOk(HWND dialog)
{
    if (GetFocus() != GetDlgItem(dialog, IDOK)) {
        moveDialogFocus(dialog, IDOK);
        return handledResult(dialog, 1);
    }
    for (int position = 0; position < editCount; ++position) {
        const EditField field = editField(position);
        setSettingsText(field.text, field.slot, editText(dialog, field.editId).c_str());
    }
    EndDialog(dialog, IDOK);
    return handledResult(dialog, 1);
}

INT_PTR onCancel(HWND dialog)
{
    const bool* snapshot = dialogState.optionsSnapshot;
    const bool onTopChanged = settings.keepWindowOnTop != snapshot[0];
    const bool captionChanged = settings.showTimerInTitleBar != snapshot[1];
    for (int position = 0; position < optionCount; ++position)
        setOption(static_cast<Option>(position), snapshot[position]);
    if (onTopChanged)
        applyKeepOnTop(dialog, settings.keepWindowOnTop);
    if (captionChanged)
        refreshMainCaption(dialog);
    EndDialog(dialog, IDCANCEL);
    return handledResult(dialog, 1);
}

INT_PTR onButton(HWND dialog, int id)
{
    if (id == IDOK)
        return onOk(dialog);
    if (id == IDCANCEL)
        return onCancel(dialog);
    if (id == IDC_SET_ADVANCED)
        return onAdvanced(dialog);
    const int option = optionPosition(id);
    if (option >= 0)
        return onOptionBox(dialog, option);
    int row = rowOf(playButtonIds, id);
    if (row >= 0)
        return onPlay(dialog, row);
    if (rowOf(stopButtonIds, id) >= 0) {
        stopAllSounds();
        return handledResult(dialog, 1);
    }
    row = rowOf(tryButtonIds, id);
    if (row >= 0)
        return onTry(dialog, row);
    row = rowOf(browseSoundIds, id);
    if (row >= 0) {
        browseForSoundFile(dialog, soundFileEditIds[row]);
        return handledResult(dialog, 1);
    }
    row = rowOf(browseOpenIds, id);
    if (row >= 0) {
        browseForOpenFile(dialog, openFileEditIds[row]);
        return handledResult(dialog, 1);
    }
    return FALSE;
}

INT_PTR onCommand(HWND dialog, WPARAM wParam)
{
    const int id = LOWORD(wParam);
    const int code = HIWORD(wParam);
    if (code == EN_KILLFOCUS) {
        const int position = editPosition(id);
        return position >= 0 ? onEditKillFocus(dialog, editField(position)) : FALSE;
    }
    if (code == BN_CLICKED)
        return onButton(dialog, id);
    return FALSE;
}

// File names and commands keep the system's edit colours; names and labels
// sit on a lighter shade of the dialog colour.
INT_PTR onCtlColorEdit(HDC dc, HWND edit)
{
    const int position = editPosition(GetDlgCtrlID(edit));
    if (!dialogState.labelBrush || position < 0 || editField(position).kind != EditKind::Name)
        return FALSE;
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(dc, dialogState.labelBackgroundColour);
    SetBkMode(dc, OPAQUE);
    return reinterpret_cast<INT_PTR>(dialogState.labelBrush.get());
}

INT_PTR onDestroy(HWND dialog)
{
    dialogState.labelBrush.reset();
    destroyDialogIcons(dialog, settingsIcons);
    // Also silences an event sound a timer started while the dialog was open.
    stopAllSounds();
    return handledResult(dialog, 1);
}

} // namespace

INT_PTR CALLBACK settingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return onInitDialog(dialog);
    case WM_COMMAND:
        return onCommand(dialog, wParam);
    case WM_CTLCOLOREDIT:
        return onCtlColorEdit(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_DPICHANGED:
        return onDialogScaleChanged(dialog, lParam, settingsIcons);
    case WM_DESTROY:
        return onDestroy(dialog);
    default:
        return FALSE;
    }
}
