// Loading and saving the settings record against the in-memory registry.
#include "store/settings_store.h"

#include "base/text.h"
#include "fake_platform.h"
#include "fake_registry.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

const char* const root = "Software\\Morvane\\Kelvaro V3";

std::string key(const std::string& subkey)
{
    return std::string(root) + "\\" + subkey;
}

struct SettingsStoreTest : ::testing::Test {
    void SetUp() override { fakeRegistry::reset(); }
    void TearDown() override
    {
        fakeRegistry::reset();
        useCodePage(0);
        restoreStrings();
    }
};

// The record is large (three 26000-byte buffers): keep it off the stack.
std::unique_ptr<SettingsRecord> loadAll()
{
    auto record = std::make_unique<SettingsRecord>();
    std::memset(record.get(), 0x55, sizeof(SettingsRecord));
    loadOptionsAndEvents(root, *record);
    for (int number = 1; number <= timerCount; ++number)
        loadTimerSettings(root, number, record->timers[number - 1]);
    return record;
}

TimerSettings loadTimer(int number)
{
    TimerSettings timer{};
    loadTimerSettings(root, number, timer);
    return timer;
}

std::string loadTimerLabel(const std::string& stored, unsigned long type = fakeRegistry::regSz)
{
    fakeRegistry::setString(key("Timer01"), "Label", stored, type);
    return loadTimer(1).label;
}

std::vector<unsigned char> textBytes(const std::string& text)
{
    std::vector<unsigned char> bytes(text.begin(), text.end());
    bytes.push_back(0);
    return bytes;
}

std::vector<unsigned char> dwordBytes(std::uint32_t value)
{
    return {static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8),
            static_cast<unsigned char>(value >> 16), static_cast<unsigned char>(value >> 24)};
}

} // namespace

TEST_F(SettingsStoreTest, EmptyStoreGivesEveryDefaultAndWritesNothing)
{
    const auto record = loadAll();
    const char* names[] = {"Timer #&1", "Timer #&2", "Timer #&3"};
    const std::uint32_t values[] = {90000, 300000, 3600000};
    for (int i = 0; i < timerCount; ++i) {
        EXPECT_STREQ(record->timers[i].label, names[i]);
        EXPECT_EQ(record->timers[i].valueMs, values[i]);
        EXPECT_EQ(record->timers[i].unit, static_cast<std::uint32_t>(i + 1));
        EXPECT_EQ(record->timers[i].event, static_cast<std::uint32_t>(i + 1));
        EXPECT_EQ(record->externalSounds[i].label, "Play External Sound #" + std::to_string(i + 1));
        EXPECT_STREQ(record->externalSounds[i].fileName, "");
        EXPECT_EQ(record->openFiles[i].label, "Open File #" + std::to_string(i + 1));
        EXPECT_STREQ(record->openFiles[i].fileName, "");
    }
    EXPECT_TRUE(record->keepWindowOnTop);
    EXPECT_TRUE(record->showTimerInTitleBar);
    EXPECT_TRUE(record->flashWndOnTimerUp);
    EXPECT_TRUE(record->useAltIconOnTimerUp);
    EXPECT_TRUE(record->displaySmartCursors);
    EXPECT_TRUE(fakeRegistry::writes().empty());
    EXPECT_EQ(fakeRegistry::valueCount(), 0u);
}

TEST_F(SettingsStoreTest, DurationIsClampedAsASignedNumber)
{
    struct Case {
        std::uint32_t stored;
        std::uint32_t loaded;
    };
    const Case cases[] = {
        {999, 1000},
        {1000, 1000},
        {1001, 1001},
        {0, 1000},
        {2145600000, 2145600000},
        {2145600001, 2145600000},
        {0x7FFFFFFF, 2145600000},
        {0x80000000, 1000},   // top bit set: negative
        {0xFFFFFFFF, 1000},
    };
    for (const Case& c : cases) {
        fakeRegistry::setDword(key("Timer02"), "Value", c.stored);
        EXPECT_EQ(loadTimer(2).valueMs, c.loaded) << c.stored;
    }
}

