// Menu icons: the icon's colour pixels, alpha included, laid over the menu
// colour into an opaque bitmap. The icon's mask is never read.
#include "ui/common/menu_bitmap.h"

#include "base/process.h"
#include "base/display_scale.h"
#include "base/display_scale_win.h"
#include "base/owned_handle.h"
#include "base/pixel_buffer.h"

#include <cstddef>

static_assert(sizeof(PixelBufferHeader) == sizeof(BITMAPINFOHEADER), "header mirrors BITMAPINFOHEADER");
static_assert(offsetof(PixelBufferHeader, biWidth) == offsetof(BITMAPINFOHEADER, biWidth), "biWidth");
static_assert(offsetof(PixelBufferHeader, biHeight) == offsetof(BITMAPINFOHEADER, biHeight), "biHeight");
static_assert(offsetof(PixelBufferHeader, biPlanes) == offsetof(BITMAPINFOHEADER, biPlanes), "biPlanes");
static_assert(offsetof(PixelBufferHeader, biBitCount) == offsetof(BITMAPINFOHEADER, biBitCount), "biBitCount");
static_assert(offsetof(PixelBufferHeader, biCompression) == offsetof(BITMAPINFOHEADER, biCompression), "biCompression");
static_assert(offsetof(PixelBufferHeader, biClrImportant) == offsetof(BITMAPINFOHEADER, biClrImportant), "biClrImportant");
static_assert(sizeof(PixelBufferInfo) == sizeof(BITMAPINFO), "info mirrors BITMAPINFO");

namespace {

BITMAPINFO* asBitmapInfo(PixelBufferInfo& info)
{
    return reinterpret_cast<BITMAPINFO*>(&info);
}

// The two bitmaps GetIconInfo hands over belong to the caller.
struct IconBitmaps {
    OwnedBitmap colour;
    OwnedBitmap mask;
};

HBITMAP blendIntoBitmap(HBITMAP colourBitmap, int width, int height, std::uint32_t colour)
{
    OwnedMemoryDc dc(CreateCompatibleDC(nullptr));
    if (!dc)
        return nullptr;
    PixelBuffer32 source;
    PixelBuffer32 destination;
    if (!source.resize(height, width, false, 0) || !destination.resize(height, width, true, colour))
        return nullptr;
    PixelBufferInfo readInfo = source.info;
    if (GetDIBits(dc.get(), colourBitmap, 0, static_cast<UINT>(height), source.pixels(), asBitmapInfo(readInfo),
                  DIB_RGB_COLORS) != height)
        return nullptr;
    if (!blendOver(destination, source, height, width))
        return nullptr;
    OwnedBitmap result(CreateBitmap(width, height, 1, 32, nullptr));
    if (!result || !GdiFlush())
        return nullptr;
    if (SetDIBits(dc.get(), result.get(), 0, static_cast<UINT>(height), destination.pixels(),
                  asBitmapInfo(destination.info), DIB_RGB_COLORS) != height)
        return nullptr;
    return result.take();
}

// The icon's pixels over colour (0xAARRGGBB, alpha 0xFF); the caller keeps
// the icon and deletes the returned bitmap. Null on any failure.
HBITMAP iconToMenuBitmap(HICON icon, std::uint32_t colour)
{
    ICONINFO iconInfo{};
    if (icon == nullptr || !GetIconInfo(icon, &iconInfo))
        return nullptr;
    const IconBitmaps bitmaps{OwnedBitmap(iconInfo.hbmColor), OwnedBitmap(iconInfo.hbmMask)};
    BITMAP bitmap{};
    if (!bitmaps.colour || GetObjectA(bitmaps.colour.get(), sizeof bitmap, &bitmap) == 0)
        return nullptr;
    return blendIntoBitmap(bitmaps.colour.get(), bitmap.bmWidth, bitmap.bmHeight, colour);
}

std::uint32_t menuColourPixel()
{
    const COLORREF colour = GetSysColor(COLOR_MENU);
    return 0xFF000000u | (static_cast<std::uint32_t>(GetRValue(colour)) << 16)
           | (static_cast<std::uint32_t>(GetGValue(colour)) << 8) | GetBValue(colour);
}

} // namespace

MenuBitmaps::MenuBitmaps(HWND owner) : colour(menuColourPixel())
{
    const int dpi = windowDpi(owner);
    iconSize = SIZE{menuIconSide(systemMetricForDpi(SM_CXMENUCHECK, dpi), dpi),
                    menuIconSide(systemMetricForDpi(SM_CYMENUCHECK, dpi), dpi)};
}

HBITMAP addMenuBitmap(MenuBitmaps& bitmaps, int iconId)
{
    if (bitmaps.count >= maxMenuBitmaps)
        return nullptr;
    const OwnedIcon icon(static_cast<HICON>(LoadImageA(app.instance, MAKEINTRESOURCEA(iconId), IMAGE_ICON,
                                                       bitmaps.iconSize.cx, bitmaps.iconSize.cy, LR_DEFAULTCOLOR)));
    if (!icon)
        return nullptr;
    OwnedBitmap& slot = bitmaps.held[bitmaps.count];
    slot.reset(iconToMenuBitmap(icon.get(), bitmaps.colour));
    if (slot)
        ++bitmaps.count;
    return slot.get();
}

void attachMenuBitmap(HMENU menu, UINT item, UINT flags, HBITMAP bitmap)
{
    if (bitmap != nullptr)
        SetMenuItemBitmaps(menu, item, flags, bitmap, bitmap);
}

void attachMenuIcon(HMENU menu, UINT item, UINT flags, int iconId, MenuBitmaps& bitmaps)
{
    attachMenuBitmap(menu, item, flags, addMenuBitmap(bitmaps, iconId));
}
