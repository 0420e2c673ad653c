// Test driver: a console program that the end-to-end harness starts inside
// the Wine prefix of one test and talks to one line at a time over
// stdin/stdout. It launches the program under test, finds and inspects its
// windows, sends and posts messages, edits the registry and reads pixels.
//
// Request: a command word and arguments separated by single spaces. Numbers
// are decimal or 0x-prefixed hex and may be negative; texts are hex-encoded
// bytes in the ANSI code page, "-" standing for the empty text.
// Reply:   "ok" and fields, or "err" and a message, on one line.
#include <windows.h>
#include <ole2.h>
#include <oleacc.h>
#include <sddl.h>
#include <tlhelp32.h>

#include "line_protocol.h"

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

// Long enough for a slow machine, short enough that a hung program fails a
// test instead of hanging it.
const UINT sendTimeoutMs = 15000;

struct ArgReader {
    const Args& args;
    size_t next;
    bool ok;
};

struct Launched {
    HANDLE process;
    DWORD threadId;
    ULONG_PTR counterBase;   // where objcount.dll sits in the process, 0 until loaded
};

struct IconPixels {
    int width;
    int height;
    std::vector<DWORD> color;
    std::vector<bool> opaque;
};

struct Capture {
    int width;
    int height;
    std::vector<DWORD> pixels;
};

struct RegPath {
    HKEY root;
    std::string subKey;
};

std::map<DWORD, Launched> launched;
std::map<std::string, HMODULE> dataModules;

// ---------------------------------------------------------------- encoding

std::wstring widen(const std::string& text)
{
    if (text.empty())
        return std::wstring();
    const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &wide[0], length);
    return wide;
}

std::string narrow(const wchar_t* text, int length)
{
    if (length <= 0)
        return std::string();
    const int size = WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, length, &out[0], size, nullptr, nullptr);
    return out;
}

unsigned long long handleNumber(const void* handle)
{
    return static_cast<unsigned long long>(reinterpret_cast<ULONG_PTR>(handle));
}

// ---------------------------------------------------------------- replies

void addNumber(Reply& reply, long long value)
{
    add(reply, std::to_string(value));
}

void addHandleField(Reply& reply, const char* key, const void* handle)
{
    add(reply, std::string(key) + "=" + std::to_string(handleNumber(handle)));
}

void addTextField(Reply& reply, const char* key, const std::string& text)
{
    add(reply, std::string(key) + "=" + toHex(text));
}

void failWithError(Reply& reply, const char* what, DWORD error)
{
    fail(reply, std::string(what) + " failed, error " + std::to_string(error));
}

// ---------------------------------------------------------------- arguments

long long readNumber(ArgReader& reader)
{
    long long value = 0;
    if (reader.next >= reader.args.size() || !parseNumber(reader.args[reader.next], value))
        reader.ok = false;
    ++reader.next;
    return value;
}

std::string readText(ArgReader& reader)
{
    std::string value;
    if (reader.next >= reader.args.size() || !fromHex(reader.args[reader.next], value))
        reader.ok = false;
    ++reader.next;
    return value;
}

std::string readWord(ArgReader& reader)
{
    if (reader.next >= reader.args.size()) {
        reader.ok = false;
        return std::string();
    }
    return reader.args[reader.next++];
}

HWND readWindow(ArgReader& reader)
{
    return reinterpret_cast<HWND>(static_cast<ULONG_PTR>(readNumber(reader)));
}

bool hasMore(const ArgReader& reader)
{
    return reader.next < reader.args.size();
}

// Every handler ends its argument reading with this check.
bool argumentsValid(const ArgReader& reader, Reply& reply)
{
    if (reader.ok && reader.next == reader.args.size())
        return true;
    fail(reply, "bad arguments");
    return false;
}

bool validWindow(HWND window, Reply& reply)
{
    if (IsWindow(window))
        return true;
    fail(reply, "no such window " + std::to_string(handleNumber(window)));
    return false;
}

// ---------------------------------------------------------------- messages

bool sendA(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result, Reply& reply)
{
    DWORD_PTR value = 0;
    if (SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, sendTimeoutMs, &value) == 0) {
        failWithError(reply, "SendMessageTimeout", GetLastError());
        return false;
    }
    result = static_cast<LRESULT>(value);
    return true;
}

bool sendW(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result, Reply& reply)
{
    DWORD_PTR value = 0;
    if (SendMessageTimeoutW(window, message, wParam, lParam, SMTO_NORMAL, sendTimeoutMs, &value) == 0) {
        failWithError(reply, "SendMessageTimeout", GetLastError());
        return false;
    }
    result = static_cast<LRESULT>(value);
    return true;
}

bool readWindowText(HWND window, std::string& text, Reply& reply)
{
    LRESULT length = 0;
    if (!sendA(window, WM_GETTEXTLENGTH, 0, 0, length, reply))
        return false;
    // The length may be counted in UTF-16 units on the other side: be generous.
    std::vector<char> buffer(static_cast<size_t>(length) * 2 + 16, '\0');
    LRESULT copied = 0;
    if (!sendA(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()), copied, reply))
        return false;
    text.assign(buffer.data(), static_cast<size_t>(copied > 0 ? copied : 0));
    return true;
}

bool isExtendedKey(UINT vk)
{
    switch (vk) {
    case VK_INSERT: case VK_DELETE: case VK_HOME: case VK_END: case VK_PRIOR: case VK_NEXT:
    case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN: case VK_RCONTROL: case VK_RMENU:
    case VK_NUMLOCK: case VK_DIVIDE: case VK_SNAPSHOT:
        return true;
    default:
        return false;
    }
}

// The lParam a keyboard driver would give: repeat count 1, scan code,
// extended flag, context (Alt) flag, previous state and transition for up.
LPARAM keyLParam(UINT vk, bool up, bool alt)
{
    const UINT scan = MapVirtualKeyA(vk, MAPVK_VK_TO_VSC) & 0xFF;
    unsigned long value = 1u | (scan << 16);
    if (isExtendedKey(vk))
        value |= 1u << 24;
    if (alt)
        value |= 1u << 29;
    if (up)
        value |= (1u << 30) | (1u << 31);
    return static_cast<LPARAM>(static_cast<LONG>(value));
}

// ---------------------------------------------------------------- windows

struct WindowSearch {
    DWORD processId;
    std::vector<HWND> found;
};

BOOL CALLBACK collectTopLevel(HWND window, LPARAM context)
{
    WindowSearch* search = reinterpret_cast<WindowSearch*>(context);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (search->processId == 0 || processId == search->processId)
        search->found.push_back(window);
    return TRUE;
}

BOOL CALLBACK collectChild(HWND window, LPARAM context)
{
    reinterpret_cast<WindowSearch*>(context)->found.push_back(window);
    return TRUE;
}

std::string className(HWND window)
{
    char name[256] = "";
    const int length = GetClassNameA(window, name, sizeof name);
    return std::string(name, static_cast<size_t>(length > 0 ? length : 0));
}

// The caption as the window manager keeps it; no message reaches the window.
std::string storedText(HWND window)
{
    std::vector<char> buffer(4096, '\0');
    const int length = GetWindowTextA(window, buffer.data(), static_cast<int>(buffer.size()));
    return std::string(buffer.data(), static_cast<size_t>(length > 0 ? length : 0));
}

// hwnd,class,text,owner,parent,visible,enabled,thread,style,exstyle,id,pid
std::string windowRecord(HWND window)
{
    DWORD processId = 0;
    const DWORD threadId = GetWindowThreadProcessId(window, &processId);
    std::string record = std::to_string(handleNumber(window));
    record += "," + toHex(className(window));
    record += "," + toHex(storedText(window));
    record += "," + std::to_string(handleNumber(GetWindow(window, GW_OWNER)));
    record += "," + std::to_string(handleNumber(GetAncestor(window, GA_PARENT)));
    record += "," + std::to_string(IsWindowVisible(window) ? 1 : 0);
    record += "," + std::to_string(IsWindowEnabled(window) ? 1 : 0);
    record += "," + std::to_string(threadId);
    record += "," + std::to_string(static_cast<unsigned long>(GetWindowLongA(window, GWL_STYLE)));
    record += "," + std::to_string(static_cast<unsigned long>(GetWindowLongA(window, GWL_EXSTYLE)));
    record += "," + std::to_string(GetDlgCtrlID(window));
    record += "," + std::to_string(processId);
    return record;
}

// ---------------------------------------------------------------- icons and pixels

