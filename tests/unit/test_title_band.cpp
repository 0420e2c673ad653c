// The title band of a timer panel and the names edited in it.
#include "fake_platform.h"
#include "resource.h"
#include "settings/settings.h"
#include "base/geometry.h"
#include "base/strings.h"
#include "settings/settings_rules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

// Timer #2's panel at 96 DPI, in client pixels: the group box and its button.
const Rect32 group = {6, 78, 249, 146};
const Rect32 button = {12, 93, 90, 139};

TEST(TitleBand, RunsFromTheButtonToTheSameInsetOnTheRightAndAboveTheButton)
{
    const Rect32 band = titleBandRect(group, button);
    EXPECT_EQ(band.left, 12);
    EXPECT_EQ(band.right, 243);   // 249 - (12 - 6)
    EXPECT_EQ(band.top, 78);
    EXPECT_EQ(band.bottom, 92);   // one pixel above the button
}

TEST(TitleBand, LowerEdgesAreInsideAndUpperEdgesOutside)
{
    struct Case {
        long x, y;
        bool inside;
    };
    const Case cases[] = {
        {12, 78, true},     // top-left corner
        {242, 91, true},    // last pixel before the upper edges
        {243, 85, false},   // right edge
        {100, 92, false},   // bottom edge: the row just above the button
        {11, 85, false},    // left of the button's edge
        {100, 77, false},   // above the group box
        {50, 93, false},    // the button's top row
        {50, 120, false},   // inside the button
        {8, 120, false},    // group box frame beside the button
    };
    for (const Case& c : cases)
        EXPECT_EQ(pointInRect(titleBandRect(group, button), c.x, c.y), c.inside) << c.x << "," << c.y;
}

TEST(TitleBand, EdgesTheWrongWayRoundAreSwapped)
{
    // A button further right than the middle of the group box, and one whose
    // top lies above the group box: the band is still the span between.
    const Rect32 wideButton = {200, 93, 240, 139};
    const Rect32 band = titleBandRect(group, wideButton);
    EXPECT_EQ(band.left, 55);     // 6 + 249 - 200
    EXPECT_EQ(band.right, 200);
    EXPECT_TRUE(pointInRect(titleBandRect(group, wideButton), 55, 78));
    EXPECT_FALSE(pointInRect(titleBandRect(group, wideButton), 200, 78));

    const Rect32 highButton = {12, 60, 90, 139};
    const Rect32 high = titleBandRect(group, highButton);
    EXPECT_EQ(high.top, 59);
    EXPECT_EQ(high.bottom, 78);
    EXPECT_TRUE(pointInRect(titleBandRect(group, highButton), 20, 59));
    EXPECT_FALSE(pointInRect(titleBandRect(group, highButton), 20, 78));
}

TEST(TitleBand, AnEmptyBandHoldsNoPoint)
{
    // A button flush with the group box's top leaves no caption line.
    const Rect32 flushButton = {12, 79, 90, 139};
    EXPECT_FALSE(pointInRect(titleBandRect(group, flushButton), 20, 78));
    EXPECT_FALSE(pointInRect(titleBandRect(group, flushButton), 20, 79));
}

struct TimerNameTest : ::testing::Test {
    void TearDown() override
    {
        useCodePage(0);
        restoreStrings();
    }
};

std::string storedName(std::string typed, unsigned defaultNameId = IDS_DEFAULT_TIMER_NAME2)
{
    char defaultName[labelSize];
    loadString(defaultNameId, defaultName, sizeof defaultName);
    return tidyName(typed.c_str(), defaultName);
}

TEST_F(TimerNameTest, TypedNamesAreStoredWithoutSurroundingBlanks)
{
    EXPECT_EQ(storedName("  Tea  "), "Tea");
    EXPECT_EQ(storedName("\tTea for two\r\n"), "Tea for two");
    EXPECT_EQ(storedName("&Coffee Break"), "&Coffee Break");
}

TEST_F(TimerNameTest, NothingLeftAfterTrimmingGivesThePanelsDefaultName)
{
    EXPECT_EQ(storedName(""), "Timer #&2");
    EXPECT_EQ(storedName("   \t "), "Timer #&2");
    EXPECT_EQ(storedName("", IDS_DEFAULT_TIMER_NAME1), "Timer #&1");
    EXPECT_EQ(storedName(" ", IDS_DEFAULT_TIMER_NAME3), "Timer #&3");
}

TEST_F(TimerNameTest, StoredNamesNeverExceedThirtyBytesNorSplitACharacter)
{
    const std::string thirty(30, 'n');
    EXPECT_EQ(storedName("  " + thirty + "  "), thirty);
    EXPECT_EQ(storedName(thirty + "more"), thirty);

    // An edit control limits characters, not bytes: 16 double-byte
    // characters are 32 bytes, of which 15 whole characters fit.
    useCodePage(932);
    std::string sixteen;
    for (int i = 0; i < 16; ++i)
        sixteen += "\x83\x5c";
    EXPECT_EQ(storedName(sixteen), sixteen.substr(0, 30));
    EXPECT_EQ(storedName("a" + sixteen), "a" + sixteen.substr(0, 28));
}

TEST_F(TimerNameTest, ABlankLeftAtTheEndByTheCutIsRemovedToo)
{
    // Fourteen characters and a blank fill 29 bytes; the next character does
    // not fit, and the name must not end in the blank before it.
    useCodePage(932);
    std::string fourteen;
    for (int i = 0; i < 14; ++i)
        fourteen += "\x95\x5c";
    EXPECT_EQ(storedName(fourteen + " \x83\x5c"), fourteen);
    EXPECT_EQ(storedName(" " + fourteen + "\t\x83\x5c  "), fourteen);
    EXPECT_EQ(storedName(std::string(29, 'n') + " more"), std::string(29, 'n'));
}

TEST_F(TimerNameTest, DefaultNameComparisonIsByteWise)
{
    EXPECT_TRUE(isDefaultTimerName("Timer #&2", IDS_DEFAULT_TIMER_NAME2));
    EXPECT_FALSE(isDefaultTimerName("Timer #&2", IDS_DEFAULT_TIMER_NAME1));
    EXPECT_FALSE(isDefaultTimerName("Timer #&2 ", IDS_DEFAULT_TIMER_NAME2));   // the template's caption
    EXPECT_FALSE(isDefaultTimerName("timer #&2", IDS_DEFAULT_TIMER_NAME2));
    EXPECT_FALSE(isDefaultTimerName("", IDS_DEFAULT_TIMER_NAME2));

    overrideString(IDS_DEFAULT_TIMER_NAME2, "Minuteur #&2");
    EXPECT_TRUE(isDefaultTimerName("Minuteur #&2", IDS_DEFAULT_TIMER_NAME2));
    EXPECT_EQ(storedName(" "), "Minuteur #&2");
}

} // namespace
