// The in-place timer name editor and the timer panel's context menu.
//
// The editor is a borderless popup owned by the main dialog, holding one edit
// control. It lives until that edit loses the keyboard focus, for whatever
// reason, and every loss of focus commits: Enter and Escape only move the
// focus to the popup itself (Escape after putting the stored name back).
#include "ui/name_editor.h"

#include "base/app.h"
#include "base/callback_boundary.h"
#include "base/display_scale.h"
#include "base/display_scale_win.h"
#include "base/owned_handle.h"
#include "base/strings.h"
#include "resource.h"
#include "settings/settings.h"
#include "timers/countdown.h"
#include "timers/panels.h"
#include "ui/alerts.h"
#include "ui/countdown_win.h"
#include "ui/menu_bitmap.h"
#include "ui/popup_menu.h"
#include "ui/timer_panel.h"
#include "ui/title_band.h"

#include <cstdint>
#include <new>
#include <string>

namespace {

const char editorClassName[] = "Kelvaro_ModifyTimerLabelTinyWnd";
const int nameMaxChars = static_cast<int>(labelSize) - 1;

bool editorClassRegistered = false;

// The record handed to CreateWindowExA until the window claims it in
// WM_NCCREATE; if the creation fails before that, openNameEditor frees it.
NameEditRequest* unclaimedRequest = nullptr;

LRESULT CALLBACK editorWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

bool registerEditorClass()
{
    if (editorClassRegistered)
        return true;
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_NOCLOSE;
    windowClass.lpfnWndProc = guardedWindowProc<editorWindowProc>;
    windowClass.hInstance = app.instance;
    windowClass.lpszClassName = editorClassName;
    editorClassRegistered = RegisterClassExA(&windowClass) != 0;
    return editorClassRegistered;
}

NameEditRequest* requestOf(HWND window)
{
    return reinterpret_cast<NameEditRequest*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

// Edit control subclass: Enter and Escape end the edit by taking the focus
// away from it, which commits through EN_KILLFOCUS.
LRESULT CALLBACK nameEditSubclassProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam)
{
    if ((message == WM_KEYDOWN || message == WM_SYSKEYDOWN) && (wParam == VK_RETURN || wParam == VK_ESCAPE)) {
        const HWND editor = GetParent(edit);
        SendMessageA(editor, wParam == VK_RETURN ? WM_NAME_EDIT_ENTER : WM_NAME_EDIT_ESCAPE, 0, 0);
        SetFocus(editor);
        return 0;
    }
    return callPreviousProc(edit, message, wParam, lParam);
}

LRESULT onEditorNcCreate(HWND window, WPARAM wParam, LPARAM lParam)
{
    const CREATESTRUCTA* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    NameEditRequest* request = static_cast<NameEditRequest*>(create->lpCreateParams);
    if (request == nullptr)
        return FALSE;
    unclaimedRequest = nullptr;
    request->editWindow = nullptr;
    request->font.reset();
    request->enterPressed = false;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(request));
    return DefWindowProcA(window, WM_NCCREATE, wParam, lParam);
}

// 8 points at the resolution of the editor's monitor, in the dialogs' face.
HFONT createEditorFont(HWND window)
{
    LOGFONTA logFont = {};
    {
        // A window without a device context gets no editor.
        const WindowDc dc(window, GetDC(window));
        if (!dc)
            return nullptr;
        logFont.lfHeight = fontHeightForDpi(8, windowDpi(window));
    }
    logFont.lfWeight = FW_NORMAL;
    logFont.lfQuality = CLEARTYPE_QUALITY;
    lstrcpynA(logFont.lfFaceName, "Segoe UI", LF_FACESIZE);
    return CreateFontIndirectA(&logFont);
}

HWND createNameEdit(HWND window, const NameEditRequest& request)
{
    const HWND edit = CreateWindowExA(0, "Edit", settings.timers[request.index].label,
                                      WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP | ES_AUTOHSCROLL,
                                      0, 0, 1, 1, window, nullptr, app.instance, nullptr);
    if (edit == nullptr)
        return nullptr;
    SetWindowLongPtrA(edit, GWLP_ID, IDC_NAME_EDIT);
    subclassControl(edit, guardedSubclassProc<nameEditSubclassProc>);
    SendMessageA(edit, WM_SETFONT, reinterpret_cast<WPARAM>(request.font.get()), FALSE);
    SendMessageA(edit, EM_LIMITTEXT, nameMaxChars, 0);
    return edit;
}