bool readIconPixels(HICON icon, IconPixels& out)
{
    ICONINFO info = {};
    if (!GetIconInfo(icon, &info))
        return false;
    bool ok = false;
    BITMAP shape = {};
    if (info.hbmColor != nullptr && GetObjectA(info.hbmColor, sizeof shape, &shape) != 0) {
        out.width = shape.bmWidth;
        out.height = shape.bmHeight;
        BITMAPINFO format = {};
        format.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        format.bmiHeader.biWidth = out.width;
        format.bmiHeader.biHeight = -out.height;
        format.bmiHeader.biPlanes = 1;
        format.bmiHeader.biBitCount = 32;
        format.bmiHeader.biCompression = BI_RGB;
        const size_t count = static_cast<size_t>(out.width) * static_cast<size_t>(out.height);
        out.color.assign(count, 0);
        std::vector<DWORD> mask(count, 0);
        HDC screen = GetDC(nullptr);
        ok = GetDIBits(screen, info.hbmColor, 0, out.height, out.color.data(), &format, DIB_RGB_COLORS) != 0
            && GetDIBits(screen, info.hbmMask, 0, out.height, mask.data(), &format, DIB_RGB_COLORS) != 0;
        ReleaseDC(nullptr, screen);
        bool hasAlpha = false;
        for (DWORD pixel : out.color)
            hasAlpha = hasAlpha || (pixel >> 24) != 0;
        // Only fully opaque pixels look the same on every background.
        out.opaque.assign(count, false);
        for (size_t i = 0; i < count; ++i)
            out.opaque[i] = hasAlpha ? (out.color[i] >> 24) == 0xFF : (mask[i] & 0xFFFFFF) == 0;
    }
    if (info.hbmColor != nullptr)
        DeleteObject(info.hbmColor);
    if (info.hbmMask != nullptr)
        DeleteObject(info.hbmMask);
    return ok;
}

