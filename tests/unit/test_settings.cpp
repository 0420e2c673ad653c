// The settings record before anything is loaded, and the registry key that
// follows the program's major version.
#include "settings/settings.h"

#include <gtest/gtest.h>

TEST(SettingsRecord, StartsWithDefaultNumbersOptionsAndEmptyTexts)
{
    const std::uint32_t values[timerCount] = {90000, 300000, 3600000};
    for (int i = 0; i < timerCount; ++i) {
        EXPECT_EQ(settings.timers[i].valueMs, values[i]);
        EXPECT_EQ(settings.timers[i].unit, static_cast<std::uint32_t>(i + 1));
        EXPECT_EQ(settings.timers[i].event, static_cast<std::uint32_t>(i + 1));
        EXPECT_STREQ(settings.timers[i].label, "");
        EXPECT_STREQ(settings.externalSounds[i].fileName, "");
        EXPECT_STREQ(settings.openFiles[i].label, "");
    }
    EXPECT_TRUE(settings.keepWindowOnTop && settings.showTimerInTitleBar && settings.flashWndOnTimerUp
                && settings.useAltIconOnTimerUp && settings.displaySmartCursors);
    // The one option that starts off, and that the options reset turns off.
    EXPECT_FALSE(settings.showInNotificationArea);
    setOption(Option::showInNotificationArea, true);
    setOption(Option::flashWndOnTimerUp, false);
    restoreDefaultOptions();
    EXPECT_FALSE(optionValue(Option::showInNotificationArea));
    EXPECT_TRUE(optionValue(Option::flashWndOnTimerUp));
}

TEST(SettingsKeyPath, FollowsTheMajorFileVersionOnly)
{
    char path[64];
    formatSettingsKeyPath(path, sizeof path, 0x00030001);   // 3.1
    EXPECT_STREQ(path, "Software\\Morvane\\Kelvaro V3");
    formatSettingsKeyPath(path, sizeof path, 0x00040000);   // a new major version starts afresh
    EXPECT_STREQ(path, "Software\\Morvane\\Kelvaro V4");
    formatSettingsKeyPath(path, sizeof path, 0xFFFFFFFF);
    EXPECT_STREQ(path, "Software\\Morvane\\Kelvaro V65535");
}
