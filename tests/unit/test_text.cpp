// Byte-wise text rules, in a single-byte and in the Shift-JIS code page.
#include "base/text.h"
#include "fake_platform.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct CodePageTest : ::testing::Test {
    void TearDown() override { useCodePage(0); }
};

std::string truncated(const std::string& source, size_t destSize)
{
    std::string dest(destSize, 'X');
    copyTextTruncated(&dest[0], destSize, source.c_str(), source.size());
    return std::string(dest.c_str());
}

std::string trimmed(std::string text)
{
    text.resize(trimSpacesInPlace(&text[0]));
    return text;
}

} // namespace

TEST_F(CodePageTest, TruncationKeepsWholeCharacters)
{
    const std::string thirtyBytes(30, 'a');
    EXPECT_EQ(truncated(thirtyBytes, 31), thirtyBytes);
    EXPECT_EQ(truncated(thirtyBytes + "bcdefghij", 31), thirtyBytes);
    EXPECT_EQ(truncated("", 31), "");

    useCodePage(932);
    // 29 single bytes, then a two-byte character whose lead byte would be the 30th byte.
    const std::string twentyNine(29, 'a');
    EXPECT_EQ(truncated(twentyNine + "\x82\xa0" "b", 31), twentyNine);
    // Fifteen double-byte characters fill the 30 bytes exactly.
    std::string fifteen;
    for (int i = 0; i < 15; ++i)
        fifteen += "\x83\x5c";
    EXPECT_EQ(truncated(fifteen + "\x83\x5c", 31), fifteen);
    // A lone lead byte at the end of the source is half a character.
    EXPECT_EQ(truncated("ab\x82", 31), "ab");
}

TEST_F(CodePageTest, TruncationInSingleByteCodePageTakesEveryByte)
{
    const std::string twentyNine(29, 'a');
    EXPECT_EQ(truncated(twentyNine + "\x82\xa0", 31), twentyNine + "\x82");
}

TEST_F(CodePageTest, TrimmingRemovesTheCLocaleSpacesOnly)
{
    EXPECT_EQ(trimmed(" \t\n\v\f\rname \t\r\n"), "name");
    EXPECT_EQ(trimmed("  two  words  "), "two  words");
    EXPECT_EQ(trimmed(" \t "), "");
    EXPECT_EQ(trimmed("\xa0x\xa0"), "\xa0x\xa0");   // a no-break space of 1252 is text
}

TEST_F(CodePageTest, SearchesStepOverTrailBytes)
{
    useCodePage(932);
    // 0x5C (backslash) and 0x22 never appear as trail bytes of a character
    // found by a search; 0x81 0x5C is one character.
    const char text[] = "\x81\x5c" "a\\b";
    EXPECT_EQ(findCharacter(text, '\\'), text + 3);
    EXPECT_EQ(findCharacter("abc", 'x'), nullptr);
    // A space as a trail byte is impossible in Shift-JIS, but trimming still
    // never cuts inside a character.
    EXPECT_EQ(trimmed("\x82\xa0 "), "\x82\xa0");
}

TEST_F(CodePageTest, PlainNamesLoseTheirMnemonicMarkers)
{
    EXPECT_EQ(plainName("Timer #&1"), "Timer #1");
    EXPECT_EQ(plainName("Fish && &Chips"), "Fish & Chips");
    EXPECT_EQ(plainName("&&&x&"), "&x");
    EXPECT_EQ(plainName(""), "");
    EXPECT_EQ(literalAmpersands("Fish & Chips&"), "Fish && Chips&&");
    EXPECT_EQ(plainName(literalAmpersands("a&&b&").c_str()), "a&&b&");

    useCodePage(932);
    // 0x81 0x95 is the full-width ampersand: one character, not a marker.
    EXPECT_EQ(plainName("\x81\x95&\x82\xa0"), "\x81\x95\x82\xa0");
    EXPECT_EQ(literalAmpersands("\x81\x95&"), "\x81\x95&&");
}
