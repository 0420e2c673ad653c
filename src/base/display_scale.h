// Sizes that follow the display scale. Every size in the program is designed
// for 96 DPI (100 %); a window on a scaled monitor multiplies it by dpi / 96.
#ifndef KELVARO_BASE_DISPLAY_SCALE_H
#define KELVARO_BASE_DISPLAY_SCALE_H

constexpr int defaultDpi = 96;

// value * dpi / 96, rounded half away from zero as MulDiv rounds. A dpi that
// is not positive (no window, an old system) counts as 96.
int scaleForDpi(int value, int dpi);

// The side of a menu item's picture: the system's check-mark side, but never
// less than 16 px at the scale.
int menuIconSide(int checkMarkSide, int dpi);

// The LOGFONT height of a font of that many points at that dpi (negative:
// the character height without the internal leading).
int fontHeightForDpi(int points, int dpi);

#endif
