// Duration texts: the formats shown for a duration, the scanner for digit
// runs, and the whole syntax a user may type, rule by rule.
#include "timers/duration.h"

#include "fake_platform.h"
#include "resource.h"
#include "settings/settings.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

constexpr std::uint32_t S = unitSeconds;
constexpr std::uint32_t M = unitMinutes;
constexpr std::uint32_t H = unitHours;
constexpr std::uint32_t allUnits[] = {S, M, H};
constexpr std::uint32_t untouched = 4242;

std::string format(std::uint32_t ms, std::uint32_t unit, bool full)
{
    char text[durationTextSize];
    formatDuration(ms, unit, full, text, sizeof text);
    return text;
}

struct Parsed {
    DurationEntry result;
    std::uint32_t valueMs;
};

Parsed parse(const std::string& text, std::uint32_t unit)
{
    Parsed parsed{DurationEntry::rejected, untouched};
    parsed.result = parseDuration(text.c_str(), unit, parsed.valueMs);
    return parsed;
}

std::string unitName(std::uint32_t unit)
{
    return unit == H ? "Hours" : unit == M ? "Minutes" : "Seconds";
}

struct FormatCase {
    std::uint32_t ms;
    std::uint32_t unit;
    const char* full;
    const char* countdown;
};

struct ParseCase {
    const char* text;
    std::uint32_t unit;
    std::uint32_t valueMs;
};

void expectValid(const std::vector<ParseCase>& cases)
{
    for (const ParseCase& c : cases) {
        const Parsed parsed = parse(c.text, c.unit);
        EXPECT_EQ(parsed.result, DurationEntry::valid) << '"' << c.text << "\" in " << unitName(c.unit);
        EXPECT_EQ(parsed.valueMs, c.valueMs) << '"' << c.text << "\" in " << unitName(c.unit);
    }
}

void expectRejected(const std::string& text, std::uint32_t unit)
{
    const Parsed parsed = parse(text, unit);
    EXPECT_EQ(parsed.result, DurationEntry::rejected) << '"' << text << "\" in " << unitName(unit);
    EXPECT_EQ(parsed.valueMs, untouched) << '"' << text << "\" in " << unitName(unit);
}

void expectRejectedInEveryUnit(const std::vector<std::string>& texts)
{
    for (const std::string& text : texts) {
        for (std::uint32_t unit : allUnits)
            expectRejected(text, unit);
    }
}

struct DurationStringsTest : ::testing::Test {
    void TearDown() override { restoreStrings(); }
};

} // namespace

TEST(FormatDuration, ShowsTheFormsOfEachUnit)
{
    const FormatCase cases[] = {
        {90000, S, "90s", "90s"},
        {90000, M, "1m30s", "1m30s"},
        {90000, H, "0h01m30s", "1m30s"},
        {30000, M, "0m30s", "30s"},
        {30000, H, "0h00m30s", "30s"},
        {300000, H, "0h05m00s", "5m00s"},
        {300000, M, "5m00s", "5m00s"},
        {3600000, H, "1h00m00s", "1h00m00s"},
        {7200000, M, "120m00s", "120m00s"},
        {7200000, S, "7200s", "7200s"},
        {3723000, H, "1h02m03s", "1h02m03s"},
        {maxDurationMs, H, "596h00m00s", "596h00m00s"},
        {maxDurationMs, M, "35760m00s", "35760m00s"},
        {maxDurationMs, S, "2145600s", "2145600s"},
        {1000, S, "1s", "1s"},
        {1000, M, "0m01s", "1s"},
        {1000, H, "0h00m01s", "1s"},
        {0, S, "0s", "0s"},
        {0, M, "0m00s", "0s"},
        {0, H, "0h00m00s", "0s"},
        // Only whole seconds are shown; a registry value may hold more.
        {1999, S, "1s", "1s"},
        {61999, M, "1m01s", "1m01s"},
        // The largest count the type holds still fits the buffer.
        {0xFFFFFFFFu, H, "1193h02m47s", "1193h02m47s"},
    };
    for (const FormatCase& c : cases) {
        EXPECT_EQ(format(c.ms, c.unit, true), c.full) << c.ms << " ms in " << unitName(c.unit);
        EXPECT_EQ(format(c.ms, c.unit, false), c.countdown) << c.ms << " ms in " << unitName(c.unit);
    }
}

