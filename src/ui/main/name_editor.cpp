// The in-place timer name editor.
//
// The editor is a borderless popup owned by the main dialog, holding one edit
// control. It lives until that edit loses the keyboard focus, for whatever
// reason, and every loss of focus commits: Enter and Escape only move the
// focus to the popup itself (Escape after putting the stored name back).
#include "ui/main/name_editor.h"

#include "base/dialog_helpers.h"
#include "base/process.h"
#include "base/subclass.h"
#include "base/callback_boundary.h"
#include "base/display_scale.h"
#include "base/display_scale_win.h"
#include "base/owned_handle.h"
#include "base/strings.h"
#include "resource.h"
#include "settings/settings.h"
#include "ui/main/main_state.h"
#include "ui/main/panels.h"
#include "ui/main/timer_panel.h"
#include "base/geometry.h"
#include "settings/settings_rules.h"

#include <string>

namespace {

const char editorClassName[] = "Kelvaro_ModifyTimerLabelTinyWnd";
const int nameMaxChars = static_cast<int>(labelSize) - 1;

LRESULT CALLBACK editorWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Registered with the first editor; the class stays for the rest of the run.
bool registerEditorClass()
{
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    if (GetClassInfoExA(app.instance, editorClassName, &windowClass))
        return true;
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_NOCLOSE;
    windowClass.lpfnWndProc = guardedWindowProc<editorWindowProc>;
    windowClass.hInstance = app.instance;
    windowClass.lpszClassName = editorClassName;
    return RegisterClassExA(&windowClass) != 0;
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
    request->editorWindow = window;
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
    const SelectedObject selected(dc.get(), font);
    return GetTextMetricsA(dc.get(), &metrics) != FALSE;
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
    {
        const OwnedPen pen(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_WINDOWTEXT)));
        const SelectedObject selected(dc, pen.get());
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
    }
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
    char defaultName[labelSize];
    loadString(defaultTimerNameIds[request->index], defaultName, sizeof defaultName);
    setTimerName(request->index, tidyName(typed.c_str(), defaultName).c_str());
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
    request->editorWindow = nullptr;
    request->editWindow = nullptr;
    request->font.reset();
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

} // namespace

bool openNameEditor(MainDialogState& state, int index)
{
    NameEditRequest* request = &state.nameEdit;
    // One editor at a time: moving the focus away commits an open one first.
    if (request->editorWindow != nullptr || !registerEditorClass())
        return false;
    const HWND mainDialog = state.dialog;
    request->mainDialog = mainDialog;
    request->index = index;

    const Rect32 band = titleBandOfPanel(mainDialog, index);
    RECT rect = {band.left, band.top, band.right, band.bottom};
    MapWindowPoints(mainDialog, nullptr, reinterpret_cast<POINT*>(&rect), 2);

    return CreateWindowExA(0, editorClassName, "", WS_POPUP, rect.left, rect.top, rect.right - rect.left,
                           rect.bottom - rect.top, mainDialog, nullptr, app.instance, request) != nullptr;
}

bool restoreDefaultTimerName(HWND mainDialog, int index)
{
    const unsigned defaultNameId = defaultTimerNameIds[index];
    if (isDefaultTimerName(settings.timers[index].label, defaultNameId))
        return false;
    char name[labelSize];
    loadString(defaultNameId, name, sizeof name);
    setTimerName(index, name);
    showTimerName(mainDialog, index);
    return true;
}
