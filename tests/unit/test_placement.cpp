// Where the main dialog reappears and where dialogs are centred.
#include "store/placement.h"

#include "fake_registry.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace {

const char* const windowKey = "Software\\Morvane\\Kelvaro V3\\MainWindow";

// A primary 1920 x 1080 monitor with a 40-pixel taskbar at the bottom, and a
// second 1280 x 1024 monitor to its left with its taskbar on top.
const Rect32 primary{0, 0, 1920, 1080};
const Rect32 primaryWork{0, 0, 1920, 1040};
const Rect32 second{-1280, 0, 0, 1024};
const Rect32 secondWork{-1280, 30, 0, 1024};

std::vector<Rect32> lookups;

// Nearest monitor by the rectangle's left edge, as far as these tests need.
void twoMonitors(const Rect32& rect, Rect32& monitor, Rect32& workArea)
{
    lookups.push_back(rect);
    const bool left = rect.left < 0;
    monitor = left ? second : primary;
    workArea = left ? secondWork : primaryWork;
}

void storePosition(const std::string& keyPath, std::int32_t x, std::int32_t y, std::int32_t cx, std::int32_t cy)
{
    fakeRegistry::setDword(keyPath, "X", static_cast<std::uint32_t>(x));
    fakeRegistry::setDword(keyPath, "Y", static_cast<std::uint32_t>(y));
    fakeRegistry::setDword(keyPath, "CX", static_cast<std::uint32_t>(cx));
    fakeRegistry::setDword(keyPath, "CY", static_cast<std::uint32_t>(cy));
}

std::string monitorKey(const Rect32& monitor)
{
    char path[256];
    formatMonitorKeyPath(path, sizeof path, windowKey, monitor);
    return path;
}

struct PlacementTest : ::testing::Test {
    void SetUp() override
    {
        fakeRegistry::reset();
        lookups.clear();
    }
    void TearDown() override { fakeRegistry::reset(); }
};

const Rect32 created{860, 400, 1120, 680};   // 260 x 280

} // namespace

TEST(PlacementArithmetic, MovesIntoTheWorkAreaWithoutResizing)
{
    struct Case {
        Rect32 rect;
        Rect32 moved;
    };
    const Case cases[] = {
        {{100, 100, 360, 380}, {100, 100, 360, 380}},
        {{1800, 100, 2060, 380}, {1660, 100, 1920, 380}},      // beyond the right edge
        {{100, 900, 360, 1180}, {100, 760, 360, 1040}},        // over the taskbar
        {{-50, -20, 210, 260}, {0, 0, 260, 280}},              // off the top-left corner
        {{1800, 950, 2060, 1230}, {1660, 760, 1920, 1040}},    // both right and bottom
        {{-10, -10, 2000, 1100}, {0, 0, 2010, 1110}},          // larger: left and top win
    };
    for (const Case& c : cases) {
        const Rect32 moved = moveIntoWorkArea(c.rect, primaryWork);
        EXPECT_TRUE(moved == c.moved) << moved.left << "," << moved.top << "," << moved.right << "," << moved.bottom;
    }
}

TEST(PlacementArithmetic, MovesWithNegativeCoordinatesOnASecondMonitor)
{
    EXPECT_TRUE(moveIntoWorkArea({-1400, 10, -1140, 290}, secondWork) == (Rect32{-1280, 30, -1020, 310}));
    EXPECT_TRUE(moveIntoWorkArea({-100, 900, 160, 1180}, secondWork) == (Rect32{-260, 744, 0, 1024}));
    EXPECT_TRUE(moveIntoWorkArea({-1300, 0, 100, 1100}, secondWork) == (Rect32{-1280, 30, 120, 1130}));
}