TEST_F(SettingsStoreTest, MissingDurationIsTheTimersDefaultNotTheMinimum)
{
    fakeRegistry::setDword(key("Timer01"), "Unit", 2);
    EXPECT_EQ(loadTimer(1).valueMs, 90000u);
    EXPECT_EQ(loadTimer(3).valueMs, 3600000u);
}

TEST_F(SettingsStoreTest, UnitAndEventOutOfRangeBecomeTheTimerNumber)
{
    for (int number = 1; number <= 3; ++number) {
        const std::string timerKey = key("Timer0" + std::to_string(number));
        for (std::uint32_t bad : {0u, 4u, 10u, 0xFFFFFFFFu}) {
            fakeRegistry::setDword(timerKey, "Unit", bad);
            fakeRegistry::setDword(timerKey, "Event", bad == 4 ? 10 : bad);
            const TimerSettings timer = loadTimer(number);
            EXPECT_EQ(timer.unit, static_cast<std::uint32_t>(number)) << bad;
            EXPECT_EQ(timer.event, static_cast<std::uint32_t>(number)) << bad;
        }
    }
    fakeRegistry::setDword(key("Timer01"), "Unit", 3);
    fakeRegistry::setDword(key("Timer01"), "Event", 9);
    EXPECT_EQ(loadTimer(1).unit, 3u);
    EXPECT_EQ(loadTimer(1).event, 9u);
    fakeRegistry::setDword(key("Timer01"), "Event", 4);
    EXPECT_EQ(loadTimer(1).event, 4u);
}

TEST_F(SettingsStoreTest, NumbersOfTheWrongTypeOrSizeLoadAsDefaults)
{
    fakeRegistry::setRaw(key("Timer02"), "Unit", fakeRegistry::regBinary, dwordBytes(3));
    fakeRegistry::setRaw(key("Timer02"), "Value", fakeRegistry::regSz, textBytes("5000"));
    fakeRegistry::setRaw(key("Timer02"), "Event", fakeRegistry::regDword, {5, 0, 0, 0, 0, 0, 0, 0});
    fakeRegistry::setRaw(root, "KeepWindowOnTop", fakeRegistry::regBinary, dwordBytes(0));
    fakeRegistry::setRaw(root, "FlashWndOnTimerUp", fakeRegistry::regDword, {0, 0});
    const TimerSettings timer = loadTimer(2);
    EXPECT_EQ(timer.unit, 2u);
    EXPECT_EQ(timer.valueMs, 300000u);
    EXPECT_EQ(timer.event, 2u);
    const auto record = loadAll();
    EXPECT_TRUE(record->keepWindowOnTop);
    EXPECT_TRUE(record->flashWndOnTimerUp);
}

TEST_F(SettingsStoreTest, OneBadValueDoesNotSpoilTheOthers)
{
    fakeRegistry::setDword(key("Timer03"), "Unit", 77);
    fakeRegistry::setDword(key("Timer03"), "Value", 45000);
    fakeRegistry::setDword(key("Timer03"), "Event", 8);
    fakeRegistry::setString(key("Timer03"), "Label", "Tea", fakeRegistry::regExpandSz);
    const TimerSettings timer = loadTimer(3);
    EXPECT_STREQ(timer.label, "Timer #&3");
    EXPECT_EQ(timer.unit, 3u);
    EXPECT_EQ(timer.valueMs, 45000u);
    EXPECT_EQ(timer.event, 8u);
}

