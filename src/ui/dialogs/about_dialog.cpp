// The About dialog: the program's version, its maker's links and a note.
// The three links are SysLink controls of the version 6 common controls,
// which the manifest brings in; the dialog owns the two icons it sets.
#include "ui/dialogs/about_dialog.h"

#include "base/dialog_helpers.h"
#include "events/execute.h"
#include "base/process.h"
#include "base/subclass.h"
#include "base/callback_boundary.h"
#include "base/display_scale_win.h"
#include "base/strings.h"
#include "resource.h"
#include "ui/common/window_centre.h"
#include "ui/common/dialog_icons.h"

#include <commctrl.h>
#include <cstdio>

namespace {

// The longest address a SysLink item carries, in bytes once converted.
const int addressBufferSize = 2084;

const int linkIds[] = {IDC_ABOUT_LINK_MAKER, IDC_ABOUT_LINK_CONTRIBUTOR, IDC_ABOUT_LINK_MUSIC};

// LWS_IGNORERETURN should leave Enter to the default button, but some
// comctl32 builds (Wine's) still claim it for a focused link and then ignore
// it, so Enter would do nothing at all. The links answer for themselves here.
LRESULT CALLBACK linkSubclassProc(HWND link, UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = callPreviousProc(link, message, wParam, lParam);
    const MSG* keyMessage = reinterpret_cast<const MSG*>(lParam);
    if (message == WM_GETDLGCODE && keyMessage != nullptr && keyMessage->wParam == VK_RETURN)
        result &= ~static_cast<LRESULT>(DLGC_WANTMESSAGE);
    return result;
}

void leaveEnterToTheDefaultButton(HWND dialog)
{
    for (int id : linkIds) {
        const HWND link = GetDlgItem(dialog, id);
        if (link != nullptr)
            subclassControl(link, guardedSubclassProc<linkSubclassProc>);
    }
}

void showVersion(HWND dialog)
{
    char version[32];
    std::snprintf(version, sizeof version, "%hu.%hu.%hu.%hu",
                  HIWORD(app.programVersion[0]), LOWORD(app.programVersion[0]),
                  HIWORD(app.programVersion[1]), LOWORD(app.programVersion[1]));
    char format[128];
    loadString(IDS_VERSION_LINE, format, sizeof format);
    char line[sizeof format + sizeof version];
    std::snprintf(line, sizeof line, format, version);
    SetDlgItemTextA(dialog, IDC_ABOUT_VERSION, line);
}

constexpr ButtonIcon closeButtonIcon[] = {{IDOK, IDI_CLOSE, 32}};
constexpr DialogIcons aboutIcons = dialogIcons(closeButtonIcon, IDI_ABOUT);

// The dialog's working state for one showing, reached through DWLP_USER.
struct AboutDialogState {
    HeldIcons icons;
};

INT_PTR onInitDialog(HWND dialog, AboutDialogState& state)
{
    showVersion(dialog);
    leaveEnterToTheDefaultButton(dialog);
    setDialogIcons(dialog, aboutIcons, state.icons);
    fitDialogToScale(dialog);
    centerOverOwner(dialog, GetParent(dialog));
    moveDialogFocus(dialog, IDOK);
    return FALSE;   // the focus is placed already
}

// One of the dialog's own three links, by both identifier and window.
bool isAboutLink(HWND dialog, const NMHDR& header)
{
    for (int id : linkIds) {
        if (static_cast<int>(header.idFrom) == id)
            return header.hwndFrom != nullptr && header.hwndFrom == GetDlgItem(dialog, id);
    }
    return false;
}

void reportUnopenedAddress(HWND dialog, const char* address)
{
    char format[128];
    loadString(IDS_LINK_FAILED, format, sizeof format);
    char text[sizeof format + addressBufferSize];
    std::snprintf(text, sizeof text, format, address);
    MessageBoxA(dialog, text, nullptr, MB_ICONERROR);
}

INT_PTR onLinkActivated(HWND dialog, const NMLINK& link)
{
    char address[addressBufferSize];
    if (WideCharToMultiByte(CP_ACP, 0, link.item.szUrl, -1, address, sizeof address, nullptr, nullptr) != 0
        && !shellOpen(address, nullptr, dialog))
        reportUnopenedAddress(dialog, address);
    return handledResult(dialog, 0);
}

INT_PTR onNotify(HWND dialog, const NMHDR* header)
{
    if (header == nullptr || (header->code != NM_CLICK && header->code != NM_RETURN))
        return FALSE;
    if (!isAboutLink(dialog, *header))
        return FALSE;
    return onLinkActivated(dialog, *reinterpret_cast<const NMLINK*>(header));
}

INT_PTR onCommand(HWND dialog, int id)
{
    if (id != IDOK && id != IDCANCEL)
        return FALSE;
    EndDialog(dialog, id);
    return TRUE;
}

INT_PTR aboutDialogProc(HWND dialog, AboutDialogState& state, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        return onCommand(dialog, LOWORD(wParam));
    case WM_NOTIFY:
        return onNotify(dialog, reinterpret_cast<const NMHDR*>(lParam));
    case WM_INITDIALOG:
        return onInitDialog(dialog, state);
    case WM_DPICHANGED:
        return onDialogScaleChanged(dialog, lParam, aboutIcons, state.icons);
    default:
        return FALSE;
    }
}

} // namespace

INT_PTR runAboutDialog(HWND owner)
{
    AboutDialogState state;
    return DialogBoxParamA(app.instance, MAKEINTRESOURCEA(IDD_ABOUT), owner, guardedDialogProc<statefulDialogProc<AboutDialogState, aboutDialogProc>>,
                           reinterpret_cast<LPARAM>(&state));
}