// Reads what the screen shows in a rectangle: the program's icons cannot be
// read from another process under Wine, but their pixels on screen can.
bool captureScreen(const RECT& rect, Capture& out)
{
    out.width = rect.right - rect.left;
    out.height = rect.bottom - rect.top;
    if (out.width <= 0 || out.height <= 0)
        return false;
    BITMAPINFO format = {};
    format.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    format.bmiHeader.biWidth = out.width;
    format.bmiHeader.biHeight = -out.height;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(memory, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool ok = false;
    if (section != nullptr) {
        HGDIOBJ previous = SelectObject(memory, section);
        ok = BitBlt(memory, 0, 0, out.width, out.height, screen, rect.left, rect.top, SRCCOPY) != 0;
        GdiFlush();
        const DWORD* pixels = static_cast<const DWORD*>(bits);
        out.pixels.assign(pixels, pixels + static_cast<size_t>(out.width) * static_cast<size_t>(out.height));
        SelectObject(memory, previous);
        DeleteObject(section);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return ok;
}

int channelDifference(DWORD a, DWORD b)
{
    int total = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const int difference = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
        total += difference < 0 ? -difference : difference;
    }
    return total;
}

// Smallest mean difference per colour channel of the icon's opaque pixels in
// the first part columns of its middle part rows, over every place the icon
// fits inside the capture.
double bestIconScore(const IconPixels& icon, const Capture& capture, int part)
{
    const int firstRow = (icon.height - part) / 2;
    const auto counted = [&](int x, int y) {
        return x < part && y >= firstRow && y < firstRow + part && icon.opaque[static_cast<size_t>(y * icon.width + x)];
    };
    long long opaqueCount = 0;
    for (int y = 0; y < icon.height; ++y) {
        for (int x = 0; x < icon.width; ++x)
            opaqueCount += counted(x, y) ? 1 : 0;
    }
    if (opaqueCount == 0)
        return 1e9;
    long long best = -1;
    for (int top = 0; top + icon.height <= capture.height; ++top) {
        for (int left = 0; left + icon.width <= capture.width; ++left) {
            long long total = 0;
            for (int y = 0; y < icon.height && (best < 0 || total < best); ++y) {
                for (int x = 0; x < icon.width; ++x) {
                    const size_t at = static_cast<size_t>(y * icon.width + x);
                    if (counted(x, y))
                        total += channelDifference(icon.color[at],
                            capture.pixels[static_cast<size_t>((top + y) * capture.width + left + x)]);
                }
            }
            if (best < 0 || total < best)
                best = total;
        }
    }
    return best < 0 ? 1e9 : static_cast<double>(best) / static_cast<double>(opaqueCount * 3);
}

HMODULE dataModule(const std::string& path)
{
    const auto found = dataModules.find(path);
    if (found != dataModules.end())
        return found->second;
    HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (module != nullptr)
        dataModules[path] = module;
    return module;
}

// ---------------------------------------------------------------- registry

bool splitKeyPath(const std::string& path, RegPath& out)
{
    static const struct {
        const char* name;
        HKEY root;
    } roots[] = {
        {"HKCU", HKEY_CURRENT_USER}, {"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
        {"HKLM", HKEY_LOCAL_MACHINE}, {"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},
        {"HKCR", HKEY_CLASSES_ROOT}, {"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},
        {"HKU", HKEY_USERS}, {"HKEY_USERS", HKEY_USERS},
    };
    const size_t separator = path.find('\\');
    const std::string first = path.substr(0, separator);
    for (const auto& root : roots) {
        if (_stricmp(first.c_str(), root.name) == 0) {
            out.root = root.root;
            out.subKey = separator == std::string::npos ? std::string() : path.substr(separator + 1);
            return true;
        }
    }
    out.root = HKEY_CURRENT_USER;
    out.subKey = path;
    return !path.empty();
}

// A registry key path, "HKCU\\Software\\..." (without a root, under HKCU).
RegPath readKeyPath(ArgReader& reader)
{
    RegPath key = {};
    if (!splitKeyPath(readText(reader), key))
        reader.ok = false;
    return key;
}

bool wideMode(const std::string& mode)
{
    return mode == "w";
}

LONG queryValue(HKEY key, const std::string& name, bool wide, DWORD& type, std::string& data)
{
    const std::wstring wideName = widen(name);
    for (DWORD size = 256;;) {
        std::vector<BYTE> buffer(size + 2, 0);
        DWORD got = size;
        const LONG error = wide
            ? RegQueryValueExW(key, wideName.c_str(), nullptr, &type, buffer.data(), &got)
            : RegQueryValueExA(key, name.c_str(), nullptr, &type, buffer.data(), &got);
        if (error == ERROR_MORE_DATA) {
            size = got > size ? got : size * 2;
            continue;
        }
        if (error == ERROR_SUCCESS)
            data.assign(reinterpret_cast<const char*>(buffer.data()), got);
        return error;
    }
}

// One value by index: name and data grow until they fit.
LONG enumValue(HKEY key, DWORD index, bool wide, std::string& name, DWORD& type, std::string& data)
{
    for (DWORD nameSize = 256, dataSize = 1024;;) {
        std::vector<BYTE> buffer(dataSize + 2, 0);
        DWORD gotData = dataSize;
        DWORD gotName = nameSize;
        LONG error;
        if (wide) {
            std::vector<wchar_t> nameBuffer(nameSize + 1, L'\0');
            error = RegEnumValueW(key, index, nameBuffer.data(), &gotName, nullptr, &type, buffer.data(), &gotData);
            if (error == ERROR_SUCCESS)
                name = narrow(nameBuffer.data(), static_cast<int>(gotName));
        } else {
            std::vector<char> nameBuffer(nameSize + 1, '\0');
            error = RegEnumValueA(key, index, nameBuffer.data(), &gotName, nullptr, &type, buffer.data(), &gotData);
            if (error == ERROR_SUCCESS)
                name.assign(nameBuffer.data(), gotName);
        }
        if (error == ERROR_MORE_DATA) {
            nameSize *= 4;
            dataSize = gotData > dataSize ? gotData : dataSize * 4;
            if (nameSize > 65536)
                return error;
            continue;
        }
        if (error == ERROR_SUCCESS)
            data.assign(reinterpret_cast<const char*>(buffer.data()), gotData);
        return error;
    }
}

// ---------------------------------------------------------------- object counts

// Under Wine GetGuiResources fails (error 120) and GetProcessHandleCount
// says 0, so the counts come from where Wine keeps the objects: kernel
// handles from the system's handle list, GDI objects from the process's own
// GDI handle table, windows from the window manager, and menus and icons
// from inside the process (objcount.dll), where alone they can be seen.

const long long unknownCount = -1;
const DWORD remoteCallTimeoutMs = 15000;
const char counterExportName[] = "countObjects";
const ULONG_PTR countMenusKind = 1;   // the kinds objcount.dll counts
const ULONG_PTR countIconsKind = 2;

struct GdiCounts {
    long long total;
    long long dcs;
    long long bitmaps;
    long long brushes;
    long long pens;
    long long fonts;
    long long regions;
    long long palettes;
    long long other;
};

struct UserCounts {
    long long windows;
    long long menus;
    long long icons;
    DWORD error;   // why menus or icons are unknown
};

typedef LONG(WINAPI* QuerySystemInformation)(ULONG infoClass, PVOID buffer, ULONG size, PULONG needed);
typedef LONG(WINAPI* QueryInformationProcess)(HANDLE process, ULONG infoClass, PVOID buffer, ULONG size,
                                             PULONG needed);

const ULONG systemHandleInformation = 16;
const ULONG processBasicInformation = 0;
const LONG statusInfoLengthMismatch = static_cast<LONG>(0xC0000004L);

// The system's handle list (SYSTEM_HANDLE_INFORMATION): every handle of
// every process, with the id of the process that holds it.
struct SystemHandleEntry {
    ULONG ownerPid;
    BYTE objectType;
    BYTE handleFlags;
    USHORT handleValue;
    PVOID objectPointer;
    ULONG accessMask;
};

struct SystemHandleList {
    ULONG count;
    SystemHandleEntry handles[1];
};

struct ProcessBasics {
    LONG exitStatus;
    ULONG_PTR pebAddress;
    ULONG_PTR affinityMask;
    LONG basePriority;
    ULONG_PTR processId;
    ULONG_PTR parentProcessId;
};

// One slot of Wine's GDI handle table (GDI_HANDLE_ENTRY): a slot in use has a
// type; the top bit of extType marks the stock objects every process shares.
struct GdiTableEntry {
    unsigned long long object;
    ULONG owner;
    BYTE extType;
    BYTE generation;
    BYTE type;
    BYTE flags;
    unsigned long long userPointer;
};
static_assert(sizeof(GdiTableEntry) == 24, "the layout of Wine's GDI handle entry");

const size_t gdiTableSlots = 0x10000;
const size_t gdiTableChunk = 4096;
// GdiSharedHandleTable in the PEB of a process of the driver's own kind
// (the harness runs the driver built with the program under test).
const ULONG_PTR pebGdiTableOffset = sizeof(void*) == 8 ? 0xF8 : 0x94;
const BYTE gdiStockFlag = 0x80;

template <typename Function>
Function ntdllFunction(const char* name)
{
    const FARPROC function = GetProcAddress(GetModuleHandleA("ntdll.dll"), name);
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(function));
}

long long countKernelHandles(DWORD processId)
{
    const auto query = ntdllFunction<QuerySystemInformation>("NtQuerySystemInformation");
    if (query == nullptr)
        return unknownCount;
    for (ULONG size = 256 * 1024; size <= 64 * 1024 * 1024; size *= 2) {
        std::vector<BYTE> buffer(size, 0);
        ULONG needed = 0;
        const LONG status = query(systemHandleInformation, buffer.data(), size, &needed);
        if (status == statusInfoLengthMismatch)
            continue;
        if (status != 0)
            return unknownCount;
        const SystemHandleList* list = reinterpret_cast<const SystemHandleList*>(buffer.data());
        const size_t fits = (size - offsetof(SystemHandleList, handles)) / sizeof(SystemHandleEntry);
        long long count = 0;
        for (size_t index = 0; index < list->count && index < fits; ++index)
            count += list->handles[index].ownerPid == processId ? 1 : 0;
        return count;
    }
    return unknownCount;
}

void addGdiEntry(const GdiTableEntry& entry, GdiCounts& counts)
{
    if (entry.type == 0 || (entry.extType & gdiStockFlag) != 0)
        return;
    ++counts.total;
    switch (entry.extType & 0x7F) {
    case 0x01: case 0x21: case 0x41: case 0x66:   // DC, enhanced metafile DC, memory DC, metafile DC
        ++counts.dcs;
        break;
    case 0x04:
        ++counts.regions;
        break;
    case 0x08:
        ++counts.palettes;
        break;
    case 0x09:
        ++counts.bitmaps;
        break;
    case 0x0A:
        ++counts.fonts;
        break;
    case 0x10:
        ++counts.brushes;
        break;
    case 0x30: case 0x50:   // pen, extended pen
        ++counts.pens;
        break;
    default:   // metafiles, and the type-5 object Wine keeps beside each display DC
        ++counts.other;
        break;
    }
}

bool readRemote(HANDLE process, ULONG_PTR address, void* buffer, size_t size)
{
    SIZE_T got = 0;
    return ReadProcessMemory(process, reinterpret_cast<LPCVOID>(address), buffer, size, &got) && got == size;
}

// Stock objects sit in the same slots in every process: the white brush's
// slot must read as a stock brush, or this is not the table it looks like.
bool gdiTableLooksRight(const std::vector<GdiTableEntry>& firstChunk)
{
    const size_t slot = reinterpret_cast<ULONG_PTR>(GetStockObject(WHITE_BRUSH)) & 0xFFFF;
    if (slot >= firstChunk.size())
        return false;
    const GdiTableEntry& entry = firstChunk[slot];
    return entry.type == 0x10 && (entry.extType & gdiStockFlag) != 0;
}

// Reads the process's GDI handle table; 0 or a Win32 error code.
DWORD countGdiObjects(HANDLE process, GdiCounts& counts)
{
    counts = GdiCounts{0, 0, 0, 0, 0, 0, 0, 0, 0};
    const auto query = ntdllFunction<QueryInformationProcess>("NtQueryInformationProcess");
    ProcessBasics basics = {};
    if (query == nullptr || query(process, processBasicInformation, &basics, sizeof basics, nullptr) != 0)
        return ERROR_NOT_SUPPORTED;
    ULONG_PTR table = 0;
    if (!readRemote(process, basics.pebAddress + pebGdiTableOffset, &table, sizeof table))
        return GetLastError();
    if (table == 0)
        return ERROR_INVALID_DATA;
    std::vector<GdiTableEntry> chunk(gdiTableChunk);
    // Slots are handed out in order, so the table ends at the first chunk
    // that was never used at all.
    for (size_t first = 0; first < gdiTableSlots; first += gdiTableChunk) {
        const size_t bytes = chunk.size() * sizeof(GdiTableEntry);
        if (!readRemote(process, table + first * sizeof(GdiTableEntry), chunk.data(), bytes))
            return GetLastError();
        if (first == 0 && !gdiTableLooksRight(chunk))
            return ERROR_INVALID_DATA;
        bool everUsed = false;
        for (const GdiTableEntry& entry : chunk) {
            everUsed = everUsed || entry.generation != 0;
            addGdiEntry(entry, counts);
        }
        if (!everUsed)
            break;
    }
    return 0;
}

struct WindowTally {
    DWORD processId;
    long long count;
};

BOOL CALLBACK tallyChildWindow(HWND window, LPARAM context)
{
    WindowTally* tally = reinterpret_cast<WindowTally*>(context);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    tally->count += processId == tally->processId ? 1 : 0;
    return TRUE;
}

BOOL CALLBACK tallyWindowTree(HWND window, LPARAM context)
{
    tallyChildWindow(window, context);
    EnumChildWindows(window, tallyChildWindow, context);
    return TRUE;
}

// Every window of the process: top-level ones (hidden too), message-only
// ones, and all their descendants.
long long countWindows(DWORD processId)
{
    WindowTally tally = {processId, 0};
    EnumWindows(tallyWindowTree, reinterpret_cast<LPARAM>(&tally));
    for (HWND window = FindWindowExA(HWND_MESSAGE, nullptr, nullptr, nullptr); window != nullptr;
         window = FindWindowExA(HWND_MESSAGE, window, nullptr, nullptr))
        tallyWindowTree(window, reinterpret_cast<LPARAM>(&tally));
    return tally.count;
}

// Runs code of the process on a new thread there and waits for its exit code.
DWORD runRemote(HANDLE process, ULONG_PTR address, ULONG_PTR argument, DWORD& exitCode)
{
    const HANDLE thread = CreateRemoteThread(process, nullptr, 0, reinterpret_cast<LPTHREAD_START_ROUTINE>(address),
                                             reinterpret_cast<LPVOID>(argument), 0, nullptr);
    if (thread == nullptr)
        return GetLastError();
    const DWORD waited = WaitForSingleObject(thread, remoteCallTimeoutMs);
    DWORD error = 0;
    if (waited != WAIT_OBJECT_0)
        error = waited == WAIT_TIMEOUT ? WAIT_TIMEOUT : GetLastError();
    else if (!GetExitCodeThread(thread, &exitCode))
        error = GetLastError();
    CloseHandle(thread);
    return error;
}

ULONG_PTR remoteModuleBase(DWORD processId, const char* name)
{
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, processId);
    if (snapshot == INVALID_HANDLE_VALUE)
        return 0;
    MODULEENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    ULONG_PTR base = 0;
    for (BOOL more = Module32First(snapshot, &entry); more && base == 0; more = Module32Next(snapshot, &entry)) {
        if (_stricmp(entry.szModule, name) == 0)
            base = reinterpret_cast<ULONG_PTR>(entry.modBaseAddr);
    }
    CloseHandle(snapshot);
    return base;
}

// Where a function of one of the driver's modules lies in the other process:
// the same offset from that module's base there.
ULONG_PTR remoteAddress(DWORD processId, const char* moduleName, HMODULE local, FARPROC function)
{
    const ULONG_PTR base = remoteModuleBase(processId, moduleName);
    if (base == 0 || function == nullptr)
        return 0;
    return base + (reinterpret_cast<ULONG_PTR>(function) - reinterpret_cast<ULONG_PTR>(local));
}

// The offset of countObjects inside objcount.dll, read from a copy loaded
// here without running it.
ULONG_PTR counterExportOffset(const std::string& path)
{
    const HMODULE module = LoadLibraryExA(path.c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES);
    if (module == nullptr)
        return 0;
    const FARPROC function = GetProcAddress(module, counterExportName);
    const ULONG_PTR offset = function == nullptr ? 0
        : reinterpret_cast<ULONG_PTR>(function) - reinterpret_cast<ULONG_PTR>(module);
    FreeLibrary(module);
    return offset;
}

// Loads objcount.dll into the process once; it stays for the process's life
// (its first load is part of the count the tests start from).
DWORD loadCounter(DWORD processId, Launched& target, const std::string& path)
{
    if (target.counterBase != 0)
        return 0;
    const HMODULE kernel = GetModuleHandleA("kernel32.dll");
    const ULONG_PTR loadLibrary =
        remoteAddress(processId, "kernel32.dll", kernel, GetProcAddress(kernel, "LoadLibraryA"));
    if (loadLibrary == 0)
        return ERROR_MOD_NOT_FOUND;
    const size_t pathSize = path.size() + 1;
    void* remotePath = VirtualAllocEx(target.process, nullptr, pathSize, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (remotePath == nullptr)
        return GetLastError();
    DWORD error = WriteProcessMemory(target.process, remotePath, path.c_str(), pathSize, nullptr) ? 0 : GetLastError();
    DWORD loaded = 0;
    if (error == 0)
        error = runRemote(target.process, loadLibrary, reinterpret_cast<ULONG_PTR>(remotePath), loaded);
    VirtualFreeEx(target.process, remotePath, 0, MEM_RELEASE);
    if (error != 0)
        return error;
    // The thread's exit code holds only the low half of a 64-bit module
    // handle: the base is looked up by the DLL's name instead.
    const size_t slash = path.find_last_of("\\/");
    target.counterBase = remoteModuleBase(processId, path.c_str() + (slash == std::string::npos ? 0 : slash + 1));
    return target.counterBase != 0 ? 0 : ERROR_MOD_NOT_FOUND;
}

long long countInside(Launched& target, ULONG_PTR function, ULONG_PTR kind, DWORD& error)
{
    DWORD count = 0;
    if (error == 0)
        error = runRemote(target.process, function, kind, count);
    if (error == 0 && count == 0xFFFFFFFFu)
        error = ERROR_INVALID_FUNCTION;
    return error == 0 ? static_cast<long long>(count) : unknownCount;
}

UserCounts countUserObjects(DWORD processId, Launched& target, const std::string& counterPath)
{
    UserCounts counts = {countWindows(processId), unknownCount, unknownCount, ERROR_FILE_NOT_FOUND};
    if (counterPath.empty())
        return counts;
    const ULONG_PTR offset = counterExportOffset(counterPath);
    counts.error = offset == 0 ? ERROR_PROC_NOT_FOUND : loadCounter(processId, target, counterPath);
    const ULONG_PTR function = target.counterBase + offset;
    counts.menus = countInside(target, function, countMenusKind, counts.error);
    counts.icons = countInside(target, function, countIconsKind, counts.error);
    return counts;
}

// ---------------------------------------------------------------- key state

// ================================================================= commands

void cmdHello(const Args& args, Reply& reply)
{
    ArgReader reader = {args, 0, true};
    if (!argumentsValid(reader, reply))
        return;
    // Raised whenever a command or a reply changes; the harness checks it.
    addField(reply, "version", 5);
    HDC screen = GetDC(nullptr);
    addField(reply, "dpi", GetDeviceCaps(screen, LOGPIXELSY));
    ReleaseDC(nullptr, screen);
    addField(reply, "acp", GetACP());
    addField(reply, "oemcp", GetOEMCP());
    addField(reply, "pid", GetCurrentProcessId());
    addField(reply, "tick", GetTickCount());
}

// launch <application|-> <command line> <directory|->
void cmdLaunch(const Args& args, Reply& reply)
{
    ArgReader reader = {args, 0, true};
    const std::string application = readText(reader);
    std::string commandLine = readText(reader);
    const std::string directory = readText(reader);
    if (!argumentsValid(reader, reply))
        return;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    if (!CreateProcessA(application.empty() ? nullptr : application.c_str(), line.data(), nullptr, nullptr,
                        FALSE, 0, nullptr, directory.empty() ? nullptr : directory.c_str(), &startup, &info)) {
        failWithError(reply, "CreateProcess", GetLastError());
        return;
    }
    CloseHandle(info.hThread);
    launched[info.dwProcessId] = Launched{info.hProcess, info.dwThreadId, 0};
    addNumber(reply, info.dwProcessId);
    addNumber(reply, info.dwThreadId);
}

Launched* launchedProcess(DWORD processId, Reply& reply)
{
    const auto found = launched.find(processId);
    if (found != launched.end())
        return &found->second;
    fail(reply, "not launched here: " + std::to_string(processId));
    return nullptr;
}

void addExitState(HANDLE process, Reply& reply)
{
    DWORD code = 0;
    if (WaitForSingleObject(process, 0) == WAIT_OBJECT_0 && GetExitCodeProcess(process, &code)) {
        add(reply, "exited");
        addNumber(reply, code);
    } else {
        add(reply, "running");
    }
}

// wait <pid> <milliseconds>: exited <code> | running
void cmdWait(const Args& args, Reply& reply)
{
    ArgReader reader = {args, 0, true};
    const DWORD processId = static_cast<DWORD>(readNumber(reader));
    const DWORD timeout = static_cast<DWORD>(readNumber(reader));
    if (!argumentsValid(reader, reply))
        return;
    Launched* process = launchedProcess(processId, reply);
    if (process == nullptr)
        return;
    WaitForSingleObject(process->process, timeout);
    addExitState(process->process, reply);
}

// terminate <pid> <code>: ends a process, launched here or not, and waits
// for it to be gone
void cmdTerminate(const Args& args, Reply& reply)
{
    ArgReader reader = {args, 0, true};
    const DWORD processId = static_cast<DWORD>(readNumber(reader));
    const UINT code = static_cast<UINT>(readNumber(reader));
    if (!argumentsValid(reader, reply))
        return;
    const auto found = launched.find(processId);
    HANDLE process = found != launched.end() ? found->second.process
                                            : OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE | PROCESS_QUERY_INFORMATION,
                                                          FALSE, processId);
    if (process == nullptr) {
        failWithError(reply, "OpenProcess", GetLastError());
        return;
    }
    if (WaitForSingleObject(process, 0) != WAIT_OBJECT_0) {
        TerminateProcess(process, code);
        WaitForSingleObject(process, 10000);
    }
    addExitState(process, reply);
    if (found == launched.end())
        CloseHandle(process);
}

// windows <pid, 0 for all>: one record per top-level window
void cmdWindows(const Args& args, Reply& reply)
{
    ArgReader reader = {args, 0, true};
    WindowSearch search = {static_cast<DWORD>(readNumber(reader)), {}};
    if (!argumentsValid(reader, reply))
        return;
    EnumWindows(collectTopLevel, reinterpret_cast<LPARAM>(&search));
    for (HWND window : search.found)
        add(reply, windowRecord(window));
}

// children <hwnd>: one record per descendant window
void cmdChildren(const Args& args, Reply& reply)
{
    ArgReader reader = {args, 0, true};
    const HWND parent = readWindow(reader);
    if (!argumentsValid(reader, reply) || !validWindow(parent, reply))
        return;
    WindowSearch search = {0, {}};
    EnumChildWindows(parent, collectChild, reinterpret_cast<LPARAM>(&search));
    for (HWND window : search.found)
        add(reply, windowRecord(window));
}

void cmdItem(const Args& args, Reply& reply)
{
    ArgReader reader = {args, 0, true};
    const HWND dialog = readWindow(reader);
    const int id = static_cast<int>(readNumber(reader));
    if (!argumentsValid(reader, reply) || !validWindow(dialog, reply))
        return;
    addNumber(reply, static_cast<long long>(handleNumber(GetDlgItem(dialog, id))));
}

void cmdInfo(const Args& args, Reply& reply)
{
    ArgReader reader = {args, 0, true};
    const HWND window = readWindow(reader);
    if (!argumentsValid(reader, reply))
        return;
    if (!IsWindow(window)) {
        addField(reply, "valid", 0);
        return;
    }
    DWORD processId = 0;
    const DWORD threadId = GetWindowThreadProcessId(window, &processId);
    RECT outer = {};
    GetWindowRect(window, &outer);
    RECT inner = {};
    GetClientRect(window, &inner);
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    addField(reply, "valid", 1);
    addTextField(reply, "class", className(window));
    addTextField(reply, "text", storedText(window));
    addField(reply, "visible", IsWindowVisible(window) ? 1 : 0);
    addField(reply, "enabled", IsWindowEnabled(window) ? 1 : 0);
    addField(reply, "iconic", IsIconic(window) ? 1 : 0);
    addField(reply, "style", static_cast<unsigned long>(GetWindowLongA(window, GWL_STYLE)));
    addField(reply, "exstyle", static_cast<unsigned long>(GetWindowLongA(window, GWL_EXSTYLE)));
    addField(reply, "id", GetDlgCtrlID(window));
    addHandleField(reply, "parent", GetAncestor(window, GA_PARENT));
    addHandleField(reply, "owner", GetWindow(window, GW_OWNER));
    addHandleField(reply, "root", GetAncestor(window, GA_ROOT));
    addField(reply, "pid", processId);
    addField(reply, "tid", threadId);
    addField(reply, "left", outer.left);
    addField(reply, "top", outer.top);
    addField(reply, "right", outer.right);
    addField(reply, "bottom", outer.bottom);
    addField(reply, "clientx", origin.x);
    addField(reply, "clienty", origin.y);
    addField(reply, "clientwidth", inner.right);
    addField(reply, "clientheight", inner.bottom);
}

void cmdText(const Args& args, Reply& reply)
{
    ArgReader reader = {args, 0, true};
    const HWND window = readWindow(reader);
    if (!argumentsValid(reader, reply) || !validWindow(window, reply))
        return;
    std::string text;
    if (readWindowText(window, text, reply))
        add(reply, toHex(text));
}

// A function of a system library loaded on first use, or null.
FARPROC systemFunction(const char* library, const char* name)
{
    const HMODULE module = LoadLibraryExA(library, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    return module == nullptr ? nullptr : GetProcAddress(module, name);
}

// accname <hwnd>: the accName that oleacc's client object of the window
// gives, as a screen reader would read it. oleacc and oleaut32 are loaded on
// first use, so the driver's imports stay as they were.
void cmdAccName(const Args& args, Reply& reply)
{
    ArgReader reader = {args, 0, true};
    const HWND window = readWindow(reader);
    if (!argumentsValid(reader, reply) || !validWindow(window, reply))
        return;
    const FARPROC fromWindow = systemFunction("oleacc.dll", "AccessibleObjectFromWindow");
    const FARPROC freeString = systemFunction("oleaut32.dll", "SysFreeString");
    const FARPROC startCom = systemFunction("ole32.dll", "CoInitialize");
    static const HRESULT com = startCom == nullptr ? E_FAIL
        : reinterpret_cast<HRESULT(WINAPI*)(void*)>(reinterpret_cast<void (*)()>(startCom))(nullptr);
    if (fromWindow == nullptr || freeString == nullptr || FAILED(com)) {
        fail(reply, "oleacc is not available");
        return;
    }
    // IID_IAccessible, spelt out so that nothing links oleacc's import library.
    const GUID accessibleId = {0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};
    IAccessible* accessible = nullptr;
    HRESULT result = reinterpret_cast<HRESULT(WINAPI*)(HWND, DWORD, REFIID, void**)>(
        reinterpret_cast<void (*)()>(fromWindow))(window, static_cast<DWORD>(OBJID_CLIENT), accessibleId,
                                                  reinterpret_cast<void**>(&accessible));
    if (FAILED(result) || accessible == nullptr) {
        fail(reply, "AccessibleObjectFromWindow failed, " + std::to_string(static_cast<long>(result)));
        return;
    }
    VARIANT self = {};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    result = accessible->get_accName(self, &name);
    accessible->Release();
    if (FAILED(result)) {
        fail(reply, "get_accName failed, " + std::to_string(static_cast<long>(result)));
        return;
    }
    std::string text;
    if (name != nullptr) {
        const int length = static_cast<int>(wcslen(name));
        const int size = WideCharToMultiByte(CP_ACP, 0, name, length, nullptr, 0, nullptr, nullptr);
        text.resize(static_cast<size_t>(size > 0 ? size : 0));
        if (size > 0)
            WideCharToMultiByte(CP_ACP, 0, name, length, &text[0], size, nullptr, nullptr);
        reinterpret_cast<void(WINAPI*)(BSTR)>(reinterpret_cast<void (*)()>(freeString))(name);
    }
    // S_FALSE: the object has no name at all.
    add(reply, result == S_FALSE ? "none" : toHex(text));
}

void cmdSetText(const Args& args, Reply& reply)
{
    ArgReader reader = {args, 0, true};
    const HWND window = readWindow(reader);
    const std::string text = readText(reader);
    if (!argumentsValid(reader, reply) || !validWindow(window, reply))
        return;
    LRESULT result = 0;
    if (sendA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), result, reply))
        addNumber(reply, result);
}

void cmdSend(const Args& args, Reply& reply)
{
    ArgReader reader = {args, 0, true};
    const HWND window = readWindow(reader);
    const UINT message = static_cast<UINT>(readNumber(reader));
    const WPARAM wParam = static_cast<WPARAM>(readNumber(reader));
    const LPARAM lParam = static_cast<LPARAM>(readNumber(reader));
    if (!argumentsValid(reader, reply) || !validWindow(window, reply))
        return;
    LRESULT result = 0;
    if (sendA(window, message, wParam, lParam, result, reply))
        addNumber(reply, result);
}

// sendtext <hwnd> <message> <wparam> <text>: lParam points at the text
void cmdSendText(const Args& args, Reply& reply)
{
    ArgReader reader = {args, 0, true};
    const HWND window = readWindow(reader);
    const UINT message = static_cast<UINT>(readNumber(reader));
    const WPARAM wParam = static_cast<WPARAM>(readNumber(reader));
    const std::string text = readText(reader);
    if (!argumentsValid(reader, reply) || !validWindow(window, reply))
        return;
    LRESULT result = 0;
    if (sendA(window, message, wParam, reinterpret_cast<LPARAM>(text.c_str()), result, reply))
        addNumber(reply, result);
}

void cmdPost(const Args& args, Reply& reply)
{
    ArgReader reader = {args, 0, true};
    const HWND window = readWindow(reader);
    const UINT message = static_cast<UINT>(readNumber(reader));
    const WPARAM wParam = static_cast<WPARAM>(readNumber(reader));
    const LPARAM lParam = static_cast<LPARAM>(readNumber(reader));
    if (!argumentsValid(reader, reply) || !validWindow(window, reply))
        return;
    if (!PostMessageA(window, message, wParam, lParam))
        failWithError(reply, "PostMessage", GetLastError());
}

// guithread <tid>: the focus, active and capture windows of that thread
void cmdGuiThread(const Args& args, Reply& reply)
{
    ArgReader reader = {args, 0, true};
    const DWORD threadId = static_cast<DWORD>(readNumber(reader));
    if (!argumentsValid(reader, reply))
        return;
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(threadId, &info)) {
        failWithError(reply, "GetGUIThreadInfo", GetLastError());
        return;
    }
    addHandleField(reply, "focus", info.hwndFocus);
    addHandleField(reply, "active", info.hwndActive);
    addHandleField(reply, "capture", info.hwndCapture);
    addHandleField(reply, "menuowner", info.hwndMenuOwner);
    addHandleField(reply, "movesize", info.hwndMoveSize);
    addHandleField(reply, "caret", info.hwndCaret);
    addField(reply, "flags", info.flags);
}

