// Browsing for a sound file or for a document or application from the
// Settings dialog, with the system's Explorer-style file-open dialog.
#include "ui/dialogs/file_dialogs.h"

#include "base/process.h"
#include "base/sound.h"
#include "base/system_library.h"
#include "base/callback_boundary.h"
#include "base/strings.h"
#include "base/text.h"
#include "events/open_command.h"
#include "resource.h"
#include "ui/common/window_centre.h"
#include "ui/common/dialog_icons.h"
#include "ui/dialogs/settings_controls.h"
#include "settings/settings_rules.h"

#include <cderr.h>
#include <commdlg.h>
#include <mmsystem.h>
#include <shlwapi.h>

#include <string>

namespace {

struct CommonDialogs {
    decltype(&GetOpenFileNameA) getOpenFileName;
    decltype(&CommDlgExtendedError) extendedError;
};

// Loaded the first time a file is browsed for, not at start-up.
CommonDialogs loadCommonDialogs()
{
    const HMODULE module = comdlg32Module();
    if (module == nullptr)
        return CommonDialogs{nullptr, nullptr};
    return CommonDialogs{procAddress<decltype(&GetOpenFileNameA)>(module, "GetOpenFileNameA"),
                         procAddress<decltype(&CommDlgExtendedError)>(module, "CommDlgExtendedError")};
}

// The file-open dialog lays its controls out (and may resize itself) after
// it has told us it is initialised: within this time the first size change
// still belongs to the opening, so the dialog is centred again.
constexpr DWORD settleTimeMs = 1000;

// WM_DPICHANGED_AFTERPARENT (Windows 10 1703), which older headers lack.
constexpr UINT dpiChangedAfterParent = 0x02E3;

// Owned by one Browse call, reached by its hook through lCustData.
struct PreviewState {
    DWORD tick;
    bool pending;
    HeldIcons icons;   // the sound preview's buttons'
};

struct BrowseVariant {
    unsigned titleId;
    unsigned filterId;
    const char* pattern;
    const char* defaultExtension;
    int templateId;
    LPOFNHOOKPROC hook;
};

OPENFILENAMEA* openFileNameOf(HWND hook)
{
    return reinterpret_cast<OPENFILENAMEA*>(GetWindowLongPtrA(hook, GWLP_USERDATA));
}

PreviewState& previewStateOf(const OPENFILENAMEA& openFileName)
{
    return *reinterpret_cast<PreviewState*>(openFileName.lCustData);
}

// The hook window is the child template; its parent is the file-open dialog.
void centreFileDialog(HWND hook, const OPENFILENAMEA& openFileName)
{
    centerOverOwner(GetParent(hook), openFileName.hwndOwner);
}

UINT_PTR onHookInit(HWND hook, LPARAM lParam)
{
    SetWindowLongPtrA(hook, GWLP_USERDATA, lParam);
    return TRUE;
}

UINT_PTR onHookNotify(HWND hook, const OFNOTIFYA& notify)
{
    OPENFILENAMEA* openFileName = openFileNameOf(hook);
    if (notify.hdr.code == static_cast<UINT>(CDN_INITDONE) && openFileName != nullptr) {
        centreFileDialog(hook, *openFileName);
        PreviewState& state = previewStateOf(*openFileName);
        state.pending = true;
        state.tick = GetTickCount();
        return 0;
    }
    if (notify.hdr.code == static_cast<UINT>(CDN_FILEOK)) {
        SetWindowLongPtrA(hook, DWLP_MSGRESULT, 0);
        return TRUE;
    }
    return 0;
}

// Only the first size change soon after the opening moves the dialog; a
// resize by the user later leaves it where it is.
UINT_PTR onHookSize(HWND hook)
{
    OPENFILENAMEA* openFileName = openFileNameOf(hook);
    if (openFileName == nullptr)
        return 0;
    PreviewState& state = previewStateOf(*openFileName);
    if (state.pending) {
        state.pending = false;
        if (GetTickCount() - state.tick < settleTimeMs)
            centreFileDialog(hook, *openFileName);
    }
    return 0;
}

UINT_PTR onHookDestroy(HWND hook)
{
    OPENFILENAMEA* openFileName = openFileNameOf(hook);
    if (openFileName != nullptr)
        previewStateOf(*openFileName).pending = false;
    return 0;
}

UINT_PTR CALLBACK placementHook(HWND hook, UINT message, WPARAM, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return onHookInit(hook, lParam);
    case WM_NOTIFY:
        return onHookNotify(hook, *reinterpret_cast<const OFNOTIFYA*>(lParam));
    case WM_SIZE:
        return onHookSize(hook);
    case WM_DESTROY:
        return onHookDestroy(hook);
    default:
        return 0;
    }
}