// The process's record takes every part the registry holds, whatever it held before.
TEST_F(SettingsStoreTest, LoadAllSettingsReplacesTheProcessRecord)
{
    const auto before = std::make_unique<SettingsRecord>(settings);
    setTimerName(1, "typed before the load");
    setOption(Option::displaySmartCursors, false);
    fakeRegistry::setDword(key("Timer03"), "Unit", 1);
    fakeRegistry::setString(key("Timer01"), "Label", "Tea");
    fakeRegistry::setDword(root, "FlashWndOnTimerUp", 0);
    fakeRegistry::setString(key("OpenFile02"), "FileName", "C:\\notes.txt");
    ASSERT_TRUE(loadAllSettings(root));

    const auto expected = loadAll();
    for (int i = 0; i < timerCount; ++i) {
        EXPECT_STREQ(settings.timers[i].label, expected->timers[i].label) << i;
        EXPECT_EQ(settings.timers[i].unit, expected->timers[i].unit) << i;
        EXPECT_EQ(settings.timers[i].valueMs, expected->timers[i].valueMs) << i;
        EXPECT_EQ(settings.timers[i].event, expected->timers[i].event) << i;
        EXPECT_STREQ(settings.openFiles[i].fileName, expected->openFiles[i].fileName) << i;
        EXPECT_STREQ(settings.externalSounds[i].label, expected->externalSounds[i].label) << i;
    }
    EXPECT_STREQ(settings.timers[0].label, "Tea");
    EXPECT_EQ(settings.timers[2].unit, unitSeconds);
    EXPECT_FALSE(settings.flashWndOnTimerUp);
    EXPECT_TRUE(settings.displaySmartCursors);
    replaceSettings(*before);
}

TEST_F(SettingsStoreTest, OptionsAreTrueWhenNonzero)
{
    fakeRegistry::setDword(root, "KeepWindowOnTop", 7);
    fakeRegistry::setDword(root, "ShowTimerInTitleBar", 0);
    fakeRegistry::setDword(root, "FlashWndOnTimerUp", 0x80000000);
    fakeRegistry::setDword(root, "UseAltIconOnTimerUp", 0);
    auto record = loadAll();
    // Missing, it is the one option that reads as off; of another type, too.
    EXPECT_FALSE(record->showInNotificationArea);
    fakeRegistry::setString(root, "ShowInNotificationArea", "1");
    EXPECT_FALSE(loadAll()->showInNotificationArea);
    fakeRegistry::setDword(root, "ShowInNotificationArea", 2);
    record = loadAll();
    EXPECT_TRUE(record->showInNotificationArea);
    EXPECT_TRUE(record->keepWindowOnTop);
    EXPECT_FALSE(record->showTimerInTitleBar);
    EXPECT_TRUE(record->flashWndOnTimerUp);
    EXPECT_FALSE(record->useAltIconOnTimerUp);
    EXPECT_TRUE(record->displaySmartCursors);

    // Written back as the plain 1 or 0.
    EXPECT_EQ(saveOptionsAndEvents(root, *record), 0u);
    EXPECT_EQ(fakeRegistry::dwordOf(root, "KeepWindowOnTop"), 1u);
    EXPECT_EQ(fakeRegistry::dwordOf(root, "ShowTimerInTitleBar"), 0u);
    EXPECT_EQ(fakeRegistry::dwordOf(root, "FlashWndOnTimerUp"), 1u);
    EXPECT_EQ(fakeRegistry::dwordOf(root, "ShowInNotificationArea"), 1u);
}

TEST_F(SettingsStoreTest, LabelsAreCutToThirtyBytesThenTrimmed)
{
    const std::string thirty = "abcdefghijklmnopqrstuvwxyz0123";
    EXPECT_EQ(loadTimerLabel(thirty), thirty);
    EXPECT_EQ(loadTimerLabel(thirty + "456789ABCD"), thirty);
    // Cut first: the spaces that end up at the edges go, inner ones stay.
    EXPECT_EQ(loadTimerLabel("  Tea " + std::string(22, ' ') + "   and more"), "Tea");
    EXPECT_EQ(loadTimerLabel("\tTea  time\r\n"), "Tea  time");
}

TEST_F(SettingsStoreTest, UnusableLabelsLoadAsTheDefault)
{
    EXPECT_STREQ(loadTimerLabel("").c_str(), "Timer #&1");
    EXPECT_STREQ(loadTimerLabel(" \t \r\n ").c_str(), "Timer #&1");
    EXPECT_STREQ(loadTimerLabel("Tea", fakeRegistry::regExpandSz).c_str(), "Timer #&1");
    fakeRegistry::setDword(key("Timer01"), "Label", 5);
    EXPECT_STREQ(loadTimer(1).label, "Timer #&1");
    fakeRegistry::setRaw(key("Timer01"), "Label", fakeRegistry::regSz, {});
    EXPECT_STREQ(loadTimer(1).label, "Timer #&1");

    fakeRegistry::setString(key("ExternalSound02"), "Label", "   ");
    fakeRegistry::setString(key("OpenFile03"), "Label", "Docs", fakeRegistry::regBinary);
    const auto record = loadAll();
    EXPECT_STREQ(record->externalSounds[1].label, "Play External Sound #2");
    EXPECT_STREQ(record->openFiles[2].label, "Open File #3");
}

