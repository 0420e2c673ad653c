// Move-only holders for Win32 handles and COM references, each with
// the call that frees it, so that every early return gives back what was taken.
#ifndef KELVARO_BASE_OWNED_HANDLE_H
#define KELVARO_BASE_OWNED_HANDLE_H

#include <windows.h>

template <typename Handle, void (*freeHandle)(Handle)>
class OwnedHandle {
public:
    OwnedHandle() = default;
    explicit OwnedHandle(Handle handle) : handle_(handle) {}
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;
    OwnedHandle(OwnedHandle&& other) noexcept : handle_(other.take()) {}
    OwnedHandle& operator=(OwnedHandle&& other) noexcept
    {
        if (this != &other)
            reset(other.take());
        return *this;
    }
    ~OwnedHandle() { reset(); }

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }

    // Gives up ownership without freeing.
    Handle take()
    {
        Handle handle = handle_;
        handle_ = nullptr;
        return handle;
    }

    // Frees what is held and lends the empty slot to a call that hands a
    // new handle out through a pointer.
    Handle* receive()
    {
        reset();
        return &handle_;
    }

    void reset(Handle handle = nullptr)
    {
        if (handle_ != nullptr)
            freeHandle(handle_);
        handle_ = handle;
    }

private:
    Handle handle_ = nullptr;
};

inline void freeBitmap(HBITMAP bitmap) { DeleteObject(bitmap); }
inline void freeBrush(HBRUSH brush) { DeleteObject(brush); }
inline void freeFont(HFONT font) { DeleteObject(font); }
inline void freeIcon(HICON icon) { DestroyIcon(icon); }
inline void freeKey(HKEY key) { RegCloseKey(key); }
inline void freeMemoryDc(HDC dc) { DeleteDC(dc); }
inline void freeMenu(HMENU menu) { DestroyMenu(menu); }
inline void freeModule(HMODULE module) { FreeLibrary(module); }
inline void freeFontResource(HANDLE font) { RemoveFontMemResourceEx(font); }
inline void freePen(HPEN pen) { DeleteObject(pen); }
template <typename Interface>
void releaseInterface(Interface* reference) { reference->Release(); }

using OwnedBitmap = OwnedHandle<HBITMAP, freeBitmap>;
using OwnedBrush = OwnedHandle<HBRUSH, freeBrush>;
using OwnedFont = OwnedHandle<HFONT, freeFont>;
using OwnedIcon = OwnedHandle<HICON, freeIcon>;
using OwnedKey = OwnedHandle<HKEY, freeKey>;
using OwnedMemoryDc = OwnedHandle<HDC, freeMemoryDc>;
using OwnedMenu = OwnedHandle<HMENU, freeMenu>;
using OwnedModule = OwnedHandle<HMODULE, freeModule>;
using OwnedFontResource = OwnedHandle<HANDLE, freeFontResource>;   // from AddFontMemResourceEx
using OwnedPen = OwnedHandle<HPEN, freePen>;
// One reference to a COM interface.
template <typename Interface>
using ComRef = OwnedHandle<Interface*, releaseInterface<Interface>>;

// An object selected into a device context, which gets its previous object
// back when the holder goes. A null object selects nothing.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(object != nullptr ? SelectObject(dc, object) : nullptr) {}
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;
    ~SelectedObject()
    {
        if (previous_ != nullptr && previous_ != HGDI_ERROR)
            SelectObject(dc_, previous_);
    }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// A window's device context from GetDC or GetWindowDC (the screen's for a
// null window), released to that window.
class WindowDc {
public:
    WindowDc(HWND window, HDC dc) : window_(window), dc_(dc) {}
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    ~WindowDc()
    {
        if (dc_ != nullptr)
            ReleaseDC(window_, dc_);
    }

    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HWND window_;
    HDC dc_;
};

#endif
