// Byte-wise text rules for 8-bit text in the system code page. Every limit is
// in bytes, and no copy or search ever splits a double-byte character.
#ifndef KELVARO_BASE_TEXT_H
#define KELVARO_BASE_TEXT_H

#include <cstddef>
#include <string>

// The longest path the system takes, its NUL included (MAX_PATH).
constexpr std::size_t maxPathSize = 260;

// Whether a byte starts a double-byte character in the system code page.
// The Windows build answers with IsDBCSLeadByte; the unit tests choose a code page.
bool isLeadByte(unsigned char byte);

// Copies at most destSize - 1 bytes of the first sourceLength bytes of source
// (stopping early at a NUL), dropping a lead byte whose trail byte would not
// fit, and always terminates dest. Returns the number of bytes copied.
std::size_t copyTextTruncated(char* dest, std::size_t destSize, const char* source, std::size_t sourceLength);

// copyTextTruncated over the whole NUL-terminated source.
std::size_t copyText(char* dest, std::size_t destSize, const char* source);

// Removes leading and trailing white space in place. Returns the new length.
std::size_t trimSpacesInPlace(char* text);

// The bytes from begin to end (or to a NUL before it) without the white
// space around them.
std::string trimmedText(const char* begin, const char* end);
std::string trimmedText(const char* text);

// Copies text without the white space around it, cut to destSize - 1 bytes
// on a character boundary; white space the cut leaves at the end goes too.
// Returns the length, 0 when nothing is left.
std::size_t copyTrimmed(char* dest, std::size_t destSize, const char* text);

// The first occurrence of byte in text at a character boundary, or nullptr.
// A trail byte that happens to equal the byte is stepped over.
const char* findCharacter(const char* text, char byte);

// The position just after the character that starts at text.
const char* nextCharacter(const char* text);

// A label as it reads, without the '&' that marks its mnemonic: every lone
// '&' goes and "&&" (a shown ampersand) becomes one '&'.
std::string plainName(const char* label);

// Text that a control which draws mnemonics shows as it is: every '&' doubled.
std::string literalAmpersands(const std::string& text);

#endif
