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

// The size menu icons are requested at: the menu check mark size, at least 16.
SIZE menuIconSize();

// Loads icon iconId at menuIconSize() and converts it; null when either fails.
HBITMAP loadMenuBitmap(int iconId, std::uint32_t colour);

// Shows bitmap beside a menu item, checked or not; a null bitmap leaves the
// item without an image. flags is MF_BYCOMMAND or MF_BYPOSITION.
void attachMenuBitmap(HMENU menu, UINT item, UINT flags, HBITMAP bitmap);

#endif