// The metrics of the font the edit control actually uses.
bool readEditTextMetrics(HWND edit, TEXTMETRICA& metrics)
{
    const HFONT font = reinterpret_cast<HFONT>(SendMessageA(edit, WM_GETFONT, 0, 0));
    if (font == nullptr)
        return false;
    const WindowDc dc(edit, GetWindowDC(edit));
    if (!dc)
        return false;
    const HGDIOBJ previous = SelectObject(dc.get(), font);
    const bool read = GetTextMetricsA(dc.get(), &metrics) != FALSE;
    SelectObject(dc.get(), previous);
    return read;
}

// One line of text high, framed by two pixels at 100 % (more on a scaled
// monitor), where the window was created.
void placeEditor(HWND window, HWND edit, const TEXTMETRICA& metrics)
{
    RECT rect = {};
    GetWindowRect(window, &rect);
    rect.bottom = rect.top + metrics.tmHeight;
    const int margin = metrics.tmAveCharWidth / 2;
    SendMessageA(edit, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(margin, margin));
    const int textWidth = rect.right - rect.left;
    const int frame = scaleForDpi(2, windowDpi(window));
    InflateRect(&rect, frame, frame);
    SetWindowPos(window, HWND_TOPMOST, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                 SWP_NOOWNERZORDER | SWP_NOACTIVATE);
    SetWindowPos(edit, nullptr, frame, frame, textWidth, metrics.tmHeight,
                 SWP_NOOWNERZORDER | SWP_NOACTIVATE | SWP_NOZORDER);
}

// -1 refuses the window; WM_NCDESTROY then frees what was made here.
LRESULT onEditorCreate(HWND window)
{
    NameEditRequest* request = requestOf(window);
    request->font.reset(createEditorFont(window));
    if (!request->font)
        return -1;
    request->editWindow = createNameEdit(window, *request);
    if (request->editWindow == nullptr)
        return -1;
    TEXTMETRICA metrics = {};
    if (!readEditTextMetrics(request->editWindow, metrics))
        return -1;
    placeEditor(window, request->editWindow, metrics);
    // The panel shows no caption while its name is being edited.
    SetDlgItemTextA(request->mainDialog, panels[request->index].groupBox, "");
    ShowWindow(window, SW_SHOW);
    SetFocus(request->editWindow);
    return 0;
}

LRESULT onEditorPaint(HWND window)
{
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(window, &paint);
    if (dc == nullptr)
        return 0;
    RECT rect = {};
    GetClientRect(window, &rect);
    // A one-pixel line at 100 %, as many nested lines as the scale asks.
    const int lines = scaleForDpi(1, windowDpi(window));
    const OwnedPen pen(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_WINDOWTEXT)));
    const HGDIOBJ previous = pen ? SelectObject(dc, pen.get()) : nullptr;
    for (int line = 0; line < lines; ++line) {
        if (pen) {
            MoveToEx(dc, rect.left, rect.top, nullptr);
            LineTo(dc, rect.right - 1, rect.top);
            LineTo(dc, rect.right - 1, rect.bottom - 1);
            LineTo(dc, rect.left, rect.bottom - 1);
            LineTo(dc, rect.left, rect.top);
        }
        InflateRect(&rect, -1, -1);
    }
    if (pen)
        SelectObject(dc, previous);
    FillRect(dc, &rect, GetSysColorBrush(COLOR_BTNFACE));
    EndPaint(window, &paint);
    return 0;
}

LRESULT onEditorCtlColorEdit(HWND window, HDC dc, HWND control)
{
    const NameEditRequest* request = requestOf(window);
    if (control == nullptr || control != request->editWindow)
        return 0;
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    SetBkMode(dc, OPAQUE);
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
}

// Stores the typed name (trimmed, or the default when empty), hands it to the
// main dialog and closes the editor.
void commitName(HWND window)
{
    NameEditRequest* request = requestOf(window);
    // A loss of focus while the window is already going away must not commit twice.
    if (request->editWindow == nullptr)
        return;
    const std::string typed = windowText(request->editWindow);
    request->editWindow = nullptr;
    char name[labelSize];
    storeTypedTimerName(typed.c_str(), defaultTimerNameId(request->index), name, sizeof name);
    setTimerName(request->index, name);
    SendMessageA(request->mainDialog, panels[request->index].timeUpCommand, 0, reinterpret_cast<LPARAM>(request));
    DestroyWindow(window);
}

