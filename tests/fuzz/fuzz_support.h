// What the fuzz targets share: failing loudly, choosing the code page, and a
// model of characters and white space written apart from app/text.cpp, so
// that the checks do not simply repeat the code they check.
#ifndef KELVARO_FUZZ_SUPPORT_H
#define KELVARO_FUZZ_SUPPORT_H

#include "fake_platform.h"

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

// Any broken rule is a finding: libFuzzer keeps the input that aborted.
#define FUZZ_CHECK(condition)                                   \
    do {                                                        \
        if (!(condition))                                       \
            fuzzFailure(#condition, __FILE__, __LINE__);        \
    } while (0)

[[noreturn]] inline void fuzzFailure(const char* condition, const char* file, int line)
{
    std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, condition);
    std::abort();
}

// Bit 0 of the selector: 0 a single-byte code page, 1 Shift-JIS (932).
// Returns whether the chosen code page has double-byte characters.
inline bool chooseCodePage(unsigned char selector)
{
    const bool doubleByte = (selector & 1) != 0;
    useCodePage(doubleByte ? 932 : 0);
    return doubleByte;
}

// The lead bytes of code page 932.
inline bool modelLeadByte(unsigned char byte, bool doubleByte)
{
    return doubleByte && ((byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC));
}

inline bool modelSpace(unsigned char byte)
{
    return byte == ' ' || byte == '\t' || byte == '\n' || byte == '\v' || byte == '\f' || byte == '\r';
}

// The size of the character at position i of text (which holds no NUL). A
// lead byte with nothing after it is a character of its own: half a
// double-byte character.
inline std::size_t modelCharacterSize(const std::string& text, std::size_t i, bool doubleByte)
{
    return modelLeadByte(static_cast<unsigned char>(text[i]), doubleByte) && i + 1 < text.size() ? 2 : 1;
}

// The positions where characters start, walking from position from, plus the end.
inline std::vector<std::size_t> characterStarts(const std::string& text, bool doubleByte, std::size_t from = 0)
{
    std::vector<std::size_t> starts;
    for (std::size_t i = from; i < text.size(); i += modelCharacterSize(text, i, doubleByte))
        starts.push_back(i);
    starts.push_back(text.size());
    return starts;
}

// The text up to its first NUL, or all of it.
inline std::string untilNul(const char* bytes, std::size_t size)
{
    const void* nul = std::memchr(bytes, '\0', size);
    return std::string(bytes, nul != nullptr ? static_cast<std::size_t>(static_cast<const char*>(nul) - bytes) : size);
}

// The start of the last character, or npos for an empty text.
inline std::size_t lastCharacterStart(const std::string& text, bool doubleByte)
{
    std::size_t last = std::string::npos;
    for (std::size_t i = 0; i < text.size(); i += modelCharacterSize(text, i, doubleByte))
        last = i;
    return last;
}

inline bool endsInHalfCharacter(const std::string& text, bool doubleByte)
{
    const std::size_t last = lastCharacterStart(text, doubleByte);
    return last != std::string::npos && last + 1 == text.size()
        && modelLeadByte(static_cast<unsigned char>(text[last]), doubleByte);
}

// White space is only ever a single-byte character: a trail byte that equals
// a space byte belongs to its double-byte character.
inline bool hasOuterSpace(const std::string& text, bool doubleByte)
{
    if (text.empty())
        return false;
    if (modelSpace(static_cast<unsigned char>(text[0])))
        return true;
    const std::size_t last = lastCharacterStart(text, doubleByte);
    return last + 1 == text.size() && modelSpace(static_cast<unsigned char>(text[last]));
}

// Leading and trailing white space removed, character by character.
inline std::string modelTrim(const std::string& text, bool doubleByte)
{
    std::size_t begin = 0;
    while (begin < text.size() && modelSpace(static_cast<unsigned char>(text[begin])))
        ++begin;
    std::size_t end = begin;
    for (std::size_t i = begin; i < text.size();) {
        const std::size_t size = modelCharacterSize(text, i, doubleByte);
        if (size == 2 || !modelSpace(static_cast<unsigned char>(text[i])))
            end = i + size;
        i += size;
    }
    return text.substr(begin, end - begin);
}

// The longest run of whole characters from the start of text (which holds no
// NUL) that fits in limit bytes; half a character at the end is left out.
inline std::string modelTruncate(const std::string& text, std::size_t limit, bool doubleByte)
{
    std::size_t kept = 0;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t size = modelCharacterSize(text, i, doubleByte);
        const bool half = size == 1 && modelLeadByte(static_cast<unsigned char>(text[i]), doubleByte);
        if (half || i + size > limit)
            break;
        i += size;
        kept = i;
    }
    return text.substr(0, kept);
}

// The first occurrence of byte at a character start at or after from, or npos.
inline std::size_t modelFind(const std::string& text, char byte, bool doubleByte, std::size_t from = 0)
{
    for (std::size_t i = from; i < text.size(); i += modelCharacterSize(text, i, doubleByte)) {
        if (text[i] == byte)
            return i;
    }
    return std::string::npos;
}

#endif
