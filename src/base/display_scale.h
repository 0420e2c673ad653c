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

// The whole points of a LOGFONT height at that dpi (the inverse, rounded).
int fontPointsAtDpi(int height, int dpi);

// The dialog manager's horizontal base unit of a font, from the width of its
// 52 letters: their average width in whole pixels, rounded. A dialog unit is
// a quarter of it across, and an eighth of the font's line height down.
int horizontalBaseUnit(int alphabetWidth);

// A dialog template grows with its font's base units. Being whole pixels,
// they grow by other ratios than the display scale (6 px at 100 % but 7 at
// 125 %, that is 117 %), and texts, which grow with the scale, no longer
// fit. A dialog is stretched by what the base units lack.
struct DialogStretch {
    long long numeratorX;
    long long denominatorX;
    long long numeratorY;
    long long denominatorY;
};

// The stretch for a dialog whose font has base units (unitX, unitY) at dpi
// and (unitX96, unitY96) at 96 DPI; none (1 / 1) at 96 DPI or for units
// that are not positive.
DialogStretch dialogStretch(int unitX96, int unitY96, int unitX, int unitY, int dpi);

// A coordinate stretched, rounded to the nearest pixel.
int stretchX(int value, const DialogStretch& stretch);
int stretchY(int value, const DialogStretch& stretch);

#endif