// items <hwnd> <combo|list>: count, selection, then every item's text.
// The W messages are used: across processes Wine answers the A ones in UTF-16.
void cmdItems(const Args& args, Reply& reply)
{
    ArgReader reader = {args, 0, true};
    const HWND window = readWindow(reader);
    const std::string kind = readWord(reader);
    if (!argumentsValid(reader, reply) || !validWindow(window, reply))
        return;
    const bool combo = kind == "combo";
    LRESULT count = 0;
    LRESULT selection = 0;
    if (!sendW(window, combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0, count, reply)
        || !sendW(window, combo ? CB_GETCURSEL : LB_GETCURSEL, 0, 0, selection, reply))
        return;
    addNumber(reply, count);
    addNumber(reply, selection);
    for (LRESULT index = 0; index < count; ++index) {
        LRESULT length = 0;
        if (!sendW(window, combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, static_cast<WPARAM>(index), 0, length, reply))
            return;
        std::vector<wchar_t> buffer(static_cast<size_t>(length > 0 ? length : 0) + 2, L'\0');
        LRESULT copied = 0;
        if (!sendW(window, combo ? CB_GETLBTEXT : LB_GETTEXT, static_cast<WPARAM>(index),
                   reinterpret_cast<LPARAM>(buffer.data()), copied, reply))
            return;
        add(reply, toHex(narrow(buffer.data(), static_cast<int>(copied > 0 ? copied : 0))));
    }
}

