// The Settings dialog: timer names, external sound events, open file events
// and the six options. Texts reach the settings record only at OK; options
// change at once and are put back by Cancel.
#include "ui/dialogs/settings_dialog.h"

#include "base/dialog_helpers.h"
#include "base/process.h"
#include "base/sound.h"
#include "base/display_scale_win.h"
#include "base/callback_boundary.h"
#include "base/owned_handle.h"
#include "base/pixel_buffer.h"
#include "base/strings.h"
#include "events/execute.h"
#include "resource.h"
#include "settings/settings.h"
#include "ui/common/window_centre.h"
#include "ui/common/dialog_icons.h"
#include "ui/dialogs/file_dialogs.h"
#include "ui/dialogs/settings_controls.h"
#include "ui/dialogs/settings_menu.h"
#include "settings/settings_rules.h"

#include <string>

namespace {

constexpr int editCount = 5 * timerCount;

// The dialog's working state, made by runSettingsDialog for one showing and
// reached through DWLP_USER.
struct SettingsDialogState {
    bool optionsSnapshot[optionCount];   // in the order of optionBoxIds
    COLORREF labelBackgroundColour;
    OwnedBrush labelBrush;   // empty when it could not be made: normal colours then
    HeldIcons icons;
};

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
        return {nameEditIds[slot], SettingsText::timerName, slot, defaultTimerNameIds[slot], EditKind::Name};
    case 1:
        return {soundLabelEditIds[slot], SettingsText::soundLabel, slot, defaultSoundLabelIds[slot], EditKind::Name};
    case 2:
        return {soundFileEditIds[slot], SettingsText::soundFile, slot, 0, EditKind::SoundFile};
    case 3:
        return {openLabelEditIds[slot], SettingsText::openLabel, slot, defaultOpenLabelIds[slot], EditKind::Name};
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

// The main dialog shows an option's effect itself; this dialog follows the
// keep-on-top band too.
void applyOption(HWND dialog, Option option)
{
    SendMessageA(mainDialogOf(dialog), WM_OPTION_CHANGED, static_cast<WPARAM>(option), 0);
    if (option == Option::keepWindowOnTop)
        SetWindowPos(dialog, settings.keepWindowOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                     SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
}

void fillEdits(HWND dialog)
{
    for (int position = 0; position < editCount; ++position) {
        const EditField field = editField(position);
        SendDlgItemMessageA(dialog, field.editId, EM_LIMITTEXT, settingsTextSize(field.text) - 1, 0);
        setEditText(dialog, field.editId, settingsText(field.text, field.slot), field.kind != EditKind::Name);
    }
}

INT_PTR onInitDialog(HWND dialog, SettingsDialogState& state)
{
    for (int position = 0; position < optionCount; ++position)
        state.optionsSnapshot[position] = optionValue(static_cast<Option>(position));

    state.labelBackgroundColour = blendColour(GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_WINDOW));
    state.labelBrush.reset(CreateSolidBrush(state.labelBackgroundColour));

    setDialogIcons(dialog, settingsIcons, state.icons);
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
    applyOption(dialog, static_cast<Option>(position));
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

INT_PTR onCancel(HWND dialog, const SettingsDialogState& state)
{
    for (int position = 0; position < optionCount; ++position) {
        const Option option = static_cast<Option>(position);
        if (optionValue(option) == state.optionsSnapshot[position])
            continue;
        setOption(option, state.optionsSnapshot[position]);
        applyOption(dialog, option);
    }
    EndDialog(dialog, IDCANCEL);
    return handledResult(dialog, 1);
}

INT_PTR onButton(HWND dialog, const SettingsDialogState& state, int id)
{
    if (id == IDOK)
        return onOk(dialog);
    if (id == IDCANCEL)
        return onCancel(dialog, state);
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

INT_PTR onCommand(HWND dialog, const SettingsDialogState& state, WPARAM wParam)
{
    const int id = LOWORD(wParam);
    const int code = HIWORD(wParam);
    if (code == EN_KILLFOCUS) {
        const int position = editPosition(id);
        return position >= 0 ? onEditKillFocus(dialog, editField(position)) : FALSE;
    }
    if (code == BN_CLICKED)
        return onButton(dialog, state, id);
    return FALSE;
}

// File names and commands keep the system's edit colours; names and labels
// sit on a lighter shade of the dialog colour.
INT_PTR onCtlColorEdit(const SettingsDialogState& state, HDC dc, HWND edit)
{
    const int position = editPosition(GetDlgCtrlID(edit));
    if (!state.labelBrush || position < 0 || editField(position).kind != EditKind::Name)
        return FALSE;
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(dc, state.labelBackgroundColour);
    SetBkMode(dc, OPAQUE);
    return reinterpret_cast<INT_PTR>(state.labelBrush.get());
}

INT_PTR onDestroy(HWND dialog)
{
    // Also silences an event sound a timer started while the dialog was open.
    stopAllSounds();
    return handledResult(dialog, 1);
}

INT_PTR settingsDialogProc(HWND dialog, SettingsDialogState& state, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return onInitDialog(dialog, state);
    case WM_COMMAND:
        return onCommand(dialog, state, wParam);
    case WM_CTLCOLOREDIT:
        return onCtlColorEdit(state, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_DPICHANGED:
        return onDialogScaleChanged(dialog, lParam, settingsIcons, state.icons);
    case WM_DESTROY:
        return onDestroy(dialog);
    default:
        return FALSE;
    }
}

} // namespace

INT_PTR runSettingsDialog(HWND owner)
{
    SettingsDialogState state{};
    return DialogBoxParamA(app.instance, MAKEINTRESOURCEA(IDD_SETTINGS), owner, guardedDialogProc<statefulDialogProc<SettingsDialogState, settingsDialogProc>>,
                           reinterpret_cast<LPARAM>(&state));
}