TEST(PlacementArithmetic, ExtremeCoordinatesStayDefined)
{
    Rect32 rect{};
    EXPECT_FALSE(rectFromPosition(INT_MAX - 5, 0, 10, 10, rect));
    EXPECT_FALSE(rectFromPosition(0, INT_MAX, 0, 1, rect));
    // Negative sizes that would wrap into an upright rectangle.
    EXPECT_FALSE(rectFromPosition(INT_MIN, 0, -1, 10, rect));
    EXPECT_FALSE(rectFromPosition(0, 0, 10, -1, rect));
    ASSERT_TRUE(rectFromPosition(INT_MIN, -5, INT_MAX, 0, rect));
    EXPECT_TRUE(rect == (Rect32{INT_MIN, -5, -1, -5}));
    const Rect32 huge = moveIntoWorkArea({INT_MIN, INT_MIN, -1, -1}, primaryWork);
    EXPECT_TRUE(huge == (Rect32{0, 0, INT_MAX, INT_MAX}));
}

TEST(PlacementArithmetic, MonitorSubkeyNamesAreSignedDecimals)
{
    EXPECT_EQ(monitorKey(primary), std::string(windowKey) + "\\MonitorRectangle(0,0,1920,1080)");
    EXPECT_EQ(monitorKey(second), std::string(windowKey) + "\\MonitorRectangle(-1280,0,0,1024)");
}

TEST(PlacementArithmetic, WorkspaceCoordinatesShiftByTheWorkAreaOffset)
{
    const Rect32 shifted = workspaceToScreen({100, 100, 360, 380}, second, secondWork);
    EXPECT_TRUE(shifted == (Rect32{100, 130, 360, 410}));
    EXPECT_TRUE(workspaceToScreen({5, 6, 7, 8}, primary, primaryWork) == (Rect32{5, 6, 7, 8}));
}

TEST_F(PlacementTest, FirstRunKeepsTheCreatedPositionInsideTheWorkArea)
{
    EXPECT_TRUE(restoredPosition(windowKey, created, twoMonitors) == created);
    const Rect32 low{860, 900, 1120, 1180};
    EXPECT_TRUE(restoredPosition(windowKey, low, twoMonitors) == (Rect32{860, 760, 1120, 1040}));
    EXPECT_EQ(fakeRegistry::valueCount(), 0u);
}

TEST_F(PlacementTest, ReopensWhereSavedWhenTheMonitorIsUnchanged)
{
    storePosition(windowKey, 100, 200, 260, 280);
    storePosition(monitorKey(primary), 100, 200, 260, 280);
    EXPECT_TRUE(restoredPosition(windowKey, created, twoMonitors) == (Rect32{100, 200, 360, 480}));
    ASSERT_EQ(lookups.size(), 1u);
    EXPECT_EQ(lookups[0].left, 100);

    storePosition(windowKey, -1000, 300, 260, 280);
    storePosition(monitorKey(second), -1000, 300, 260, 280);
    EXPECT_TRUE(restoredPosition(windowKey, created, twoMonitors) == (Rect32{-1000, 300, -740, 580}));
}

TEST_F(PlacementTest, SavedPositionOverTheTaskbarMovesJustClear)
{
    storePosition(windowKey, 500, 900, 260, 280);
    storePosition(monitorKey(primary), 500, 900, 260, 280);
    EXPECT_TRUE(restoredPosition(windowKey, created, twoMonitors) == (Rect32{500, 760, 760, 1040}));
}