TEST_F(SettingsStoreTest, StoredTextWithoutTerminatorOrWithInnerNul)
{
    fakeRegistry::setRaw(key("Timer01"), "Label", fakeRegistry::regSz, {'T', 'e', 'a'});
    EXPECT_STREQ(loadTimer(1).label, "Tea");
    fakeRegistry::setRaw(key("Timer01"), "Label", fakeRegistry::regSz, {'a', 'b', 0, 'c', 'd', 0});
    EXPECT_STREQ(loadTimer(1).label, "ab");
    std::vector<unsigned char> long40(40, 'x');
    fakeRegistry::setRaw(key("Timer01"), "Label", fakeRegistry::regSz, long40);
    EXPECT_EQ(std::string(loadTimer(1).label), std::string(30, 'x'));
}

TEST_F(SettingsStoreTest, LabelNeverEndsInHalfADoubleByteCharacter)
{
    useCodePage(932);
    const std::string twentyNine(29, 'a');
    // The 30th byte would be the lead byte of a two-byte character.
    EXPECT_EQ(loadTimerLabel(twentyNine + "\x82\xa0" "bbbb"), twentyNine);
    // Fifteen two-byte characters fill the 30 bytes exactly; 0x5C trail bytes stay.
    std::string fifteen;
    for (int i = 0; i < 15; ++i)
        fifteen += "\x95\x5c";
    EXPECT_EQ(loadTimerLabel(fifteen + "\x95\x5c"), fifteen);
    // A full-width space is a character, not white space.
    EXPECT_EQ(loadTimerLabel(" \x81\x40 "), "\x81\x40");
}

TEST_F(SettingsStoreTest, FileNamesAreCutToTheirBuffersButNotTrimmed)
{
    fakeRegistry::setString(key("ExternalSound01"), "FileName", std::string(300, 's'));
    fakeRegistry::setString(key("ExternalSound02"), "FileName", " \"C:\\a b.wav\" ");
    fakeRegistry::setString(key("ExternalSound03"), "FileName", std::string(259, 'e'));
    fakeRegistry::setString(key("OpenFile01"), "FileName", std::string(26100, 'o'));
    fakeRegistry::setString(key("OpenFile02"), "FileName", "C:\\doc.txt", fakeRegistry::regExpandSz);
    const auto record = loadAll();
    EXPECT_EQ(std::string(record->externalSounds[0].fileName), std::string(259, 's'));
    EXPECT_STREQ(record->externalSounds[1].fileName, " \"C:\\a b.wav\" ");
    EXPECT_EQ(std::string(record->externalSounds[2].fileName), std::string(259, 'e'));
    EXPECT_EQ(std::string(record->openFiles[0].fileName), std::string(25999, 'o'));
    EXPECT_STREQ(record->openFiles[1].fileName, "");
    EXPECT_STREQ(record->openFiles[1].label, "Open File #2");
}

TEST_F(SettingsStoreTest, FileNameCutNeverSplitsADoubleByteCharacter)
{
    useCodePage(932);
    fakeRegistry::setString(key("ExternalSound01"), "FileName", std::string(258, 'f') + "\x82\xa0");
    const auto record = loadAll();
    EXPECT_EQ(std::string(record->externalSounds[0].fileName), std::string(258, 'f'));
}