TEST(FormatDuration, TreatsAnUnknownUnitAsSeconds)
{
    EXPECT_EQ(format(90000, 0, true), "90s");
    EXPECT_EQ(format(3600000, 7, true), "3600s");
}

TEST(FormatDuration, TruncatesIntoASmallBuffer)
{
    char text[5] = "xxxx";
    formatDuration(maxDurationMs, H, true, text, sizeof text);
    EXPECT_STREQ(text, "596h");
    formatDuration(maxDurationMs, H, true, text, 0);
    EXPECT_STREQ(text, "596h");   // a zero size writes nothing
}

TEST_F(DurationStringsTest, FormatsComeFromTheStringTable)
{
    overrideString(IDS_FORMAT_MS, "%u:%02u");
    EXPECT_EQ(format(90000, M, true), "1:30");
    removeString(IDS_FORMAT_S);
    EXPECT_EQ(format(5000, S, true), "");
}

TEST(NextDigitRun, ScansOneNumberAfterBlanks)
{
    struct Case {
        const char* text;
        std::size_t start;
        bool found;
        const char* digits;
        std::size_t end;
    };
    const Case cases[] = {
        {"12h", 0, true, "12", 2},
        {"   0042 m", 0, true, "0042", 7},
        {"1h 30", 2, true, "30", 5},
        {"", 0, true, "", 0},
        {"    ", 0, true, "", 4},
        {"h", 0, false, "", 0},
        {"  -5", 0, false, "", 2},
        {"\t5", 0, false, "", 0},   // only 0x20 is skipped
        {"5\xb2", 0, true, "5", 1},   // a superscript two of code page 1252 is no digit
    };
    for (const Case& c : cases) {
        std::size_t position = c.start;
        std::string digits = "stale";
        EXPECT_EQ(nextDigitRun(c.text, position, digits), c.found) << '"' << c.text << '"';
        EXPECT_EQ(digits, c.digits) << '"' << c.text << '"';
        EXPECT_EQ(position, c.end) << '"' << c.text << '"';
    }
}

TEST(ParseDuration, BareNumbersTakeTheTimersUnit)
{
    expectValid({
        {"90", S, 90000},
        {"90", M, 5400000},
        {"90", H, 324000000},
        {"1", S, 1000},
        {"007", M, 420000},
        {"  15  ", S, 15000},
    });
}

TEST(ParseDuration, LettersNameTheirFieldInEitherCase)
{
    std::vector<ParseCase> cases;
    for (std::uint32_t unit : allUnits) {
        cases.push_back({"2H 5S", unit, 7205000});
        cases.push_back({"2h5s", unit, 7205000});
        cases.push_back({"1h30m", unit, 5400000});
        cases.push_back({"1H30M", unit, 5400000});
        cases.push_back({"1h2m3s", unit, 3723000});
        cases.push_back({"45s", unit, 45000});
        cases.push_back({"3m", unit, 180000});
        cases.push_back({"4h", unit, 14400000});
        cases.push_back({"10m5s", unit, 605000});
        cases.push_back({"90m", unit, 5400000});    // fields are not limited to 59
        cases.push_back({"100s", unit, 100000});
    }
    expectValid(cases);
}

TEST(ParseDuration, AnUnlabelledNumberTakesTheFieldExpectedNext)
{
    expectValid({
        {"1:30", M, 90000},
        {"1:30", H, 5400000},
        {"1:30:15", H, 5415000},
        {"1:", M, 60000},
        {"1:", H, 3600000},
        {"1:", S, 1000},
        {"2h 30", S, 9000000},   // after hours: minutes
        {"2h30", M, 9000000},
        {"5m 7", H, 307000},     // after minutes: seconds
        {"1h 2 : 3", S, 3723000},
        {"1h 5:", S, 3900000},
    });
}

