// Sizes designed at 96 DPI, scaled to the DPI of a window's monitor.
#include "base/display_scale.h"

#include <gtest/gtest.h>

namespace {

TEST(DisplayScale, IconSidesAtTheCommonScales)
{
    struct Case {
        int dpi, small, large;
    };
    const Case cases[] = {
        {96, 16, 32}, {120, 20, 40}, {144, 24, 48}, {168, 28, 56}, {192, 32, 64}, {288, 48, 96},
    };
    for (const Case& scale : cases) {
        EXPECT_EQ(scaleForDpi(16, scale.dpi), scale.small) << scale.dpi;
        EXPECT_EQ(scaleForDpi(32, scale.dpi), scale.large) << scale.dpi;
    }
}

TEST(DisplayScale, HalvesRoundAwayFromZeroAsMulDivDoes)
{
    EXPECT_EQ(scaleForDpi(2, 120), 3);     // 2.5 at 125 %
    EXPECT_EQ(scaleForDpi(1, 120), 1);     // 1.25
    EXPECT_EQ(scaleForDpi(3, 120), 4);     // 3.75
    EXPECT_EQ(scaleForDpi(1, 168), 2);     // 1.75 at 175 %
    EXPECT_EQ(scaleForDpi(2, 168), 4);     // 3.5
    EXPECT_EQ(scaleForDpi(5, 168), 9);     // 8.75
    EXPECT_EQ(scaleForDpi(1, 144), 2);     // 1.5
    EXPECT_EQ(scaleForDpi(-2, 120), -3);   // an offset to the left grows the same way
    EXPECT_EQ(scaleForDpi(-1, 144), -2);
}

TEST(DisplayScale, NinetySixAndUnknownDpiLeaveSizesAlone)
{
    for (int value : {-7, 0, 1, 2, 16, 32, 1000}) {
        EXPECT_EQ(scaleForDpi(value, 96), value);
        EXPECT_EQ(scaleForDpi(value, 0), value);    // no window
        EXPECT_EQ(scaleForDpi(value, -96), value);
    }
    EXPECT_EQ(scaleForDpi(30000000, 192), 60000000);   // no overflow inside the multiplication
}

TEST(DisplayScale, MenuIconsAreTheCheckMarkSizeButAtLeastSixteenScaled)
{
    EXPECT_EQ(menuIconSide(13, 96), 16);    // Windows at 100 %
    EXPECT_EQ(menuIconSide(11, 96), 16);    // Wine at 100 %
    EXPECT_EQ(menuIconSide(19, 144), 24);   // Wine at 150 %
    EXPECT_EQ(menuIconSide(15, 120), 20);
    EXPECT_EQ(menuIconSide(28, 168), 28);
    EXPECT_EQ(menuIconSide(40, 192), 40);   // a larger system size wins
}

TEST(DisplayScale, EightPointFontHeights)
{
    EXPECT_EQ(fontHeightForDpi(8, 96), -11);    // 10.67
    EXPECT_EQ(fontHeightForDpi(8, 120), -13);   // 13.33
    EXPECT_EQ(fontHeightForDpi(8, 144), -16);
    EXPECT_EQ(fontHeightForDpi(8, 168), -19);   // 18.67
    EXPECT_EQ(fontHeightForDpi(8, 192), -21);   // 21.33
    EXPECT_EQ(fontHeightForDpi(8, 0), -11);
}

} // namespace