LRESULT onEditorCommand(HWND window, WPARAM wParam, LPARAM lParam)
{
    const int id = LOWORD(wParam);
    const int code = HIWORD(wParam);
    if (id == IDC_NAME_EDIT && code == EN_SETFOCUS) {
        SendMessageA(reinterpret_cast<HWND>(lParam), EM_SETSEL, 0, -1);
        return DefWindowProcA(window, WM_COMMAND, wParam, lParam);
    }
    if (id == IDC_NAME_EDIT && code == EN_KILLFOCUS) {
        SendMessageA(window, WM_COMMAND, IDOK, 0);
        return 0;
    }
    if (id == IDOK) {
        commitName(window);
        return 0;
    }
    return DefWindowProcA(window, WM_COMMAND, wParam, lParam);
}

LRESULT onEditorEscape(HWND window)
{
    const NameEditRequest* request = requestOf(window);
    if (request->editWindow != nullptr)
        SetWindowTextA(request->editWindow, settings.timers[request->index].label);
    return 0;
}

LRESULT onEditorNcDestroy(HWND window, WPARAM wParam, LPARAM lParam)
{
    NameEditRequest* request = requestOf(window);
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    delete request;
    return DefWindowProcA(window, WM_NCDESTROY, wParam, lParam);
}

LRESULT CALLBACK editorWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE)
        return onEditorNcCreate(window, wParam, lParam);
    if (requestOf(window) == nullptr)
        return DefWindowProcA(window, message, wParam, lParam);
    switch (message) {
    case WM_CREATE:
        return onEditorCreate(window);
    case WM_PAINT:
        return onEditorPaint(window);
    case WM_CTLCOLOREDIT:
        return onEditorCtlColorEdit(window, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_COMMAND:
        return onEditorCommand(window, wParam, lParam);
    case WM_NAME_EDIT_ENTER:
        requestOf(window)->enterPressed = true;
        return 0;
    case WM_NAME_EDIT_ESCAPE:
        return onEditorEscape(window);
    case WM_DPICHANGED:
        // The panel below is laid out anew for the other scale: the editor,
        // placed once over its caption, ends as if the focus had left it.
        SendMessageA(window, WM_COMMAND, IDOK, 0);
        return 0;
    case WM_NCDESTROY:
        return onEditorNcDestroy(window, wParam, lParam);
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

// The pause entry names what it does to the timer now.
UINT pauseCommandOf(const TimerRuntime& runtime)
{
    return runtime.paused ? IDM_RESUME : IDM_PAUSE;
}

// The panel context menu's entries, in order; false when one cannot be added.
bool appendPanelMenuEntries(HMENU menu, int index)
{
    char text[128];
    loadString(IDM_MODIFY_NAME, text, sizeof text);
    if (!AppendMenuA(menu, MF_STRING, IDM_MODIFY_NAME, text))
        return false;

    const bool isDefault = isDefaultTimerName(settings.timers[index].label, defaultTimerNameId(index));
    loadString(IDM_RESET_NAME, text, sizeof text);
    if (!AppendMenuA(menu, MF_STRING | (isDefault ? MF_GRAYED | MF_DISABLED : 0), IDM_RESET_NAME, text))
        return false;

    const TimerRuntime& runtime = timerRuntime[index];
    if (runtime.running) {
        loadString(pauseCommandOf(runtime), text, sizeof text);
        if (!AppendMenuA(menu, MF_STRING, pauseCommandOf(runtime), text))
            return false;
    }

    const bool iconUp = runtime.altIconShown;
    if (settings.useAltIconOnTimerUp || iconUp) {
        loadString(IDM_RESET_ICON, text, sizeof text);
        if (!AppendMenuA(menu, MF_STRING | (iconUp ? 0 : MF_GRAYED | MF_DISABLED), IDM_RESET_ICON, text))
            return false;
    }

    // Offered in every state, so that a timer can be set to repeat before it starts.
    const bool repeat = settings.timers[index].repeat;
    loadString(IDM_REPEAT, text, sizeof text);
    if (!AppendMenuA(menu, MF_STRING | (repeat ? MF_CHECKED : MF_UNCHECKED), IDM_REPEAT, text))
        return false;

    if (!AppendMenuA(menu, MF_SEPARATOR, 0, nullptr))
        return false;
    loadString(IDM_CLOSE_MENU, text, sizeof text);
    return AppendMenuA(menu, MF_STRING, IDM_CLOSE_MENU, text) != FALSE;
}

int trackPanelMenu(HWND mainDialog, POINT clientPoint, int index)
{
    POINT screenPoint = clientPoint;
    ClientToScreen(mainDialog, &screenPoint);
    const MenuLook look = menuLookFor(mainDialog);
    OwnedMenu menu(CreatePopupMenu());
    if (!menu)
        return -1;
    const OwnedBitmap renameBitmap(loadMenuBitmap(IDI_RENAME, look));
    const OwnedBitmap resetBitmap(loadMenuBitmap(IDI_RESET, look));
    // Only the entries shown get a bitmap. The repeat entry's stands in for
    // its check mark: the repeat arrows while off, a check while on.
    const TimerRuntime& runtime = timerRuntime[index];
    const OwnedBitmap pauseBitmap(runtime.running ? loadMenuBitmap(runtime.paused ? IDI_PLAY : IDI_PAUSE, look) : nullptr);
    const OwnedBitmap repeatBitmap(loadMenuBitmap(settings.timers[index].repeat ? IDI_OK : IDI_REPEAT, look));
    if (!appendPanelMenuEntries(menu.get(), index))
        return -1;
    attachMenuBitmap(menu.get(), IDM_MODIFY_NAME, MF_BYCOMMAND, renameBitmap.get());
    attachMenuBitmap(menu.get(), IDM_RESET_NAME, MF_BYCOMMAND, resetBitmap.get());
    attachMenuBitmap(menu.get(), pauseCommandOf(runtime), MF_BYCOMMAND, pauseBitmap.get());
    attachMenuBitmap(menu.get(), IDM_REPEAT, MF_BYCOMMAND, repeatBitmap.get());
    return trackAndDestroyMenu(menu, screenPoint, mainDialog);
}

} // namespace

bool openNameEditor(HWND mainDialog, int index)
{
    if (!registerEditorClass())
        return false;
    NameEditRequest* request = new (std::nothrow) NameEditRequest{};
    if (request == nullptr)
        return false;
    request->mainDialog = mainDialog;
    request->index = index;

    const BandRect band = titleBandOfPanel(mainDialog, index);
    RECT rect = {band.left, band.top, band.right, band.bottom};
    MapWindowPoints(mainDialog, nullptr, reinterpret_cast<POINT*>(&rect), 2);

    unclaimedRequest = request;
    const HWND editor = CreateWindowExA(0, editorClassName, "", WS_POPUP, rect.left, rect.top,
                                        rect.right - rect.left, rect.bottom - rect.top,
                                        mainDialog, nullptr, app.instance, request);
    // Still unclaimed only when the window never saw its first message.
    delete unclaimedRequest;
    unclaimedRequest = nullptr;
    return editor != nullptr;
}

int showTimerPanelMenu(HWND mainDialog, POINT clientPoint, int index)
{
    const int command = trackPanelMenu(mainDialog, clientPoint, index);
    switch (command) {
    case IDM_MODIFY_NAME:
        moveDialogFocus(mainDialog, IDC_MENU);
        openNameEditor(mainDialog, index);
        break;
    case IDM_RESET_NAME:
        restoreDefaultTimerName(mainDialog, index);
        break;
    case IDM_RESET_ICON:
        if (timerRuntime[index].altIconShown)
            resetTimeUpIcon(mainDialog, index);
        break;
    case IDM_PAUSE:
    case IDM_RESUME:
        togglePause(mainDialog, index);
        break;
    case IDM_REPEAT:
        setTimerRepeat(index, !settings.timers[index].repeat);
        break;
    default:
        break;
    }
    return command;
}

bool restoreDefaultTimerName(HWND mainDialog, int index)
{
    const unsigned defaultNameId = defaultTimerNameId(index);
    if (isDefaultTimerName(settings.timers[index].label, defaultNameId))
        return false;
    char name[labelSize];
    loadString(defaultNameId, name, sizeof name);
    setTimerName(index, name);
    showTimerName(mainDialog, index);
    return true;
}