TEST(ParseDuration, BlanksMayStandAroundNumbersAndLetters)
{
    expectValid({
        {" 1 h 2 m 3 s ", S, 3723000},
        {"1 :30", M, 90000},
        {"1: 30", M, 90000},
    });
}

TEST(ParseDuration, RejectsTextsOutsideTheSyntax)
{
    expectRejectedInEveryUnit({
        "5x", "h", "s", ":", ":5", "abc", "1 2", "1m2h", "1s1s", "1h1h", "1s2m", "1h2m3s4", "1:2:3:4",
        "-5", "+5", "1.5", "1,000", "5 x", "1::", "1h:", "\t5", "5\t", "5\n", "1h 2m 3s 4s",
        "\x82\x50",   // a full-width digit one of Shift-JIS
    });
}

TEST(ParseDuration, SeparatorFieldsAreRejectedWhenTheUnitLeavesNoRoom)
{
    expectRejected("1:30", S);
    expectRejected("1:30:15", S);
    expectRejected("1:30:15", M);
}

TEST(ParseDuration, AZeroOrEmptyDurationBecomesOneUnit)
{
    for (const char* text : {"0", "", "   ", "00", "0h0m0s", "0h 0", "0s"}) {
        EXPECT_EQ(parse(text, S).result, DurationEntry::corrected) << '"' << text << '"';
        EXPECT_EQ(parse(text, S).valueMs, 1000u) << '"' << text << '"';
        EXPECT_EQ(parse(text, M).valueMs, 60000u) << '"' << text << '"';
        EXPECT_EQ(parse(text, H).valueMs, 3600000u) << '"' << text << '"';
    }
}

TEST(ParseDuration, AcceptsTheLimitsExactlyAndHoldsLongerDurationsAtTheMaximum)
{
    for (std::uint32_t unit : allUnits) {
        EXPECT_EQ(parse("596h", unit).result, DurationEntry::valid) << unitName(unit);
        EXPECT_EQ(parse("596h", unit).valueMs, maxDurationMs);
        EXPECT_EQ(parse("35760m", unit).result, DurationEntry::valid);
        EXPECT_EQ(parse("2145600s", unit).result, DurationEntry::valid);
        EXPECT_EQ(parse("1s", unit).result, DurationEntry::valid);
        EXPECT_EQ(parse("1s", unit).valueMs, minDurationMs);
        for (const char* text : {"597h", "595h60m1s", "35760m1s", "2145601s", "9999999999"}) {
            const Parsed parsed = parse(text, unit);
            EXPECT_EQ(parsed.result, DurationEntry::corrected) << text << " in " << unitName(unit);
            EXPECT_EQ(parsed.valueMs, maxDurationMs) << text << " in " << unitName(unit);
        }
    }
    EXPECT_EQ(parse("596", H).result, DurationEntry::valid);
    EXPECT_EQ(parse("597", H).result, DurationEntry::corrected);
}

TEST(ParseDuration, TextsLongerThanTheEditSaturateInsteadOfWrapping)
{
    // 2^64 hours wraps to 0 and 2^64 / 3600000 hours wraps to a small value
    // in plain 64-bit arithmetic; both must end as the longest duration.
    const Parsed twoTo64 = parse("18446744073709551616h", S);
    EXPECT_EQ(twoTo64.result, DurationEntry::corrected);
    EXPECT_EQ(twoTo64.valueMs, maxDurationMs);
    const Parsed productWraps = parse("5124095576031h", S);
    EXPECT_EQ(productWraps.result, DurationEntry::corrected);
    EXPECT_EQ(productWraps.valueMs, maxDurationMs);

    const std::string manyDigits(5000, '9');
    for (std::uint32_t unit : allUnits) {
        EXPECT_EQ(parse(manyDigits, unit).valueMs, maxDurationMs);
        EXPECT_EQ(parse("1h" + manyDigits + "m", unit).valueMs, maxDurationMs);
        EXPECT_EQ(parse(manyDigits + "s", unit).result, DurationEntry::corrected);
    }
    EXPECT_EQ(parse(std::string(5000, '0') + "5", S).valueMs, 5000u);
    EXPECT_EQ(parse(std::string(5000, ' ') + "5" + std::string(5000, ' '), S).valueMs, 5000u);
    const Parsed garbage = parse(std::string(5000, 'x'), S);
    EXPECT_EQ(garbage.result, DurationEntry::rejected);
    EXPECT_EQ(garbage.valueMs, untouched);
}