TEST_F(PlacementTest, TheWindowsOwnSizeFitsWhateverSizeWasStored)
{
    // Edited sizes, or a window that has since changed its size: the stored
    // rectangle fits where the window, 260 x 280, would hang off the screen.
    struct Case {
        std::int32_t x, y, cx, cy;
        Rect32 restored;
    };
    const Case cases[] = {
        {1919, 1040, 0, 0, {1660, 760, 1920, 1040}},
        {1800, 100, 10, 10, {1660, 100, 1920, 380}},
        {0, 1039, 1, 1, {0, 760, 260, 1040}},
        {INT_MAX - 1, INT_MAX - 1, 1, 1, {1660, 760, 1920, 1040}},
        {500, 100, 3000, 2000, {0, 0, 260, 280}},          // larger than the work area: its top-left corner
        {500, 100, 200, 200, {500, 100, 760, 380}},        // smaller, and the window fits there: kept
    };
    for (const Case& c : cases) {
        fakeRegistry::reset();
        storePosition(windowKey, c.x, c.y, c.cx, c.cy);
        storePosition(monitorKey(primary), c.x, c.y, c.cx, c.cy);
        const Rect32 restored = restoredPosition(windowKey, created, twoMonitors);
        EXPECT_TRUE(restored == c.restored) << c.x << "," << c.y << " " << c.cx << "x" << c.cy << ": " << restored.left
                                            << "," << restored.top << "," << restored.right << "," << restored.bottom;
    }
}

TEST_F(PlacementTest, ChangedMonitorFallsBackToTheCreatedPositionOnThatMonitor)
{
    // Saved on the left monitor when it was 1024 x 768; it is 1280 x 1024 now.
    const Rect32 oldSecond{-1024, 0, 0, 768};
    storePosition(windowKey, -1000, 300, 260, 280);
    storePosition(monitorKey(oldSecond), -1000, 300, 260, 280);
    // The created position is moved into the left monitor's work area.
    EXPECT_TRUE(restoredPosition(windowKey, created, twoMonitors) == (Rect32{-260, 400, 0, 680}));
}

TEST_F(PlacementTest, StoredValuesThatDisagreeOrAreMissingAreIgnored)
{
    storePosition(windowKey, 100, 200, 260, 280);
    storePosition(monitorKey(primary), 100, 201, 260, 280);
    EXPECT_TRUE(restoredPosition(windowKey, created, twoMonitors) == created);

    fakeRegistry::reset();
    storePosition(windowKey, 100, 200, 260, 280);
    storePosition(monitorKey(primary), 100, 200, 260, 280);
    fakeRegistry::setRaw(monitorKey(primary), "CY", fakeRegistry::regBinary, {24, 1, 0, 0});
    EXPECT_TRUE(restoredPosition(windowKey, created, twoMonitors) == created);

    fakeRegistry::reset();
    storePosition(windowKey, 100, 200, 260, 280);
    storePosition(monitorKey(primary), 100, 200, 260, 280);
    fakeRegistry::setRaw(windowKey, "Y", fakeRegistry::regDword, {1, 0, 0, 0, 0, 0, 0, 0});
    EXPECT_TRUE(restoredPosition(windowKey, created, twoMonitors) == created);
}

TEST_F(PlacementTest, NegativeWidthOrHeightIsIgnored)
{
    storePosition(windowKey, 100, 200, -260, 280);
    storePosition(monitorKey(primary), 100, 200, -260, 280);
    EXPECT_TRUE(restoredPosition(windowKey, created, twoMonitors) == created);
    // The monitor lookup is made for the created rectangle, not the stored one.
    ASSERT_EQ(lookups.size(), 1u);
    EXPECT_EQ(lookups[0].left, created.left);

    fakeRegistry::reset();
    storePosition(windowKey, 100, 200, 260, -1);
    storePosition(monitorKey(primary), 100, 200, 260, -1);
    EXPECT_TRUE(restoredPosition(windowKey, created, twoMonitors) == created);

    // A negative width that would wrap around 32 bits into an upright rectangle.
    fakeRegistry::reset();
    storePosition(windowKey, INT_MIN, 200, -1, 280);
    storePosition(monitorKey(second), INT_MIN, 200, -1, 280);
    EXPECT_TRUE(restoredPosition(windowKey, created, twoMonitors) == created);
}