TEST_F(SettingsStoreTest, SaveWritesEveryValueInOrderWithItsType)
{
    auto record = loadAll();
    copyText(record->externalSounds[0].fileName, soundFileSize, "\"C:\\media\\ding.wav\"");
    copyText(record->openFiles[2].label, labelSize, " spaced ");
    EXPECT_EQ(saveOptionsAndEvents(root, *record), 0u);
    for (int number = 1; number <= 3; ++number)
        EXPECT_EQ(saveTimerSettings(root, number, record->timers[number - 1]), 0u);

    struct Expected {
        std::string keyPath;
        std::string name;
        unsigned long type;
    };
    std::vector<Expected> expected;
    for (const char* option : {"KeepWindowOnTop", "ShowTimerInTitleBar", "FlashWndOnTimerUp", "UseAltIconOnTimerUp",
                               "DisplaySmartCursors", "ShowInNotificationArea"})
        expected.push_back({root, option, fakeRegistry::regDword});
    for (const char* group : {"ExternalSound", "OpenFile"}) {
        for (int n = 1; n <= 3; ++n) {
            expected.push_back({key(group + std::string("0") + std::to_string(n)), "Label", fakeRegistry::regSz});
            expected.push_back({key(group + std::string("0") + std::to_string(n)), "FileName", fakeRegistry::regSz});
        }
    }
    for (int n = 1; n <= 3; ++n) {
        const std::string timerKey = key("Timer0" + std::to_string(n));
        expected.push_back({timerKey, "Label", fakeRegistry::regSz});
        for (const char* name : {"Value", "Unit", "Event"})
            expected.push_back({timerKey, name, fakeRegistry::regDword});
    }
    const auto& writes = fakeRegistry::writes();
    ASSERT_EQ(writes.size(), expected.size());
    for (std::size_t i = 0; i < writes.size(); ++i) {
        EXPECT_EQ(writes[i].keyPath, expected[i].keyPath) << i;
        EXPECT_EQ(writes[i].name, expected[i].name) << i;
        EXPECT_EQ(writes[i].type, expected[i].type) << i;
    }

    // Texts go out as they stand, with their NUL; an empty one is the NUL alone.
    EXPECT_EQ(fakeRegistry::bytesOf(key("ExternalSound01"), "FileName"), textBytes("\"C:\\media\\ding.wav\""));
    EXPECT_EQ(fakeRegistry::bytesOf(key("OpenFile03"), "Label"), textBytes(" spaced "));
    EXPECT_EQ(fakeRegistry::bytesOf(key("OpenFile01"), "FileName"), std::vector<unsigned char>{0});
    EXPECT_EQ(fakeRegistry::bytesOf(key("Timer01"), "Label"), textBytes("Timer #&1"));
    EXPECT_EQ(fakeRegistry::bytesOf(key("Timer03"), "Value"), dwordBytes(3600000));
}

TEST_F(SettingsStoreTest, SaveAttemptsEveryWriteAndReportsTheFirstError)
{
    const auto record = loadAll();
    fakeRegistry::failWrites([](const std::string& keyPath, const std::string& name) -> unsigned long {
        if (keyPath == key("ExternalSound01") && name == "FileName")
            return 5;
        if (keyPath == key("OpenFile02"))
            return 1021;
        return 0;
    });
    EXPECT_EQ(saveOptionsAndEvents(root, *record), 5u);
    EXPECT_EQ(fakeRegistry::writes().size(), 18u);   // six options and twelve event values
    EXPECT_TRUE(fakeRegistry::has(key("OpenFile03"), "FileName"));
    EXPECT_FALSE(fakeRegistry::has(key("OpenFile02"), "Label"));

    fakeRegistry::reset();
    fakeRegistry::failWrites([](const std::string&, const std::string& name) -> unsigned long {
        return name == "Unit" ? 6 : name == "Event" ? 5 : 0;
    });
    EXPECT_EQ(saveTimerSettings(root, 2, record->timers[1]), 6u);
    ASSERT_EQ(fakeRegistry::writes().size(), 4u);
    EXPECT_EQ(fakeRegistry::writes()[3].name, "Event");
    EXPECT_EQ(fakeRegistry::dwordOf(key("Timer02"), "Value"), 300000u);
}

