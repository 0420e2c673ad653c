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

TEST(DisplayScale, FontPointsComeBackFromTheHeightAtEachScale)
{
    for (int dpi : {96, 120, 144, 168, 192, 288})
        EXPECT_EQ(fontPointsAtDpi(fontHeightForDpi(8, dpi), dpi), 8) << dpi;
    EXPECT_EQ(fontPointsAtDpi(13, 120), 8);   // 7.8: a positive cell height reads the same
}

TEST(DisplayScale, DialogsGrowByTheScaleWhateverTheirFontsBaseUnitsRoundTo)
{
    // The base units of the dialogs' 8-point face measured under Wine, and
    // the main dialog's template, 170 x 159 dialog units (255 x 298 px at 100 %).
    struct Case {
        int dpi, unitX, unitY;
    };
    const Case cases[] = {{120, 7, 17}, {144, 8, 21}, {168, 10, 26}, {192, 11, 28}};
    for (const Case& scale : cases) {
        const DialogStretch stretch = dialogStretch(6, 15, scale.unitX, scale.unitY, scale.dpi);
        const int width = stretchX(170 * scale.unitX / 4, stretch);
        const int height = stretchY(159 * scale.unitY / 8, stretch);
        EXPECT_NEAR(width, 255 * scale.dpi / 96.0, 1.0) << scale.dpi;
        EXPECT_NEAR(height, 298 * scale.dpi / 96.0, 1.5) << scale.dpi;
        EXPECT_EQ(stretchX(0, stretch), 0);
    }
    EXPECT_EQ(horizontalBaseUnit(312), 6);   // 12 px average width: half, rounded up
    EXPECT_EQ(horizontalBaseUnit(311), 6);
    EXPECT_EQ(horizontalBaseUnit(416), 8);
}

TEST(DisplayScale, NoStretchAtOneHundredPercentOrWithoutUnits)
{
    for (const DialogStretch& stretch : {dialogStretch(6, 15, 6, 15, 96), dialogStretch(6, 15, 8, 21, 96),
                                         dialogStretch(0, 15, 8, 21, 144), dialogStretch(6, 15, 8, -1, 144)}) {
        for (int value : {-5, 0, 1, 255, 298})
            EXPECT_EQ(stretchX(value, stretch) + stretchY(value, stretch), 2 * value);
    }
}

} // namespace