TEST_F(PlacementTest, SaveWritesTheKeyThenTheMonitorSubkey)
{
    EXPECT_EQ(writeStoredPosition(windowKey, {-1000, -5, -740, 275}, second), 0u);
    const auto& writes = fakeRegistry::writes();
    ASSERT_EQ(writes.size(), 8u);
    const char* names[] = {"X", "Y", "CX", "CY"};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(writes[i].keyPath, i < 4 ? std::string(windowKey) : monitorKey(second)) << i;
        EXPECT_EQ(writes[i].name, names[i % 4]) << i;
        EXPECT_EQ(writes[i].type, fakeRegistry::regDword) << i;
    }
    EXPECT_EQ(fakeRegistry::dwordOf(windowKey, "X"), static_cast<std::uint32_t>(-1000));
    EXPECT_EQ(fakeRegistry::dwordOf(windowKey, "Y"), static_cast<std::uint32_t>(-5));
    EXPECT_EQ(fakeRegistry::dwordOf(windowKey, "CX"), 260u);
    EXPECT_EQ(fakeRegistry::dwordOf(windowKey, "CY"), 280u);
    // What was saved is found again.
    EXPECT_TRUE(restoredPosition(windowKey, created, twoMonitors) == (Rect32{-1000, 30, -740, 310}));
}

TEST_F(PlacementTest, SaveAttemptsAllEightWritesAndReportsTheFirstError)
{
    fakeRegistry::failWrites([](const std::string& keyPath, const std::string& name) -> unsigned long {
        if (keyPath == windowKey && name == "CX")
            return 5;
        return keyPath == windowKey ? 0 : 1021;
    });
    EXPECT_EQ(writeStoredPosition(windowKey, {1, 2, 3, 4}, primary), 5u);
    EXPECT_EQ(fakeRegistry::writes().size(), 8u);

    fakeRegistry::reset();
    fakeRegistry::failWrites([](const std::string& keyPath, const std::string&) -> unsigned long {
        return keyPath == windowKey ? 0 : 1021;
    });
    EXPECT_EQ(writeStoredPosition(windowKey, {1, 2, 3, 4}, primary), 1021u);
}

TEST(Centring, CentresOverTheOwner)
{
    const Rect32 window{0, 0, 300, 200};
    const Point32 p = centredTopLeft(window, window, {500, 300, 1101, 701}, primaryWork);
    // (601 - 300) / 2 = 150, (401 - 200) / 2 = 100
    EXPECT_EQ(p.x, 650);
    EXPECT_EQ(p.y, 400);
}

TEST(Centring, WithoutOwnerCentresInTheWorkArea)
{
    const Rect32 window{10, 10, 310, 210};
    const Point32 p = centredTopLeft(window, window, secondWork, secondWork);
    EXPECT_EQ(p.x, -1280 + (1280 - 300) / 2);
    EXPECT_EQ(p.y, 30 + (994 - 200) / 2);
}

TEST(Centring, KeepsTheVisibleFrameInsideTheWorkArea)
{
    // Invisible 7-pixel resize borders on the left, right and bottom: the
    // visible frame is 15 pixels narrower and 7 lower than the window.
    const Rect32 window{0, 0, 300, 200};
    const Rect32 frame{7, 0, 292, 193};
    // Margins (285 - 300) / 2 = -7 and (193 - 200) / 2 = -3, rounded toward zero.
    const Point32 right = centredTopLeft(window, frame, {1800, 900, 2100, 1100}, primaryWork);
    EXPECT_EQ(right.x, 1920 - 300 + 7);
    EXPECT_EQ(right.y, 1040 - 200 + 3);
    const Point32 left = centredTopLeft(window, frame, {-200, -100, 100, 100}, primaryWork);
    EXPECT_EQ(left.x, -7);
    EXPECT_EQ(left.y, -3);
}

TEST(Centring, AFrameLargerThanTheWindowKeepsItsMarginInside)
{
    const Rect32 window{0, 0, 100, 100};
    const Rect32 frame{-3, -3, 104, 104};   // margins (107 - 100) / 2 = 3
    const Point32 p = centredTopLeft(window, frame, {-100, -100, 0, 0}, primaryWork);
    EXPECT_EQ(p.x, 3);
    EXPECT_EQ(p.y, 3);
}