namespace {

std::vector<unsigned char> randomBytes(std::mt19937& random, std::size_t maxLength)
{
    std::uniform_int_distribution<std::size_t> length(0, maxLength);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> kind(0, 3);
    std::vector<unsigned char> bytes(length(random));
    for (unsigned char& b : bytes) {
        // Mostly text with spaces and Shift-JIS lead bytes, sometimes anything.
        switch (kind(random)) {
        case 0: b = ' '; break;
        case 1: b = 0x82; break;
        case 2: b = static_cast<unsigned char>('a' + byte(random) % 26); break;
        default: b = static_cast<unsigned char>(byte(random)); break;
        }
    }
    return bytes;
}

void seedRandomValue(std::mt19937& random, const std::string& keyPath, const std::string& name, std::size_t maxText)
{
    std::uniform_int_distribution<int> kind(0, 5);
    std::uniform_int_distribution<std::uint32_t> number;
    const unsigned long types[] = {fakeRegistry::regSz, fakeRegistry::regExpandSz, fakeRegistry::regBinary,
                                   fakeRegistry::regDword};
    switch (kind(random)) {
    case 0:
        return;   // missing
    case 1:
        fakeRegistry::setDword(keyPath, name, number(random));
        return;
    case 2:
        fakeRegistry::setDword(keyPath, name, number(random) % 12);
        return;
    case 3:
        fakeRegistry::setRaw(keyPath, name, types[number(random) % 4], randomBytes(random, 8));
        return;
    default:
        fakeRegistry::setRaw(keyPath, name, fakeRegistry::regSz, randomBytes(random, maxText));
        return;
    }
}

// No lone lead byte at the end of the text.
bool endsOnCharacterBoundary(const char* text)
{
    const char* p = text;
    while (*p != '\0') {
        if (isLeadByte(static_cast<unsigned char>(*p)) && p[1] == '\0')
            return false;
        p = nextCharacter(p);
    }
    return true;
}

void expectValidLabel(const char* label, std::size_t iteration)
{
    const std::size_t length = strnlen(label, labelSize);
    ASSERT_LT(length, labelSize) << iteration;
    EXPECT_GT(length, 0u) << iteration;
    std::string trimmed(label);
    EXPECT_EQ(trimSpacesInPlace(&trimmed[0]), length) << iteration;
    EXPECT_TRUE(endsOnCharacterBoundary(label)) << iteration;
}

void expectSameRecord(const SettingsRecord& a, const SettingsRecord& b, std::size_t iteration)
{
    for (int i = 0; i < timerCount; ++i) {
        EXPECT_STREQ(a.timers[i].label, b.timers[i].label) << iteration;
        EXPECT_EQ(a.timers[i].valueMs, b.timers[i].valueMs) << iteration;
        EXPECT_EQ(a.timers[i].unit, b.timers[i].unit) << iteration;
        EXPECT_EQ(a.timers[i].event, b.timers[i].event) << iteration;
        EXPECT_STREQ(a.externalSounds[i].label, b.externalSounds[i].label) << iteration;
        EXPECT_STREQ(a.externalSounds[i].fileName, b.externalSounds[i].fileName) << iteration;
        EXPECT_STREQ(a.openFiles[i].label, b.openFiles[i].label) << iteration;
        EXPECT_STREQ(a.openFiles[i].fileName, b.openFiles[i].fileName) << iteration;
    }
    EXPECT_EQ(a.keepWindowOnTop, b.keepWindowOnTop) << iteration;
    EXPECT_EQ(a.showTimerInTitleBar, b.showTimerInTitleBar) << iteration;
    EXPECT_EQ(a.flashWndOnTimerUp, b.flashWndOnTimerUp) << iteration;
    EXPECT_EQ(a.useAltIconOnTimerUp, b.useAltIconOnTimerUp) << iteration;
    EXPECT_EQ(a.displaySmartCursors, b.displaySmartCursors) << iteration;
}

} // namespace

