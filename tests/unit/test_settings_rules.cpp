// Quoting and the tidying of the Settings dialog's edits.
#include "fake_platform.h"
#include "settings/settings_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Quoted {
    std::string text;
    bool result;
};

// Runs the rule in a heap buffer of exactly 260 bytes, so that the sanitizer
// sees any write past it.
Quoted quote(const std::string& path)
{
    std::vector<char> buffer(pathBufferSize, '\0');
    path.copy(buffer.data(), path.size());
    const bool result = quotePathInPlace(buffer.data());
    return {buffer.data(), result};
}

std::string shiftJisText(int characters)
{
    std::string text;
    for (int i = 0; i < characters; ++i)
        text += "\x83\x5c";   // its trail byte is a backslash
    return text;
}

struct ShiftJisTest : ::testing::Test {
    void SetUp() override { useCodePage(932); }
    void TearDown() override { useCodePage(0); }
};

} // namespace

TEST(QuotePath, EnclosesAnyShortTextNotAlreadyEnclosed)
{
    const struct {
        std::string path;
        std::string expected;
    } cases[] = {
        {"C:\\Media\\Tada.wav", "\"C:\\Media\\Tada.wav\""},
        {"x", "\"x\""},
        {"\"", "\"\"\""},                       // a lone quote is one byte, not a pair
        {"\"C:\\a.wav", "\"\"C:\\a.wav\""},      // opening quote only
        {"C:\\a.wav\"", "\"C:\\a.wav\"\""},      // closing quote only
        {shiftJisText(3), "\"" + shiftJisText(3) + "\""},
    };
    for (const auto& c : cases) {
        const Quoted q = quote(c.path);
        EXPECT_EQ(q.text, c.expected) << c.path;
        EXPECT_TRUE(q.result) << c.path;
    }
}

TEST(QuotePath, LeavesEmptyAndEnclosedTextsAlone)
{
    for (const std::string& path : std::vector<std::string>{"", "\"\"", "\"C:\\Some Path\\a.wav\"", "\"" + shiftJisText(2) + "\""}) {
        const Quoted q = quote(path);
        EXPECT_EQ(q.text, path);
        EXPECT_TRUE(q.result);
    }
}

TEST(QuotePath, LengthLimitIs256Bytes)
{
    const std::string longest(256, 'a');
    EXPECT_EQ(quote(longest).text, "\"" + longest + "\"");

    for (size_t length : {257u, 259u}) {
        const std::string tooLong(length, 'a');
        const Quoted q = quote(tooLong);
        EXPECT_EQ(q.text, tooLong);
        EXPECT_FALSE(q.result);
    }
    // Double-byte text counts in bytes too.
    EXPECT_EQ(quote(shiftJisText(128)).text, "\"" + shiftJisText(128) + "\"");
    EXPECT_FALSE(quote(shiftJisText(128) + "a").result);
}

TEST(TidyName, EmptiedOrBlankNamesGetTheirDefault)
{
    EXPECT_EQ(tidyName("", "Timer #&1"), "Timer #&1");
    EXPECT_EQ(tidyName(" \t  ", "Timer #&2"), "Timer #&2");
    EXPECT_EQ(tidyName("  Tea break\t", "Timer #&3"), "Tea break");
}

TEST_F(ShiftJisTest, NamesKeepAtMost30BytesOfWholeCharacters)
{
    const std::string thirty(30, 'n');
    EXPECT_EQ(tidyName((thirty + "xyz").c_str(), "d"), thirty);
    EXPECT_EQ(tidyName((" " + thirty + " ").c_str(), "d"), thirty);
    // 29 bytes, then a character that would need bytes 30 and 31.
    const std::string twentyNine(29, 'n');
    EXPECT_EQ(tidyName((twentyNine + shiftJisText(1)).c_str(), "d"), twentyNine);
    EXPECT_EQ(tidyName(shiftJisText(16).c_str(), "d"), shiftJisText(15));
    // What the cut leaves is tidied again: no blank at the end, never empty.
    EXPECT_EQ(tidyName((std::string(28, 'n') + " " + shiftJisText(1)).c_str(), "d"), std::string(28, 'n'));
    EXPECT_EQ(tidyName("\x87", "Timer #&1"), "Timer #&1");
}

TEST(TidySoundFile, TrimsAndQuotes)
{
    EXPECT_EQ(tidySoundFile("C:\\Media\\Tada.wav"), "\"C:\\Media\\Tada.wav\"");
    EXPECT_EQ(tidySoundFile("  \"C:\\My Sounds\\a.wav\" \t"), "\"C:\\My Sounds\\a.wav\"");
    EXPECT_EQ(tidySoundFile("C:\\My Sounds\\a.wav"), "\"C:\\My Sounds\\a.wav\"");
    EXPECT_EQ(tidySoundFile("   "), "");
    const std::string tooLong = "C:\\" + std::string(254, 'a');   // 257 bytes
    EXPECT_EQ(tidySoundFile(("  " + tooLong + "  ").c_str()), tooLong);
    // Longer than any path buffer: still only trimmed.
    const std::string overlong(400, 'b');
    EXPECT_EQ(tidySoundFile((" " + overlong).c_str()), overlong);
}

TEST(TidyOpenCommand, QuotesOnlyTextsWithoutASpace)
{
    std::string tidied;
    ASSERT_TRUE(tidyOpenCommand(" C:\\Tools\\run.exe\t", tidied));
    EXPECT_EQ(tidied, "\"C:\\Tools\\run.exe\"");
    ASSERT_TRUE(tidyOpenCommand("https://morvane.example/", tidied));
    EXPECT_EQ(tidied, "\"https://morvane.example/\"");
    ASSERT_TRUE(tidyOpenCommand("\"C:\\a.txt\"", tidied));
    EXPECT_EQ(tidied, "\"C:\\a.txt\"");
    ASSERT_TRUE(tidyOpenCommand("C:\\a\tb.txt", tidied));   // a tab is not a space
    EXPECT_EQ(tidied, "\"C:\\a\tb.txt\"");
    ASSERT_TRUE(tidyOpenCommand(" \t ", tidied));
    EXPECT_EQ(tidied, "");

    const std::string longCommand(3000, 'c');
    ASSERT_TRUE(tidyOpenCommand((longCommand + " \t").c_str(), tidied));
    EXPECT_EQ(tidied, longCommand);

    tidied = "untouched";
    EXPECT_FALSE(tidyOpenCommand("C:\\Program Files\\App\\app.exe", tidied));
    EXPECT_FALSE(tidyOpenCommand("  \"C:\\App\\app.exe\" \"C:\\doc.txt\"  ", tidied));
    EXPECT_EQ(tidied, "untouched");
}
