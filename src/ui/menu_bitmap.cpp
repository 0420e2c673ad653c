// PLACEHOLDER: replaced by the owner of this file.
#include "ui/menu_bitmap.h"
HBITMAP iconToMenuBitmap(HICON, std::uint32_t) { return nullptr; }
std::uint32_t menuColourPixel() { return 0xFFFFFFFFu; }
SIZE menuIconSize() { return SIZE{16, 16}; }
HBITMAP loadMenuBitmap(int, std::uint32_t) { return nullptr; }
