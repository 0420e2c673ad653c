#include "base/display_scale.h"

#include <cstdint>

namespace {

// value * numerator / denominator, rounded half away from zero (MulDiv).
int mulDivRounded(int value, int numerator, int denominator)
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