// select <hwnd> <combo|list> <index> <send|post>: selects as the user would,
// with the selection-change notification to the parent.
void cmdSelect(const Args& args, Reply& reply)
{
    ArgReader reader = {args, 0, true};
    const HWND window = readWindow(reader);
    const std::string kind = readWord(reader);
    const WPARAM index = static_cast<WPARAM>(readNumber(reader));
    const std::string mode = readWord(reader);
    if (!argumentsValid(reader, reply) || !validWindow(window, reply))
        return;
    const bool combo = kind == "combo";
    LRESULT result = 0;
    if (!sendA(window, combo ? CB_SETCURSEL : LB_SETCURSEL, index, 0, result, reply))
        return;
    const WPARAM notification = MAKEWPARAM(GetDlgCtrlID(window), combo ? CBN_SELCHANGE : LBN_SELCHANGE);
    const HWND parent = GetParent(window);
    if (mode == "post") {
        PostMessageA(parent, WM_COMMAND, notification, reinterpret_cast<LPARAM>(window));
    } else {
        LRESULT ignored = 0;
        if (!sendA(parent, WM_COMMAND, notification, reinterpret_cast<LPARAM>(window), ignored, reply))
            return;
    }
    addNumber(reply, result);
}

// nextdlgctl <dialog> <control>: focus moves through the dialog manager
void cmdNextDlgCtl(const Args& args, Reply& reply)
{
    ArgReader reader = {args, 0, true};
    const HWND dialog = readWindow(reader);
    const HWND control = readWindow(reader);
    if (!argumentsValid(reader, reply) || !validWindow(dialog, reply) || !validWindow(control, reply))
        return;
    LRESULT result = 0;
    if (sendA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE, result, reply))
        addNumber(reply, result);
}