TEST_F(SettingsStoreTest, EveryLoadedRecordKeepsTheInvariants)
{
    useCodePage(932);
    std::mt19937 random(20240607);
    const char* names[] = {"Label", "Value", "Unit", "Event", "FileName"};
    for (std::size_t iteration = 0; iteration < 300; ++iteration) {
        fakeRegistry::reset();
        for (const char* option : {"KeepWindowOnTop", "ShowTimerInTitleBar", "FlashWndOnTimerUp", "UseAltIconOnTimerUp",
                                   "DisplaySmartCursors", "ShowInNotificationArea"})
            seedRandomValue(random, root, option, 4);
        for (const char* group : {"Timer0", "ExternalSound0", "OpenFile0"}) {
            for (int n = 1; n <= 3; ++n) {
                for (const char* name : names)
                    seedRandomValue(random, key(group + std::to_string(n)), name, 300);
            }
        }
        const auto record = loadAll();
        for (int i = 0; i < timerCount; ++i) {
            const TimerSettings& timer = record->timers[i];
            expectValidLabel(timer.label, iteration);
            expectValidLabel(record->externalSounds[i].label, iteration);
            expectValidLabel(record->openFiles[i].label, iteration);
            EXPECT_GE(timer.valueMs, minDurationMs) << iteration;
            EXPECT_LE(timer.valueMs, maxDurationMs) << iteration;
            EXPECT_GE(timer.unit, 1u) << iteration;
            EXPECT_LE(timer.unit, 3u) << iteration;
            EXPECT_GE(timer.event, 1u) << iteration;
            EXPECT_LE(timer.event, 9u) << iteration;
            const char* sound = record->externalSounds[i].fileName;
            ASSERT_LT(strnlen(sound, soundFileSize), soundFileSize) << iteration;
            EXPECT_TRUE(endsOnCharacterBoundary(sound)) << iteration;
            ASSERT_LT(strnlen(record->openFiles[i].fileName, openFileSize), openFileSize) << iteration;
        }
        // Whatever was loaded survives a save and a second load unchanged.
        fakeRegistry::reset();
        saveOptionsAndEvents(root, *record);
        for (int number = 1; number <= 3; ++number)
            saveTimerSettings(root, number, record->timers[number - 1]);
        const auto again = loadAll();
        expectSameRecord(*record, *again, iteration);
    }
}

TEST_F(SettingsStoreTest, RepeatLoadsAsAnOptionThatIsOffByDefaultAndIsSavedWithEverySave)
{
    EXPECT_FALSE(loadTimer(1).repeat);
    fakeRegistry::setDword(key("Timer01"), "Repeat", 7);
    fakeRegistry::setRaw(key("Timer02"), "Repeat", fakeRegistry::regBinary, dwordBytes(1));
    fakeRegistry::setRaw(key("Timer03"), "Repeat", fakeRegistry::regDword, {1, 0, 0, 0, 0, 0, 0, 0});
    EXPECT_TRUE(loadTimer(1).repeat);
    EXPECT_FALSE(loadTimer(2).repeat);
    EXPECT_FALSE(loadTimer(3).repeat);

    // Off: 0, after the timer's other values, also when it was never used. On: 1.
    fakeRegistry::reset();
    TimerSettings timer = loadTimer(1);
    EXPECT_EQ(saveTimerSettings(root, 1, timer), 0u);
    EXPECT_EQ(saveTimerRepeat(root, 1, timer), 0u);
    ASSERT_EQ(fakeRegistry::writes().size(), 5u);
    EXPECT_EQ(fakeRegistry::writes()[4].name, "Repeat");
    EXPECT_EQ(fakeRegistry::writes()[4].type, fakeRegistry::regDword);
    EXPECT_EQ(fakeRegistry::dwordOf(key("Timer01"), "Repeat"), 0u);
    timer.repeat = true;
    EXPECT_EQ(saveTimerRepeat(root, 1, timer), 0u);
    EXPECT_EQ(fakeRegistry::dwordOf(key("Timer01"), "Repeat"), 1u);
    timer.repeat = false;
    fakeRegistry::setRaw(key("Timer01"), "Repeat", fakeRegistry::regSz, textBytes("1"));
    EXPECT_EQ(saveTimerRepeat(root, 1, timer), 0u);
    EXPECT_EQ(fakeRegistry::dwordOf(key("Timer01"), "Repeat"), 0u);
    EXPECT_FALSE(loadTimer(1).repeat);

    fakeRegistry::failWrites([](const std::string&, const std::string&) -> unsigned long { return 5; });
    timer.repeat = true;
    EXPECT_EQ(saveTimerRepeat(root, 1, timer), 5u);
}
