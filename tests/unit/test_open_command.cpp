// Splitting an open file event's command text into target and parameters,
// and recognising web addresses. The tables were worked out from the
// splitting rules; texts marked 932 are read in the Shift-JIS code page.
#include "events/open_command.h"

#include "fake_platform.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct SplitCase {
    const char* command;
    bool ok;
    const char* target;
    const char* parameters;
};

struct OpenCommandTest : ::testing::Test {
    void TearDown() override { useCodePage(0); }
};

template <std::size_t n>
void expectSplits(const SplitCase (&cases)[n])
{
    for (const SplitCase& c : cases) {
        std::string target = "stale";
        std::string parameters = "stale";
        ASSERT_EQ(splitOpenCommand(c.command, target, parameters), c.ok) << '[' << c.command << ']';
        if (!c.ok)
            continue;
        EXPECT_EQ(target, c.target) << '[' << c.command << ']';
        EXPECT_EQ(parameters, c.parameters) << '[' << c.command << ']';
    }
}

} // namespace

TEST_F(OpenCommandTest, QuotedTargetsEndAtTheirClosingQuote)
{
    const SplitCase cases[] = {
        // An application with a document: the document keeps its quotes.
        {"\"C:\\Program Files\\Editor\\edit.exe\" \"C:\\My Documents\\notes.txt\"", true,
         "C:\\Program Files\\Editor\\edit.exe", "\"C:\\My Documents\\notes.txt\""},
        {"\"C:\\My Documents\\notes.txt\"", true, "C:\\My Documents\\notes.txt", ""},
        {"\"C:\\a.exe\" -x \"two words\" -y", true, "C:\\a.exe", "-x \"two words\" -y"},
        {"\"https://morvane.example/a b\"", true, "https://morvane.example/a b", ""},
        // White space inside the quotes and around the parameters is trimmed.
        {"\"  C:\\a.exe \t\"   -x \t\r\n", true, "C:\\a.exe", "-x"},
        {"\"C:\\a.exe\" ", true, "C:\\a.exe", ""},
        {"\"C:\\a.exe\" \t ", true, "C:\\a.exe", ""},
        // Two quotes only: an empty target, refused later as relative.
        {"\"\"", true, "", ""},
        {"\"\" x", true, "", "x"},
    };
    expectSplits(cases);
}

TEST_F(OpenCommandTest, MalformedQuotedTargetsFail)
{
    const SplitCase cases[] = {
        {"", false, "", ""},
        {"\"", false, "", ""},
        {"\"C:\\Program Files\\a.exe", false, "", ""},         // never closed
        {"\"C:\\Program Files\\a.exe\"/x", false, "", ""},     // glued to the quote
        {"\"C:\\a.exe\"\"C:\\b.txt\"", false, "", ""},
        {"\"C:\\a.exe\"\t-x", false, "", ""},                  // a tab does not separate
        {"\"C:\\a.exe\"\n", false, "", ""},
        {"\"\"\"", false, "", ""},
    };
    expectSplits(cases);
    std::string target;
    std::string parameters;
    EXPECT_FALSE(splitOpenCommand(nullptr, target, parameters));
}

TEST_F(OpenCommandTest, UnquotedTargetsEndAtTheFirstSpace)
{
    const SplitCase cases[] = {
        {"C:\\Tools\\a.exe", true, "C:\\Tools\\a.exe", ""},
        {"C:\\Tools\\a.exe -x -y", true, "C:\\Tools\\a.exe", "-x -y"},
        {"C:\\Tools\\a.exe   \"C:\\b c.txt\"  ", true, "C:\\Tools\\a.exe", "\"C:\\b c.txt\""},
        // A path with a space is cut there; the shell is then given the stub.
        {"C:\\Program Files\\a.exe", true, "C:\\Program", "Files\\a.exe"},
        {"https://morvane.example/a b", true, "https://morvane.example/a", "b"},
        // Tabs are no separator before the target ends, and the target is not trimmed.
        {"C:\\a.exe\t-x", true, "C:\\a.exe\t-x", ""},
        {"\tC:\\a.exe x", true, "\tC:\\a.exe", "x"},
        // The search starts at the second character.
        {" C:\\a.exe", true, " C:\\a.exe", ""},
        {"  x", true, " ", "x"},
        {" ", true, " ", ""},
        {"x", true, "x", ""},
        {"x ", true, "x", ""},
    };
    expectSplits(cases);
}

