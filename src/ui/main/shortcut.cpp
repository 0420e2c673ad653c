// The desktop shortcut, written through the shell's link object. COM is
// started here on first use and stopped at shutdown.
#include "ui/main/shortcut.h"

#include "base/process.h"
#include "base/sound.h"
#include "base/owned_handle.h"
#include "base/strings.h"
#include "resource.h"
#include "base/directory_rules.h"

#include <objbase.h>
#include <shlobj.h>
#include <shlwapi.h>

static_assert(sizeof(long) == sizeof(HRESULT), "results carry COM codes");

namespace {

constexpr int iconIndexOfProgram = -IDI_APP;   // a negative index names the icon resource

bool pathExists(const char* path)
{
    return PathFileExistsA(path) != FALSE;
}

bool pathIsDirectory(const char* path)
{
    return PathIsDirectoryA(path) != FALSE;
}

bool removeFileSpec(char* path)
{
    return PathRemoveFileSpecA(path) != FALSE;
}

bool createOneDirectory(const char* path)
{
    return CreateDirectoryA(path, nullptr) != FALSE;
}

const DirectoryOperations windowsDirectories = {pathExists, pathIsDirectory, removeFileSpec, createOneDirectory};

HRESULT describeLink(IShellLinkA* link, const char* description)
{
    HRESULT result = link->SetPath(app.modulePath);
    if (SUCCEEDED(result))
        result = link->SetWorkingDirectory(app.startDirectory);
    if (SUCCEEDED(result) && description != nullptr)
        result = link->SetDescription(description);
    if (SUCCEEDED(result))
        result = link->SetIconLocation(app.modulePath, iconIndexOfProgram);
    if (SUCCEEDED(result))
        result = link->SetShowCmd(SW_SHOWNORMAL);
    return result;
}

HRESULT saveLink(IPersistFile* file, const char* path)
{
    WCHAR widePath[MAX_PATH];
    if (MultiByteToWideChar(CP_ACP, 0, path, -1, widePath, MAX_PATH) == 0)
        return -1;
    return file->Save(widePath, TRUE);
}

// A read-only shortcut of the same name is made writable so it can be replaced.
bool makeWritable(const char* path)
{
    const DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_READONLY) == 0)
        return true;
    return SetFileAttributesA(path, attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY)) != FALSE;
}

// True when the folder exists afterwards, creating missing levels.
bool ensureDirectoryExists(const char* path)
{
    return ensureDirectoryExists(path, windowsDirectories);
}

// Saves a shell link to the program at path; no description when it is null.
// The COM result of the save, or a negative code.
long writeShellLink(const char* path, const char* description)
{
    HRESULT result = app.com.start();
    if (result != S_OK)
        return result;
    ComRef<IShellLinkA> link;
    result = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              reinterpret_cast<void**>(link.receive()));
    if (FAILED(result))
        return result;
    ComRef<IPersistFile> file;
    result = link.get()->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.receive()));
    if (FAILED(result))
        return result;
    result = describeLink(link.get(), description);
    if (SUCCEEDED(result))
        result = saveLink(file.get(), path);
    return result;
}

// Writes fileName + ".lnk" into the current user's desktop folder, replacing
// a read-only one. Negative on failure: -1 or the failing COM result.
long createShortcutFile(const char* fileName, const char* description)
{
    char path[MAX_PATH];
    if (SHGetFolderPathA(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, SHGFP_TYPE_CURRENT, path) != S_OK)
        return -1;
    if (PathIsRelativeA(app.modulePath))
        return -1;
    if (!PathAppendA(path, "") || !ensureDirectoryExists(path))
        return -1;
    if (!PathAppendA(path, fileName) || !PathAddExtensionA(path, ".lnk"))
        return -1;
    if (!makeWritable(path))
        return -1;
    return writeShellLink(path, description);
}

} // namespace

bool createDesktopShortcut()
{
    char fileName[MAX_PATH];
    char description[MAX_PATH];
    const bool created = loadString(IDS_SHORTCUT_NAME, fileName, sizeof fileName) > 0
                         && loadString(IDS_SHORTCUT_DESCRIPTION, description, sizeof description) > 0
                         && app.modulePath[0] != '\0' && createShortcutFile(fileName, description) >= 0;
    playResourceSound(created ? IDW_SHORTCUT_DONE : IDW_ERROR);
    return created;
}
