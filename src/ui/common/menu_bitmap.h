// Icons in popup menus: SetMenuItemBitmaps takes opaque bitmaps, so each
// icon is laid over the menu colour. Every menu of the program keeps its
// pictures in one MenuBitmaps.
#ifndef KELVARO_UI_COMMON_MENU_BITMAP_H
#define KELVARO_UI_COMMON_MENU_BITMAP_H

#include "base/owned_handle.h"

#include <windows.h>

#include <cstdint>

constexpr int maxMenuBitmaps = 8;

// The pictures of one showing of a menu, loaded at the size the owner's
// display scale asks for (the menu check-mark size, at least 16 px scaled)
// and laid over the menu colour. They must outlive the menu that shows them:
// declare the holder before the menu.
struct MenuBitmaps {
    explicit MenuBitmaps(HWND owner);

    std::uint32_t colour;   // COLOR_MENU as an opaque pixel
    SIZE iconSize;
    OwnedBitmap held[maxMenuBitmaps];
    int count = 0;
};

// Icon iconId as a menu picture, kept in bitmaps; null when it cannot be
// loaded or converted, or when bitmaps is full. A null picture only leaves
// an entry without an image.
HBITMAP addMenuBitmap(MenuBitmaps& bitmaps, int iconId);

// Shows bitmap beside a menu item, checked or not; a null bitmap leaves the
// item without an image. flags is MF_BYCOMMAND or MF_BYPOSITION.
void attachMenuBitmap(HMENU menu, UINT item, UINT flags, HBITMAP bitmap);

// Both: a new picture of iconId beside the item.
void attachMenuIcon(HMENU menu, UINT item, UINT flags, int iconId, MenuBitmaps& bitmaps);

#endif