// key <hwnd> <vk> <down|up|press|sysdown|sysup|syspress>
void cmdKey(const Args& args, Reply& reply)
{
    ArgReader reader = {args, 0, true};
    const HWND window = readWindow(reader);
    const UINT vk = static_cast<UINT>(readNumber(reader));
    const std::string action = readWord(reader);
    if (!argumentsValid(reader, reply) || !validWindow(window, reply))
        return;
    const bool system = action.compare(0, 3, "sys") == 0;
    const std::string what = system ? action.substr(3) : action;
    const bool down = what == "down" || what == "press";
    const bool up = what == "up" || what == "press";
    if (!down && !up) {
        fail(reply, "unknown key action " + action);
        return;
    }
    // The keyboard sends F10 as a system key by itself; any other comes so with Alt.
    const bool alt = system && vk != VK_F10;
    if (down)
        PostMessageA(window, system ? WM_SYSKEYDOWN : WM_KEYDOWN, vk, keyLParam(vk, false, alt));
    if (up)
        PostMessageA(window, system ? WM_SYSKEYUP : WM_KEYUP, vk, keyLParam(vk, true, alt));
}

// keys <tid> [<vk>...]: the listed keys are down, every other key is up, as
// that thread's GetKeyState sees it. Attaching to the thread shares its input
// state, so SetKeyboardState reaches the program; attaching also clears the
// whole key state, so each call states every key that must be down. The
// state stays with the program's input after the driver detaches.
void cmdKeys(const Args& args, Reply& reply)
{
    ArgReader reader = {args, 0, true};
    const DWORD threadId = static_cast<DWORD>(readNumber(reader));
    BYTE state[256] = {};
    while (reader.ok && hasMore(reader))
        state[readNumber(reader) & 0xFF] = 0x80;
    if (!argumentsValid(reader, reply))
        return;
    if (!AttachThreadInput(GetCurrentThreadId(), threadId, TRUE)) {
        failWithError(reply, "AttachThreadInput", GetLastError());
        return;
    }
    const BOOL set = SetKeyboardState(state);
    const DWORD error = GetLastError();
    AttachThreadInput(GetCurrentThreadId(), threadId, FALSE);
    if (!set)
        failWithError(reply, "SetKeyboardState", error);
}

BOOL CALLBACK findEditChild(HWND window, LPARAM context)
{
    if (_stricmp(className(window).c_str(), "Edit") != 0)
        return TRUE;
    *reinterpret_cast<HWND*>(context) = window;
    return FALSE;
}

BOOL CALLBACK findEditInThread(HWND window, LPARAM context)
{
    EnumChildWindows(window, findEditChild, context);
    return *reinterpret_cast<HWND*>(context) == nullptr;
}

// sync <tid> <milliseconds>: returns once the thread has dispatched every
// message posted to it before. The text limit of one of the thread's edit
// controls is changed by a posted message, which is handled in posting
// order, and then put back; nothing else about the edit changes.
void cmdSync(const Args& args, Reply& reply)
{
    ArgReader reader = {args, 0, true};
    const DWORD threadId = static_cast<DWORD>(readNumber(reader));
    const DWORD timeout = static_cast<DWORD>(readNumber(reader));
    if (!argumentsValid(reader, reply))
        return;
    HWND edit = nullptr;
    EnumThreadWindows(threadId, findEditInThread, reinterpret_cast<LPARAM>(&edit));
    if (edit == nullptr) {
        fail(reply, "the thread has no edit control to synchronise with");
        return;
    }
    LRESULT limit = 0;
    if (!sendA(edit, EM_GETLIMITTEXT, 0, 0, limit, reply))
        return;
    const LRESULT marker = limit > 1 ? limit - 1 : limit + 1;
    PostMessageA(edit, EM_LIMITTEXT, static_cast<WPARAM>(marker), 0);
    const DWORD start = GetTickCount();
    for (;;) {
        LRESULT now = 0;
        if (!sendA(edit, EM_GETLIMITTEXT, 0, 0, now, reply))
            return;
        if (now == marker)
            break;
        if (GetTickCount() - start > timeout) {
            fail(reply, "timeout");
            return;
        }
        Sleep(1);
    }
    LRESULT ignored = 0;
    sendA(edit, EM_LIMITTEXT, static_cast<WPARAM>(limit), 0, ignored, reply);
}

