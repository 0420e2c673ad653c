// Process entry: prepares the process-wide values, runs the main dialog and
// releases what start-up acquired, in a fixed order.
#include "base/process.h"
#include "base/sound.h"
#include "base/owned_handle.h"
#include "base/system_library.h"
#include "resource.h"
#include "settings/settings.h"
#include "ui/main/main_dialog.h"

#include <cstdlib>

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

struct VersionFunctions {
    decltype(&GetFileVersionInfoSizeA) size;
    decltype(&GetFileVersionInfoA) read;
    decltype(&VerQueryValueA) query;
};

bool readVersionBlock(const VersionFunctions& version)
{
    DWORD ignored = 0;
    const DWORD size = version.size(app.modulePath, &ignored);
    if (size == 0)
        return false;
    const OwnedMemory block(std::malloc(size));
    if (!block)
        return false;
    VS_FIXEDFILEINFO* info = nullptr;
    UINT infoSize = 0;
    if (!version.read(app.modulePath, 0, size, block.get())
        || !version.query(block.get(), "\\", reinterpret_cast<void**>(&info), &infoSize) || info == nullptr
        || infoSize < sizeof(VS_FIXEDFILEINFO))
        return false;
    app.programVersion[0] = info->dwFileVersionMS;
    app.programVersion[1] = info->dwFileVersionLS;
    app.programVersion[2] = info->dwProductVersionMS;
    app.programVersion[3] = info->dwProductVersionLS;
    return true;
}

// version.dll is not one of the libraries Windows always takes from its own
// folder, so it is no import: it is loaded from there for this one read.
bool readProgramVersion()
{
    ZeroMemory(app.programVersion, sizeof app.programVersion);
    const OwnedModule library(loadSystemLibrary("version.dll"));
    if (!library)
        return false;
    const VersionFunctions version = {
        procAddress<decltype(&GetFileVersionInfoSizeA)>(library.get(), "GetFileVersionInfoSizeA"),
        procAddress<decltype(&GetFileVersionInfoA)>(library.get(), "GetFileVersionInfoA"),
        procAddress<decltype(&VerQueryValueA)>(library.get(), "VerQueryValueA"),
    };
    return version.size != nullptr && version.read != nullptr && version.query != nullptr && readVersionBlock(version);
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
