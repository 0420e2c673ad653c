// The Advanced Options menu of the Settings dialog. Its entries only write
// into the dialog's controls (the dialog takes them over at OK), except the
// options reset, which sets the options themselves (Cancel puts them back).
#include "ui/dialogs/settings_menu.h"

#include "base/process.h"
#include "base/sound.h"
#include "base/owned_handle.h"
#include "base/strings.h"
#include "base/text.h"
#include "resource.h"
#include "settings/settings.h"
#include "ui/common/menu_bitmap.h"
#include "ui/common/popup_menu.h"
#include "ui/dialogs/settings_controls.h"
#include "settings/settings_rules.h"

#include <shlwapi.h>

#include <cstdint>

namespace {

constexpr int sectionCount = 4;
constexpr int sharedBitmapCount = 3;

struct MenuSection {
    unsigned textId;
    int iconId;
};

constexpr MenuSection sections[sectionCount] = {
    {IDM_NAMES_SECTION, IDI_NAMES},
    {IDM_SOUNDS_SECTION, IDI_SOUNDS},
    {IDM_OPEN_SECTION, IDI_OPEN_FILES},
    {IDM_OPTIONS_SECTION, IDI_OPTIONS},
};

// The icons several entries share: one bitmap each per showing.
constexpr int sharedIconIds[sharedBitmapCount] = {IDI_RESET, IDI_EMPTY, IDI_FILL};

// At most size - 1 bytes of text, never half a double-byte character.
std::string limitedText(const std::string& text, std::size_t size)
{
    std::string limited(size, '\0');
    limited.resize(copyText(&limited[0], size, text.c_str()));
    return limited;
}

bool appendText(HMENU menu, UINT flags, UINT_PTR item, unsigned textId)
{
    return AppendMenuA(menu, flags, item, loadText(textId).c_str()) != FALSE;
}

// Gives the section just appended its icon and the separator after it.
bool finishSection(HMENU menu, const MenuSection& section, MenuBitmaps& bitmaps)
{
    const int count = GetMenuItemCount(menu);
    if (count == -1)
        return false;
    attachMenuIcon(menu, static_cast<UINT>(count - 1), MF_BYPOSITION, section.iconId, bitmaps);
    return AppendMenuA(menu, MF_SEPARATOR, 0, nullptr) != FALSE;
}

void setControlTexts(HWND dialog, const int (&ids)[timerCount], const std::string (&texts)[timerCount])
{
    for (int row = 0; row < timerCount; ++row)
        SetDlgItemTextA(dialog, ids[row], texts[row].c_str());
}

constexpr unsigned exampleNameIds[timerCount] = {IDS_EXAMPLE_NAME1, IDS_EXAMPLE_NAME2, IDS_EXAMPLE_NAME3};
constexpr unsigned exampleSoundLabelIds[timerCount] = {IDS_EXAMPLE_SOUND_LABEL1, IDS_EXAMPLE_SOUND_LABEL2,
                                                       IDS_EXAMPLE_SOUND_LABEL3};
constexpr unsigned exampleOpenLabelIds[timerCount] = {IDS_EXAMPLE_OPEN_LABEL1, IDS_EXAMPLE_OPEN_LABEL2,
                                                      IDS_EXAMPLE_OPEN_LABEL3};

// Three string-table texts, each cut to fit a field of size bytes.
void setStringTexts(HWND dialog, const int (&ids)[timerCount], const unsigned (&textIds)[timerCount], std::size_t size)
{
    const std::string texts[timerCount] = {
        limitedText(loadText(textIds[0]), size),
        limitedText(loadText(textIds[1]), size),
        limitedText(loadText(textIds[2]), size),
    };
    setControlTexts(dialog, ids, texts);
}

void emptyTexts(HWND dialog, const int (&ids)[timerCount])
{
    const std::string empty[timerCount];
    setControlTexts(dialog, ids, empty);
}

bool readFolder(UINT (WINAPI* getFolder)(LPSTR, UINT), char (&folder)[MAX_PATH])
{
    const UINT length = getFolder(folder, sizeof folder);
    return length != 0 && length < sizeof folder;
}

// The system's Media folder, or the root of drive C when the Windows folder
// cannot be read.
std::string exampleSoundFolder()
{
    char folder[MAX_PATH];
    if (!readFolder(GetWindowsDirectoryA, folder) || !PathAppendA(folder, loadText(IDS_MEDIA_FOLDER).c_str()))
        return "C:\\";
    return folder;
}

std::string exampleSoundPath(const std::string& folder, unsigned fileNameId)
{
    char path[pathBufferSize];
    copyText(path, sizeof path, folder.c_str());
    PathAppendA(path, loadText(fileNameId).c_str());
    quotePathInPlace(path);
    return path;
}

void fillExampleSounds(HWND dialog)
{
    setStringTexts(dialog, soundLabelEditIds, exampleSoundLabelIds, labelSize);
    const std::string folder = exampleSoundFolder();
    const std::string paths[timerCount] = {
        exampleSoundPath(folder, IDS_EXAMPLE_SOUND_FILE1),
        exampleSoundPath(folder, IDS_EXAMPLE_SOUND_FILE2),
        exampleSoundPath(folder, IDS_EXAMPLE_SOUND_FILE3),
    };
    setControlTexts(dialog, soundFileEditIds, paths);
}

// A candidate for Notepad: folder, then each further part appended.
bool notepadCandidate(const char* folder, const char* subfolder, std::string& command)
{
    char path[MAX_PATH];
    copyText(path, sizeof path, folder);
    if (subfolder != nullptr && !PathAppendA(path, subfolder))
        return false;
    if (!PathAppendA(path, "Notepad.exe"))
        return false;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path, GetFileExInfoStandard, &data) || (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    command = std::string("\"") + path + "\"";
    return true;
}

// The full path of Notepad in double quotes; empty and false when none is found.
bool findNotepadCommand(std::string& command)
{
    command.clear();
    char windowsFolder[MAX_PATH];
    char systemFolder[MAX_PATH];
    const bool haveWindows = readFolder(GetWindowsDirectoryA, windowsFolder);
    const bool haveSystem = readFolder(GetSystemDirectoryA, systemFolder);
    if (haveWindows && notepadCandidate(windowsFolder, nullptr, command))
        return true;
    if (haveSystem && notepadCandidate(systemFolder, nullptr, command))
        return true;
    return haveWindows && notepadCandidate(windowsFolder, "SysWOW64", command);
}

void fillExampleOpenFiles(HWND dialog)
{
    setStringTexts(dialog, openLabelEditIds, exampleOpenLabelIds, labelSize);
    std::string notepad;
    std::string appWithDocument = loadText(IDS_EXAMPLE_OPEN_DOCUMENT3);
    if (findNotepadCommand(notepad))
        appWithDocument = notepad + " " + appWithDocument;
    const std::string targets[timerCount] = {
        limitedText(loadText(IDS_EXAMPLE_OPEN_TARGET1), openFileSize),
        limitedText(loadText(IDS_EXAMPLE_OPEN_TARGET2), openFileSize),
        limitedText(appWithDocument, openFileSize),
    };
    setControlTexts(dialog, openFileEditIds, targets);
}

// Only the options and their boxes: the immediate effects of clicking the
// boxes one by one (topmost band, caption) are not part of this reset.
void resetOptions(HWND dialog)
{
    restoreDefaultOptions();
    showOptionBoxes(dialog);
}

void resetNames(HWND dialog)
{
    setStringTexts(dialog, nameEditIds, defaultTimerNameIds, labelSize);
}

void fillExampleNames(HWND dialog)
{
    setStringTexts(dialog, nameEditIds, exampleNameIds, labelSize);
}

void resetSounds(HWND dialog)
{
    setStringTexts(dialog, soundLabelEditIds, defaultSoundLabelIds, labelSize);
    emptyTexts(dialog, soundFileEditIds);
}

void resetOpenFiles(HWND dialog)
{
    setStringTexts(dialog, openLabelEditIds, defaultOpenLabelIds, labelSize);
    emptyTexts(dialog, openFileEditIds);
}

struct MenuEntry {
    int section;
    unsigned command;
    int sharedBitmap;   // index into sharedIconIds
    void (*run)(HWND dialog);
    int soundId;
};

constexpr MenuEntry entries[] = {
    {0, IDM_NAMES_RESET, 0, resetNames, IDW_RESET},
    {0, IDM_NAMES_FILL, 2, fillExampleNames, IDW_FILLED},
    {1, IDM_SOUNDS_RESET, 1, resetSounds, IDW_RESET},
    {1, IDM_SOUNDS_FILL, 2, fillExampleSounds, IDW_FILLED},
    {2, IDM_OPEN_RESET, 1, resetOpenFiles, IDW_RESET},
    {2, IDM_OPEN_FILL, 2, fillExampleOpenFiles, IDW_FILLED},
    {3, IDM_OPTIONS_RESET, 0, resetOptions, IDW_FILLED},
};

// Fills the empty menu; false when any part fails.
bool buildMenu(HMENU menu, MenuBitmaps& bitmaps)
{
    HBITMAP shared[sharedBitmapCount];
    for (int index = 0; index < sharedBitmapCount; ++index)
        shared[index] = addMenuBitmap(bitmaps, sharedIconIds[index]);
    HMENU submenus[sectionCount];
    for (int index = 0; index < sectionCount; ++index) {
        OwnedMenu submenu(CreatePopupMenu());
        if (!submenu)
            return false;
        if (!appendText(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(submenu.get()), sections[index].textId))
            return false;
        // Part of the menu now, so destroyed with it.
        submenus[index] = submenu.take();
        if (!finishSection(menu, sections[index], bitmaps))
            return false;
    }
    if (!appendText(menu, MF_STRING, IDM_CLOSE_MENU, IDM_CLOSE_MENU))
        return false;
    for (const MenuEntry& entry : entries) {
        HMENU submenu = submenus[entry.section];
        if (!appendText(submenu, MF_STRING, entry.command, entry.command))
            return false;
        attachMenuBitmap(submenu, entry.command, MF_BYCOMMAND, shared[entry.sharedBitmap]);
    }
    return true;
}

// Close this Menu, or no choice, matches no entry.
void runCommand(HWND dialog, int command)
{
    for (const MenuEntry& entry : entries) {
        if (static_cast<int>(entry.command) == command) {
            entry.run(dialog);
            playResourceSound(entry.soundId);
            return;
        }
    }
}

// The bitmaps outlive the menu that shows them.
int chooseCommand(HWND settingsDialog)
{
    MenuBitmaps bitmaps(settingsDialog);
    OwnedMenu menu(CreatePopupMenu());
    if (!menu || !buildMenu(menu.get(), bitmaps))
        return -1;
    return trackAndDestroyMenu(menu, buttonCentre(settingsDialog, IDC_SET_ADVANCED), settingsDialog);
}

} // namespace

int showSettingsMenu(HWND settingsDialog)
{
    const int command = chooseCommand(settingsDialog);
    runCommand(settingsDialog, command);
    return command;
}