TEST_F(OpenCommandTest, TrailBytesAreNeverTakenForQuotesOrSpaces)
{
    useCodePage(932);
    const SplitCase cases[] = {
        // 0x95 0x5C is one character whose second byte looks like a backslash.
        {"\"C:\\\x95\x5c\\a b.exe\" \"C:\\\x83\x5c\\x.txt\"", true, "C:\\\x95\x5c\\a b.exe", "\"C:\\\x83\x5c\\x.txt\""},
        // A lead byte followed by 0x22 or 0x20 is one character, not a quote or a space.
        {"\"C:\\\x81\x22x\" y", true, "C:\\\x81\x22x", "y"},
        // A lead byte swallows the quote after it, which then closes nothing.
        {"\"C:\\a\x81\"", false, "", ""},
        {"C:\\\x81\x20x.exe y", true, "C:\\\x81\x20x.exe", "y"},
        {"\x81\x20x", true, "\x81\x20x", ""},
        // Trimming keeps a character whose trail byte looks like white space.
        {"\"C:\\a.exe\" y\x81\x20", true, "C:\\a.exe", "y\x81\x20"},
        {"\"\x81\x20\"", true, "\x81\x20", ""},
        // Ordinary double-byte text splits as usual.
        {"\"C:\\\x93\xfa\x96\x7b\\a.exe\" \x83\x65\x83\x58\x83\x67", true, "C:\\\x93\xfa\x96\x7b\\a.exe",
         "\x83\x65\x83\x58\x83\x67"},
    };
    expectSplits(cases);
}

TEST_F(OpenCommandTest, TheCodePageDecidesWhatIsAQuote)
{
    // In a single-byte code page the same bytes hold a closing quote glued to text.
    std::string target;
    std::string parameters;
    EXPECT_FALSE(splitOpenCommand("\"C:\\\x81\x22x\" y", target, parameters));
    useCodePage(932);
    EXPECT_TRUE(splitOpenCommand("\"C:\\\x81\x22x\" y", target, parameters));
}

TEST_F(OpenCommandTest, VeryLongTextsSplitWhole)
{
    const std::string longPath = "C:\\" + std::string(25990, 'a');
    std::string target;
    std::string parameters;
    ASSERT_TRUE(splitOpenCommand(("\"" + longPath + "\"").c_str(), target, parameters));
    EXPECT_EQ(target, longPath);
    EXPECT_EQ(parameters, "");

    const std::string longParameters(100000, 'p');
    ASSERT_TRUE(splitOpenCommand(("C:\\a.exe " + longParameters + std::string(1000, ' ')).c_str(), target, parameters));
    EXPECT_EQ(target, "C:\\a.exe");
    EXPECT_EQ(parameters, longParameters);

    EXPECT_FALSE(splitOpenCommand(("\"" + longPath).c_str(), target, parameters));

    useCodePage(932);
    std::string doubleBytes;
    for (int i = 0; i < 13000; ++i)
        doubleBytes += "\x81\x22";
    ASSERT_TRUE(splitOpenCommand(("\"" + doubleBytes + "\" x").c_str(), target, parameters));
    EXPECT_EQ(target, doubleBytes);
    EXPECT_EQ(parameters, "x");
}

TEST(WebAddress, OnlyLowerCaseHttpSchemesCount)
{
    EXPECT_TRUE(isWebAddress("http://morvane.example/"));
    EXPECT_TRUE(isWebAddress("https://morvane.example/"));
    EXPECT_TRUE(isWebAddress("http://"));
    for (const char* text : {"HTTP://morvane.example/", "Https://morvane.example/", "http:/x", "https:/x",
                             "http", "", "ftp://morvane.example/", " http://x", "\"http://x\"", "httpx://x"})
        EXPECT_FALSE(isWebAddress(text)) << text;
}