// icon <window> <module path> <size>[:<part>] <id>...: which of the
// module's icons a button shows (or any other window, a menu for one, shows
// somewhere), comparing only the first part columns of the icons' middle
// part rows when given (a menu may cut its pictures to its rows and cover
// their right with the item's text).
// Reply: the button's image handle (0 for other windows), best id (0: none
// matches), and id:score pairs, the score being the mean channel difference
// times 100.
void cmdIcon(const Args& args, Reply& reply)
{
    ArgReader reader = {args, 0, true};
    const HWND button = readWindow(reader);
    const std::string path = readText(reader);
    if (!hasMore(reader))
        reader.ok = false;
    const std::string sizeWord = reader.ok ? reader.args[reader.next++] : std::string();
    const int size = std::atoi(sizeWord.c_str());
    const size_t colon = sizeWord.find(':');
    const int part = colon == std::string::npos ? size : std::atoi(sizeWord.c_str() + colon + 1);
    std::vector<int> ids;
    while (reader.ok && hasMore(reader))
        ids.push_back(static_cast<int>(readNumber(reader)));
    if (!argumentsValid(reader, reply) || !validWindow(button, reply))
        return;
    LRESULT image = 0;
    const bool isButton = className(button) == "Button";
    if (isButton && !sendA(button, BM_GETIMAGE, IMAGE_ICON, 0, image, reply))
        return;
    // Paint what is pending now rather than whenever the program gets to it.
    RedrawWindow(button, nullptr, nullptr, RDW_UPDATENOW);
    HMODULE module = dataModule(path);
    if (module == nullptr) {
        failWithError(reply, "LoadLibraryEx", GetLastError());
        return;
    }
    RECT rect = {};
    GetWindowRect(button, &rect);
    Capture capture = {};
    if (!captureScreen(rect, capture)) {
        fail(reply, "screen capture failed");
        return;
    }
    const double matchLimit = 6.0;
    int bestId = 0;
    double bestScore = matchLimit;
    std::string scores;
    for (int id : ids) {
        HICON icon = static_cast<HICON>(LoadImageA(module, MAKEINTRESOURCEA(id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
        IconPixels pixels = {};
        double score = 1e9;
        if (icon != nullptr && readIconPixels(icon, pixels))
            score = bestIconScore(pixels, capture, part);
        if (icon != nullptr)
            DestroyIcon(icon);
        if (score <= bestScore) {
            bestScore = score;
            bestId = id;
        }
        scores += " " + std::to_string(id) + ":" + std::to_string(static_cast<long long>(score * 100));
    }
    addNumber(reply, static_cast<long long>(image));
    addNumber(reply, isButton && image == 0 ? 0 : bestId);
    reply.text += scores;
}

// The module's PRIVATE_FONT made available to this process, once per module.
bool registerPrivateFont(HMODULE module)
{
    static std::map<HMODULE, HANDLE> registered;
    if (registered.count(module) != 0)
        return registered[module] != nullptr;
    HANDLE font = nullptr;
    HRSRC resource = FindResourceA(module, "SegoeUI.ttf", "PRIVATE_FONT");
    HGLOBAL loaded = resource != nullptr ? LoadResource(module, resource) : nullptr;
    void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (data != nullptr) {
        DWORD count = 0;
        font = AddFontMemResourceEx(data, SizeofResource(module, resource), nullptr, &count);
    }
    registered[module] = font;
    return font != nullptr;
}

// textfit <module path> <font height> <width> <text>: how a text is laid out
// in the module's "Segoe UI" at that LOGFONT height, as DrawText lays out a
// control's text (& marks a mnemonic). Reply: width on one line, height
// when broken into lines of at most width pixels, line height.
void cmdTextFit(const Args& args, Reply& reply)
{
    ArgReader reader = {args, 0, true};
    const std::string path = readText(reader);
    const int height = static_cast<int>(readNumber(reader));
    const int width = static_cast<int>(readNumber(reader));
    const std::string text = readText(reader);
    if (!argumentsValid(reader, reply))
        return;
    HMODULE module = dataModule(path);
    if (module == nullptr || !registerPrivateFont(module)) {
        fail(reply, "no private font in the module");
        return;
    }
    LOGFONTA description = {};
    description.lfHeight = height;
    description.lfWeight = FW_NORMAL;
    description.lfCharSet = DEFAULT_CHARSET;
    std::strcpy(description.lfFaceName, "Segoe UI");
    HFONT font = CreateFontIndirectA(&description);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, font);
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    RECT line = {0, 0, 0, 0};
    DrawTextA(dc, text.c_str(), -1, &line, DT_CALCRECT | DT_SINGLELINE);
    RECT wrapped = {0, 0, width, 0};
    DrawTextA(dc, text.c_str(), -1, &wrapped, DT_CALCRECT | DT_WORDBREAK);
    SelectObject(dc, previous);
    DeleteDC(dc);
    DeleteObject(font);
    addNumber(reply, line.right - line.left);
    addNumber(reply, wrapped.bottom - wrapped.top);
    addNumber(reply, metrics.tmHeight);
}

// pixels <x> <y> <width> <height>: the screen's pixels as hex 0xRRGGBB words
void cmdPixels(const Args& args, Reply& reply)
{
    ArgReader reader = {args, 0, true};
    RECT rect = {};
    rect.left = static_cast<LONG>(readNumber(reader));
    rect.top = static_cast<LONG>(readNumber(reader));
    rect.right = rect.left + static_cast<LONG>(readNumber(reader));
    rect.bottom = rect.top + static_cast<LONG>(readNumber(reader));
    if (!argumentsValid(reader, reply))
        return;
    Capture capture = {};
    if (!captureScreen(rect, capture)) {
        fail(reply, "screen capture failed");
        return;
    }
    std::string bytes;
    bytes.reserve(capture.pixels.size() * 3);
    for (DWORD pixel : capture.pixels) {
        bytes += static_cast<char>((pixel >> 16) & 0xFF);
        bytes += static_cast<char>((pixel >> 8) & 0xFF);
        bytes += static_cast<char>(pixel & 0xFF);
    }
    add(reply, toHex(bytes));
}

// regset <key> <name> <type> <data> <a|w>: status. "a" writes through the A
// function (strings converted from the code page, as the program does), "w"
// stores the bytes exactly as given.
void cmdRegSet(const Args& args, Reply& reply)
{
    ArgReader reader = {args, 0, true};
    const RegPath key = readKeyPath(reader);
    const std::string name = readText(reader);
    const DWORD type = static_cast<DWORD>(readNumber(reader));
    const std::string data = readText(reader);
    const std::string mode = readWord(reader);
    if (!argumentsValid(reader, reply))
        return;
    // A string value whose last byte is not a terminator but is followed by
    // one gets the terminator added (Windows does this too); bytes that
    // follow are not terminators here, so exactly the given bytes are stored.
    std::vector<BYTE> bytes(data.begin(), data.end());
    bytes.push_back(0xFF);
    bytes.push_back(0xFF);
    HKEY handle = nullptr;
    LONG error = RegCreateKeyExA(key.root, key.subKey.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle, nullptr);
    if (error == ERROR_SUCCESS) {
        const DWORD size = static_cast<DWORD>(data.size());
        error = wideMode(mode) ? RegSetValueExW(handle, widen(name).c_str(), 0, type, bytes.data(), size)
                               : RegSetValueExA(handle, name.c_str(), 0, type, bytes.data(), size);
        RegCloseKey(handle);
    }
    addNumber(reply, error);
}

// regget <key> <name> <a|w>: status, then type and data when found
void cmdRegGet(const Args& args, Reply& reply)
{
    ArgReader reader = {args, 0, true};
    const RegPath key = readKeyPath(reader);
    const std::string name = readText(reader);
    const std::string mode = readWord(reader);
    if (!argumentsValid(reader, reply))
        return;
    HKEY handle = nullptr;
    LONG error = RegOpenKeyExA(key.root, key.subKey.c_str(), 0, KEY_QUERY_VALUE, &handle);
    DWORD type = 0;
    std::string data;
    if (error == ERROR_SUCCESS) {
        error = queryValue(handle, name, wideMode(mode), type, data);
        RegCloseKey(handle);
    }
    addNumber(reply, error);
    if (error == ERROR_SUCCESS) {
        addNumber(reply, type);
        add(reply, toHex(data));
    }
}

// reglist <key> <a|w>: status, then v:<name>:<type>:<data> and k:<name> tokens
void cmdRegList(const Args& args, Reply& reply)
{
    ArgReader reader = {args, 0, true};
    const RegPath key = readKeyPath(reader);
    const std::string mode = readWord(reader);
    if (!argumentsValid(reader, reply))
        return;
    HKEY handle = nullptr;
    const LONG error = RegOpenKeyExA(key.root, key.subKey.c_str(), 0, KEY_READ, &handle);
    addNumber(reply, error);
    if (error != ERROR_SUCCESS)
        return;
    for (DWORD index = 0;; ++index) {
        std::string name;
        std::string data;
        DWORD type = 0;
        if (enumValue(handle, index, wideMode(mode), name, type, data) != ERROR_SUCCESS)
            break;
        add(reply, "v:" + toHex(name) + ":" + std::to_string(type) + ":" + toHex(data));
    }
    for (DWORD index = 0;; ++index) {
        char name[1024];
        DWORD length = sizeof name;
        if (RegEnumKeyExA(handle, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        add(reply, "k:" + toHex(name, length));
    }
    RegCloseKey(handle);
}

// regdelete <key>: removes the key with its values and subkeys
void cmdRegDelete(const Args& args, Reply& reply)
{
    ArgReader reader = {args, 0, true};
    const RegPath key = readKeyPath(reader);
    if (!argumentsValid(reader, reply))
        return;
    if (key.subKey.empty()) {
        fail(reply, "bad arguments");
        return;
    }
    addNumber(reply, RegDeleteTreeA(key.root, key.subKey.c_str()));
}

void cmdRegDeleteValue(const Args& args, Reply& reply)
{
    ArgReader reader = {args, 0, true};
    const RegPath key = readKeyPath(reader);
    const std::string name = readText(reader);
    if (!argumentsValid(reader, reply))
        return;
    HKEY handle = nullptr;
    LONG error = RegOpenKeyExA(key.root, key.subKey.c_str(), 0, KEY_SET_VALUE, &handle);
    if (error == ERROR_SUCCESS) {
        error = RegDeleteValueA(handle, name.c_str());
        RegCloseKey(handle);
    }
    addNumber(reply, error);
}

// regsddl <key> <sddl>: replaces the key's access list (lasts while the
// wineserver runs; Wine does not save it)
void cmdRegSddl(const Args& args, Reply& reply)
{
    ArgReader reader = {args, 0, true};
    const RegPath key = readKeyPath(reader);
    const std::string sddl = readText(reader);
    if (!argumentsValid(reader, reply))
        return;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl.c_str(), SDDL_REVISION_1, &descriptor, nullptr)) {
        failWithError(reply, "ConvertStringSecurityDescriptorToSecurityDescriptor", GetLastError());
        return;
    }
    HKEY handle = nullptr;
    LONG error = RegOpenKeyExA(key.root, key.subKey.c_str(), 0, WRITE_DAC | READ_CONTROL, &handle);
    if (error == ERROR_SUCCESS) {
        error = RegSetKeySecurity(handle, DACL_SECURITY_INFORMATION, descriptor);
        RegCloseKey(handle);
    }
    LocalFree(descriptor);
    addNumber(reply, error);
}

void addGdiFields(Reply& reply, const GdiCounts& counts, bool known)
{
    addField(reply, "dcs", known ? counts.dcs : unknownCount);
    addField(reply, "bitmaps", known ? counts.bitmaps : unknownCount);
    addField(reply, "brushes", known ? counts.brushes : unknownCount);
    addField(reply, "pens", known ? counts.pens : unknownCount);
    addField(reply, "fonts", known ? counts.fonts : unknownCount);
    addField(reply, "regions", known ? counts.regions : unknownCount);
    addField(reply, "palettes", known ? counts.palettes : unknownCount);
    addField(reply, "gdiother", known ? counts.other : unknownCount);
}

// resources <pid> [<objcount.dll path>]: GDI and USER object counts (0 with
// an error where they cannot be counted) and the kernel handle count (-1
// when unknown). Where the system does not count (Wine), the driver counts
// itself; with the path of objcount.dll, menus and icons are counted too,
// and the USER count is windows + menus + icons. Detail fields follow, -1
// when unknown: windows menus icons, and dcs bitmaps brushes pens fonts
// regions palettes gdiother (stock objects are never counted).
void cmdResources(const Args& args, Reply& reply)
{
    ArgReader reader = {args, 0, true};
    const DWORD processId = static_cast<DWORD>(readNumber(reader));
    const std::string counterPath = hasMore(reader) ? readText(reader) : std::string();
    if (!argumentsValid(reader, reply))
        return;
    Launched* process = launchedProcess(processId, reply);
    if (process == nullptr)
        return;
    SetLastError(0);
    long long gdi = GetGuiResources(process->process, GR_GDIOBJECTS);
    DWORD gdiError = GetLastError();
    SetLastError(0);
    long long user = GetGuiResources(process->process, GR_USEROBJECTS);
    DWORD userError = GetLastError();
    DWORD systemHandles = 0;
    long long handles = GetProcessHandleCount(process->process, &systemHandles) && systemHandles > 0
        ? static_cast<long long>(systemHandles) : countKernelHandles(processId);

    GdiCounts gdiCounts = {};
    const DWORD tableError = countGdiObjects(process->process, gdiCounts);
    if (gdiError != 0) {
        gdi = tableError == 0 ? gdiCounts.total : 0;
        gdiError = tableError == 0 ? 0 : tableError;
    }
    // After the GDI table: counting icons makes short-lived bitmaps.
    const UserCounts userCounts = countUserObjects(processId, *process, counterPath);
    if (userError != 0) {
        user = userCounts.error == 0 ? userCounts.windows + userCounts.menus + userCounts.icons : 0;
        userError = userCounts.error;
    }
    addField(reply, "gdi", gdi);
    addField(reply, "gdierror", gdiError);
    addField(reply, "user", user);
    addField(reply, "usererror", userError);
    addField(reply, "handles", handles);
    addField(reply, "windows", userCounts.windows);
    addField(reply, "menus", userCounts.menus);
    addField(reply, "icons", userCounts.icons);
    addGdiFields(reply, gdiCounts, tableError == 0);
}

// givehandles <pid> <count>: the process gets count new handles (to an
// event), as if it had opened them itself; reply: their values there
void cmdGiveHandles(const Args& args, Reply& reply)
{
    ArgReader reader = {args, 0, true};
    const DWORD processId = static_cast<DWORD>(readNumber(reader));
    const long long count = readNumber(reader);
    if (!argumentsValid(reader, reply))
        return;
    Launched* process = launchedProcess(processId, reply);
    if (process == nullptr)
        return;
    const HANDLE event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (event == nullptr) {
        failWithError(reply, "CreateEvent", GetLastError());
        return;
    }
    for (long long given = 0; given < count; ++given) {
        HANDLE remote = nullptr;
        if (!DuplicateHandle(GetCurrentProcess(), event, process->process, &remote, 0, FALSE, DUPLICATE_SAME_ACCESS)) {
            failWithError(reply, "DuplicateHandle", GetLastError());
            break;
        }
        addNumber(reply, static_cast<long long>(handleNumber(remote)));
    }
    CloseHandle(event);
}

// closehandles <pid> <handle>...: closes those handles of the process
void cmdCloseHandles(const Args& args, Reply& reply)
{
    ArgReader reader = {args, 0, true};
    const DWORD processId = static_cast<DWORD>(readNumber(reader));
    std::vector<HANDLE> handles;
    while (reader.ok && hasMore(reader))
        handles.push_back(reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(readNumber(reader))));
    if (!argumentsValid(reader, reply))
        return;
    Launched* process = launchedProcess(processId, reply);
    if (process == nullptr)
        return;
    // Wine wants a target even when the source is only to be closed.
    for (HANDLE handle : handles) {
        HANDLE local = nullptr;
        if (!DuplicateHandle(process->process, handle, GetCurrentProcess(), &local, 0, FALSE,
                             DUPLICATE_CLOSE_SOURCE | DUPLICATE_SAME_ACCESS)) {
            failWithError(reply, "DuplicateHandle", GetLastError());
            return;
        }
        CloseHandle(local);
    }
}

void cmdTick(const Args& args, Reply& reply)
{
    ArgReader reader = {args, 0, true};
    if (argumentsValid(reader, reply))
        addNumber(reply, GetTickCount());
}

void cmdForeground(const Args& args, Reply& reply)
{
    ArgReader reader = {args, 0, true};
    if (argumentsValid(reader, reply))
        addNumber(reply, static_cast<long long>(handleNumber(GetForegroundWindow())));
}

void cmdSetForeground(const Args& args, Reply& reply)
{
    ArgReader reader = {args, 0, true};
    const HWND window = readWindow(reader);
    if (!argumentsValid(reader, reply) || !validWindow(window, reply))
        return;
    addNumber(reply, SetForegroundWindow(window) ? 1 : 0);
}

const Command commands[] = {
    {"hello", cmdHello},
    {"launch", cmdLaunch},
    {"wait", cmdWait},
    {"terminate", cmdTerminate},
    {"windows", cmdWindows},
    {"children", cmdChildren},
    {"item", cmdItem},
    {"info", cmdInfo},
    {"text", cmdText},
    {"settext", cmdSetText},
    {"send", cmdSend},
    {"sendtext", cmdSendText},
    {"post", cmdPost},
    {"guithread", cmdGuiThread},
    {"items", cmdItems},
    {"select", cmdSelect},
    {"nextdlgctl", cmdNextDlgCtl},
    {"key", cmdKey},
    {"accname", cmdAccName},
    {"keys", cmdKeys},
    {"sync", cmdSync},
    {"icon", cmdIcon},
    {"textfit", cmdTextFit},
    {"pixels", cmdPixels},
    {"regset", cmdRegSet},
    {"regget", cmdRegGet},
    {"reglist", cmdRegList},
    {"regdelete", cmdRegDelete},
    {"regdeletevalue", cmdRegDeleteValue},
    {"regsddl", cmdRegSddl},
    {"resources", cmdResources},
    {"givehandles", cmdGiveHandles},
    {"closehandles", cmdCloseHandles},
    {"tick", cmdTick},
    {"foreground", cmdForeground},
    {"setforeground", cmdSetForeground},
};

void releaseAll()
{
    for (auto& entry : launched)
        CloseHandle(entry.second.process);
    launched.clear();
    for (auto& entry : dataModules)
        FreeLibrary(entry.second);
    dataModules.clear();
}

} // namespace

int main()
{
    // A message queue of its own, which AttachThreadInput needs.
    MSG message;
    PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
    // Wine starts the desktop process on first need; needing it now puts
    // that second on the driver's start rather than the program's.
    GetDesktopWindow();

    serveRequests(commands);
    releaseAll();
    return 0;
}