TEST_F(DurationStringsTest, LettersComeFromTheStringTableInLowerCase)
{
    overrideString(IDS_HOUR_LETTER, "Stunde");   // only the first byte counts
    overrideString(IDS_MINUTE_LETTER, "Minute");
    overrideString(IDS_SECOND_LETTER, "Xekunde");
    overrideString(IDS_SEPARATOR, ".");
    EXPECT_EQ(parse("2S 5x", S).valueMs, 7205000u);
    EXPECT_EQ(parse("1.30", M).valueMs, 90000u);
    EXPECT_EQ(parse("2h", S).result, DurationEntry::rejected);
    EXPECT_EQ(parse("1:30", M).result, DurationEntry::rejected);
}

TEST_F(DurationStringsTest, MissingOrEqualLettersRejectEverything)
{
    const unsigned ids[] = {IDS_HOUR_LETTER, IDS_MINUTE_LETTER, IDS_SECOND_LETTER, IDS_SEPARATOR};
    for (unsigned id : ids) {
        removeString(id);
        EXPECT_EQ(parse("5", S).result, DurationEntry::rejected) << id;
        EXPECT_EQ(parse("", S).result, DurationEntry::rejected) << id;
        restoreStrings();
    }
    overrideString(IDS_SEPARATOR, "M");   // the same letter as minutes once lowered
    EXPECT_EQ(parse("5", S).result, DurationEntry::rejected);
    EXPECT_EQ(parse("5m", S).result, DurationEntry::rejected);
}

TEST(ParseDuration, EveryAcceptedTextReadsBackFromItsFullForm)
{
    // Texts built from the syntax's pieces at random; every one that is
    // accepted (or corrected) must survive being shown and typed again.
    std::mt19937 random(20240611);
    const char* pieces[] = {"0", "1", "7", "30", "59", "60", "99", "596", "597", "1234",
                            "h", "H", "m", "M", "s", "S", ":", " ", " ", ""};
    int accepted = 0;
    for (int round = 0; round < 20000; ++round) {
        std::string text;
        const int length = static_cast<int>(random() % 7);
        for (int i = 0; i < length; ++i)
            text += pieces[random() % (sizeof pieces / sizeof pieces[0])];
        const std::uint32_t unit = allUnits[random() % 3];
        const Parsed parsed = parse(text, unit);
        if (parsed.result == DurationEntry::rejected)
            continue;
        ++accepted;
        const std::string shown = format(parsed.valueMs, unit, true);
        const Parsed again = parse(shown, unit);
        ASSERT_EQ(again.result, DurationEntry::valid) << '"' << text << "\" shown as " << shown;
        ASSERT_EQ(again.valueMs, parsed.valueMs) << '"' << text << "\" shown as " << shown;
        ASSERT_LE(shown.size(), 10u) << shown;
    }
    EXPECT_GT(accepted, 2000);   // the generator must reach the accepted syntax
}

TEST(ParseDuration, EveryStoredDurationReadsBackFromItsFullForm)
{
    std::vector<std::uint32_t> values = {minDurationMs, 59000, 60000, 61000, 3599000, 3600000, 3601000,
                                         maxDurationMs - 1000, maxDurationMs};
    for (std::uint32_t ms = 1000; ms <= maxDurationMs - 7919000; ms += 7919000)
        values.push_back(ms);
    for (std::uint32_t ms : values) {
        for (std::uint32_t unit : allUnits) {
            const std::string shown = format(ms, unit, true);
            const Parsed parsed = parse(shown, unit);
            EXPECT_EQ(parsed.result, DurationEntry::valid) << shown;
            EXPECT_EQ(parsed.valueMs, ms) << shown;
            EXPECT_LE(shown.size(), 10u) << shown;
        }
    }
}