constexpr ButtonIcon previewButtonIcons[] = {{IDC_PREVIEW_PLAY, IDI_PLAY, 16}, {IDC_PREVIEW_STOP, IDI_STOP, 16}};
constexpr DialogIcons previewIcons = dialogIcons(previewButtonIcons);

void previewSelection(HWND hook)
{
    char path[MAX_PATH] = "";
    const LRESULT length = SendMessageA(GetParent(hook), CDM_GETFILEPATH, sizeof path, reinterpret_cast<LPARAM>(path));
    if (length > 0 && length <= static_cast<LRESULT>(sizeof path) && PathFileExistsA(path) && !PathIsDirectoryA(path))
        playSound(path, nullptr, SND_FILENAME | SND_ASYNC | SND_NODEFAULT);
}

UINT_PTR onPreviewCommand(HWND hook, WPARAM wParam)
{
    if (HIWORD(wParam) != BN_CLICKED)
        return 0;
    if (LOWORD(wParam) == IDC_PREVIEW_PLAY) {
        previewSelection(hook);
        return TRUE;
    }
    if (LOWORD(wParam) == IDC_PREVIEW_STOP) {
        stopAllSounds();
        return TRUE;
    }
    return 0;
}

UINT_PTR CALLBACK soundPreviewHook(HWND hook, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        onHookInit(hook, lParam);
        setDialogIcons(hook, previewIcons, previewStateOf(*openFileNameOf(hook)).icons);
        return TRUE;
    case WM_COMMAND:
        return onPreviewCommand(hook, wParam);
    case dpiChangedAfterParent:
        // The file dialog moved to a monitor with another scale.
        setDialogIcons(hook, previewIcons, previewStateOf(*openFileNameOf(hook)).icons);
        return 0;
    case WM_DESTROY:
        stopAllSounds();
        return onHookDestroy(hook);
    default:
        return placementHook(hook, message, wParam, lParam);
    }
}

const BrowseVariant soundVariant = {IDS_SOUND_FILE_TITLE, IDS_WAV_FILTER, "*.wav", "wav", IDD_OPEN_SOUND,
                                    guardedDialogProc<soundPreviewHook>};
const BrowseVariant openVariant = {IDS_DOCUMENT_FILE_TITLE, IDS_ALL_FILES_FILTER, "*.*", "exe", IDD_OPEN_DOCUMENT,
                                   guardedDialogProc<placementHook>};

// "Text", NUL, pattern, NUL and the closing NUL of the list.
std::string filterList(const BrowseVariant& variant)
{
    char text[128];
    loadString(variant.filterId, text, sizeof text);
    std::string filter(text);
    filter += '\0';
    filter += variant.pattern;
    filter += '\0';
    return filter;   // c_str() adds the final NUL
}

bool currentDirectory(std::string& directory)
{
    const DWORD size = GetCurrentDirectoryA(0, nullptr);
    if (size == 0)
        return false;
    directory.assign(size, '\0');
    const DWORD length = GetCurrentDirectoryA(size, &directory[0]);
    if (length == 0 || length >= size)
        return false;
    directory.resize(length);
    return true;
}

