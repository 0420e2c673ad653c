// A move-only holder for one Win32 handle and the call that frees it, so
// that every early return gives back what was taken.
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
inline void freeIcon(HICON icon) { DestroyIcon(icon); }
inline void freeMemoryDc(HDC dc) { DeleteDC(dc); }
inline void freeMenu(HMENU menu) { DestroyMenu(menu); }

using OwnedBitmap = OwnedHandle<HBITMAP, freeBitmap>;
using OwnedIcon = OwnedHandle<HICON, freeIcon>;
using OwnedMemoryDc = OwnedHandle<HDC, freeMemoryDc>;
using OwnedMenu = OwnedHandle<HMENU, freeMenu>;

#endif
