// Process entry: prepares the process-wide values, runs the main dialog and
// releases what start-up acquired, in a fixed order.
#include "base/process.h"
#include "base/sound.h"
#include "base/owned_handle.h"
#include "base/system_library.h"
#include "base/version_resource.h"
#include "resource.h"
#include "settings/settings.h"
#include "ui/main/main_dialog.h"

namespace {

// Desktop composition is optional: older systems and Wine may lack it.
void loadDesktopComposition()
{
    app.dwmapiModule.reset(loadSystemLibrary("dwmapi.dll"));
    if (!app.dwmapiModule) {
        app.dwmIsCompositionEnabled = nullptr;
        app.dwmGetWindowAttribute = nullptr;
        return;
    }
    app.dwmIsCompositionEnabled = procAddress<DwmIsCompositionEnabledFn>(app.dwmapiModule.get(), "DwmIsCompositionEnabled");
    app.dwmGetWindowAttribute = procAddress<DwmGetWindowAttributeFn>(app.dwmapiModule.get(), "DwmGetWindowAttribute");
}

bool readPaths()
{
    DWORD length = GetModuleFileNameA(nullptr, app.modulePath, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return false;
    char current[MAX_PATH];
    length = GetCurrentDirectoryA(MAX_PATH, current);
    if (length == 0 || length >= MAX_PATH)
        return false;
    length = GetFullPathNameA(current, MAX_PATH, app.startDirectory, nullptr);
    return length != 0 && length < MAX_PATH;
}

bool readProgramVersion()
{
    ZeroMemory(app.programVersion, sizeof app.programVersion);
    return readOwnVersion(app.instance, app.programVersion);
}

// The dialogs ask for "Segoe UI"; the embedded copy makes that face available
// to this process alone. A missing resource is tolerated, a refused font is not.
bool registerPrivateFont()
{
    HRSRC resource = FindResourceA(app.instance, "SegoeUI.ttf", "PRIVATE_FONT");
    if (resource == nullptr)
        return true;
    const DWORD size = SizeofResource(app.instance, resource);
    HGLOBAL loaded = size != 0 ? LoadResource(app.instance, resource) : nullptr;
    void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (data == nullptr)
        return true;
    DWORD fontCount = 0;
    app.privateFontHandle.reset(AddFontMemResourceEx(data, size, nullptr, &fontCount));
    return static_cast<bool>(app.privateFontHandle);
}

bool prepare()
{
    loadDesktopComposition();
    if (!readPaths() || !readProgramVersion())
        return false;
    formatSettingsKeyPath(app.settingsKeyPath, sizeof app.settingsKeyPath, app.programVersion[0]);
    if (!registerPrivateFont())
        return false;
    app.smartCursor = LoadCursorA(app.instance, MAKEINTRESOURCEA(IDCUR_SMART));
    return app.smartCursor != nullptr;
}

void shutdown()
{
    app.privateFontHandle.reset();
    app.com.stop();
    app.comdlg32Module.reset();
    // No sound may still be playing from the library that goes.
    stopAllSounds();
    app.winmmModule.reset();
    app.dwmIsCompositionEnabled = nullptr;
    app.dwmGetWindowAttribute = nullptr;
    app.dwmapiModule.reset();
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    restrictLibrarySearch();
    app.instance = instance;
    if (prepare()) {
        if (runMainDialog() == -1)
            MessageBeep(MB_ICONHAND);
    }
    shutdown();
    return 0;
}