void browse(HWND settingsDialog, int editId, const BrowseVariant& variant, const std::string& typed, const char* startPath)
{
    char file[MAX_PATH];
    copyText(file, sizeof file, PathFindFileNameA(startPath));
    char folder[MAX_PATH] = "";
    if (startPath[0] != '\0') {
        copyText(folder, sizeof folder, startPath);
        PathRemoveFileSpecA(folder);
    }
    char title[128];
    loadString(variant.titleId, title, sizeof title);
    const std::string filter = filterList(variant);
    PreviewState state{};

    static_assert(sizeof(OPENFILENAMEA) == (sizeof(void*) == 4 ? 88 : 152), "the full-size file-open structure");
    OPENFILENAMEA openFileName = {};
    openFileName.lStructSize = sizeof openFileName;
    openFileName.hwndOwner = settingsDialog;
    openFileName.hInstance = app.instance;
    openFileName.lpstrFilter = filter.c_str();
    openFileName.nFilterIndex = 1;
    openFileName.lpstrFile = file;
    openFileName.nMaxFile = sizeof file;
    openFileName.lpstrInitialDir = folder;
    openFileName.lpstrTitle = title;
    openFileName.Flags = OFN_HIDEREADONLY | OFN_ENABLEHOOK | OFN_ENABLETEMPLATE | OFN_FILEMUSTEXIST | OFN_EXPLORER |
                         OFN_ENABLESIZING;
    openFileName.lpstrDefExt = variant.defaultExtension;
    openFileName.lCustData = reinterpret_cast<LPARAM>(&state);
    openFileName.lpfnHook = variant.hook;
    openFileName.lpTemplateName = MAKEINTRESOURCEA(variant.templateId);

    // The dialog may change the current directory as the user moves around.
    std::string savedDirectory;
    if (!currentDirectory(savedDirectory))
        return;
    const CommonDialogs dialogs = loadCommonDialogs();
    if (dialogs.getOpenFileName == nullptr || dialogs.extendedError == nullptr) {
        MessageBeep(MB_ICONHAND);
        return;
    }
    BOOL chosen = dialogs.getOpenFileName(&openFileName);
    if (!chosen && dialogs.extendedError() == FNERR_INVALIDFILENAME) {
        file[0] = '\0';
        state.tick = 0;
        state.pending = false;
        chosen = dialogs.getOpenFileName(&openFileName);
    }
    if (!chosen && dialogs.extendedError() != 0)
        MessageBeep(MB_ICONHAND);
    SetCurrentDirectoryA(savedDirectory.c_str());
    if (!chosen)
        return;

    quotePathInPlace(file);
    if (typed != file) {
        setEditText(settingsDialog, editId, file, true);
    }
}

// Where an open file command starts the dialog: its target when that is an
// absolute path (a web address counts as relative here), else nowhere.
void openCommandStartPath(const std::string& command, char (&startPath)[MAX_PATH])
{
    startPath[0] = '\0';
    std::string target;
    std::string parameters;
    if (!splitOpenCommand(command.c_str(), target, parameters))
        return;
    if (target.size() >= MAX_PATH || PathIsRelativeA(target.c_str()))
        return;
    copyText(startPath, sizeof startPath, target.c_str());
}

} // namespace

void browseForSoundFile(HWND settingsDialog, int editId)
{
    stopAllSounds();
    const std::string typed = editText(settingsDialog, editId);
    char startPath[MAX_PATH];
    copyText(startPath, sizeof startPath, typed.c_str());
    PathUnquoteSpacesA(startPath);
    browse(settingsDialog, editId, soundVariant, typed, startPath);
}

void browseForOpenFile(HWND settingsDialog, int editId)
{
    stopAllSounds();
    const std::string typed = editText(settingsDialog, editId);
    char startPath[MAX_PATH];
    openCommandStartPath(typed, startPath);
    browse(settingsDialog, editId, openVariant, typed, startPath);
}
