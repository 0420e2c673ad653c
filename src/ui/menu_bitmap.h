// Icons in popup menus: SetMenuItemBitmaps takes opaque bitmaps, so each
// icon is laid over the menu colour.
#ifndef KELVARO_UI_MENU_BITMAP_H
#define KELVARO_UI_MENU_BITMAP_H

#include <windows.h>
#include <cstdint>

// The icon's pixels over colour (0xAARRGGBB, alpha 0xFF); the caller keeps
// the icon and deletes the returned bitmap. Null on any failure.
HBITMAP iconToMenuBitmap(HICON icon, std::uint32_t colour);

// COLOR_MENU as an opaque 32-bit pixel value.
std::uint32_t menuColourPixel();

// What every picture of one menu showing shares: the colour it is laid over
// and the size it is loaded at, the menu check-mark size at the owner's
// display scale, at least 16 px scaled.
struct MenuLook {
    std::uint32_t colour;
    SIZE iconSize;
};

MenuLook menuLookFor(HWND owner);

// Loads icon iconId at the look's size and converts it; null when either fails.
HBITMAP loadMenuBitmap(int iconId, const MenuLook& look);

// Shows bitmap beside a menu item, checked or not; a null bitmap leaves the
// item without an image. flags is MF_BYCOMMAND or MF_BYPOSITION.
void attachMenuBitmap(HMENU menu, UINT item, UINT flags, HBITMAP bitmap);

#endif
