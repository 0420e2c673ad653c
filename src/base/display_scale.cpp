#include "base/display_scale.h"

#include <cstdint>

namespace {

// value * numerator / denominator, rounded half away from zero (MulDiv).
int mulDivRounded(int value, std::int64_t numerator, std::int64_t denominator)
{
    const std::int64_t product = static_cast<std::int64_t>(value) * numerator;
    const std::int64_t magnitude = ((product < 0 ? -product : product) + denominator / 2) / denominator;
    return static_cast<int>(product < 0 ? -magnitude : magnitude);
}

int usableDpi(int dpi)
{
    return dpi > 0 ? dpi : defaultDpi;
}

} // namespace

int scaleForDpi(int value, int dpi)
{
    return mulDivRounded(value, usableDpi(dpi), defaultDpi);
}

int menuIconSide(int checkMarkSide, int dpi)
{
    const int minimum = scaleForDpi(16, dpi);
    return checkMarkSide < minimum ? minimum : checkMarkSide;
}

int fontHeightForDpi(int points, int dpi)
{
    return -mulDivRounded(points, usableDpi(dpi), 72);
}

int fontPointsAtDpi(int height, int dpi)
{
    return mulDivRounded(height < 0 ? -height : height, 72, usableDpi(dpi));
}

int horizontalBaseUnit(int alphabetWidth)
{
    return (alphabetWidth / 26 + 1) / 2;
}

DialogStretch dialogStretch(int unitX96, int unitY96, int unitX, int unitY, int dpi)
{
    if (dpi == defaultDpi || dpi <= 0 || unitX96 <= 0 || unitY96 <= 0 || unitX <= 0 || unitY <= 0)
        return DialogStretch{1, 1, 1, 1};
    return DialogStretch{static_cast<long long>(unitX96) * dpi, static_cast<long long>(unitX) * defaultDpi,
                         static_cast<long long>(unitY96) * dpi, static_cast<long long>(unitY) * defaultDpi};
}

int stretchX(int value, const DialogStretch& stretch)
{
    return mulDivRounded(value, stretch.numeratorX, stretch.denominatorX);
}

int stretchY(int value, const DialogStretch& stretch)
{
    return mulDivRounded(value, stretch.numeratorY, stretch.denominatorY);
}
