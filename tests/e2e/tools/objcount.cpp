// Object counter: a DLL that the driver loads into the program under test,
// then calls on a thread of its own there. Wine keeps a process's menus and
// icons in a table private to that process, so they can only be counted from
// inside it; nothing here changes the program's state.
//
// countObjects(kind) returns the number of the process's objects of that kind
// as the thread's exit code: 1 menus, 2 icons and cursors.
#include <windows.h>

namespace {

const ULONG_PTR countMenusKind = 1;
const ULONG_PTR countIconsKind = 2;

// Wine numbers USER handles 0x20 + 2 * slot, slot 0 to 32743; a handle whose
// high word is 0 stands for whatever object holds the slot now.
const ULONG_PTR firstUserHandle = 0x20;
const ULONG_PTR lastUserHandle = 0xFFEE;

DWORD countMenus()
{
    DWORD count = 0;
    for (ULONG_PTR handle = firstUserHandle; handle <= lastUserHandle; handle += 2) {
        if (IsMenu(reinterpret_cast<HMENU>(handle)))
            ++count;
    }
    return count;
}

// GetIconInfo accepts icons and cursors alike; the two bitmaps it copies out
// belong to the caller and go at once, so the process's GDI count is unchanged.
DWORD countIcons()
{
    DWORD count = 0;
    for (ULONG_PTR handle = firstUserHandle; handle <= lastUserHandle; handle += 2) {
        ICONINFO info = {};
        if (!GetIconInfo(reinterpret_cast<HICON>(handle), &info))
            continue;
        ++count;
        if (info.hbmColor != nullptr)
            DeleteObject(info.hbmColor);
        if (info.hbmMask != nullptr)
            DeleteObject(info.hbmMask);
    }
    return count;
}

} // namespace

extern "C" __declspec(dllexport) DWORD WINAPI countObjects(LPVOID kind)
{
    switch (reinterpret_cast<ULONG_PTR>(kind)) {
    case countMenusKind:
        return countMenus();
    case countIconsKind:
        return countIcons();
    default:
        return 0xFFFFFFFFu;
    }
}
