#include "base/text.h"

#include <cstring>

namespace {

// The C locale's white space: tab, line feed, vertical tab, form feed,
// carriage return and space.
bool isSpaceByte(unsigned char byte)
{
    return byte == ' ' || (byte >= '\t' && byte <= '\r');
}

} // namespace

const char* nextCharacter(const char* text)
{
    if (*text == '\0')
        return text;
    if (isLeadByte(static_cast<unsigned char>(*text)) && text[1] != '\0')
        return text + 2;
    return text + 1;
}

std::size_t copyTextTruncated(char* dest, std::size_t destSize, const char* source, std::size_t sourceLength)
{
    if (destSize == 0)
        return 0;
    const std::size_t limit = destSize - 1;
    std::size_t length = 0;
    while (length < sourceLength && source[length] != '\0') {
        std::size_t step = 1;
        if (isLeadByte(static_cast<unsigned char>(source[length]))) {
            // A lead byte without its trail byte is half a character: drop it.
            if (length + 1 >= sourceLength || source[length + 1] == '\0')
                break;
            step = 2;
        }
        if (length + step > limit)
            break;
        length += step;
    }
    std::memcpy(dest, source, length);
    dest[length] = '\0';
    return length;
}

std::size_t copyText(char* dest, std::size_t destSize, const char* source)
{
    return copyTextTruncated(dest, destSize, source, std::strlen(source));
}

std::size_t trimSpacesInPlace(char* text)
{
    const char* start = text;
    while (isSpaceByte(static_cast<unsigned char>(*start)))
        ++start;
    // Walk forward by characters so that a trail byte is never taken for a space.
    const char* end = start;
    for (const char* p = start; *p != '\0'; p = nextCharacter(p)) {
        if (!isSpaceByte(static_cast<unsigned char>(*p)))
            end = nextCharacter(p);
    }
    const std::size_t length = static_cast<std::size_t>(end - start);
    std::memmove(text, start, length);
    text[length] = '\0';
    return length;
}

std::string trimmedText(const char* begin, const char* end)
{
    std::string text(begin, end);
    text.resize(trimSpacesInPlace(&text[0]));
    return text;
}

std::string trimmedText(const char* text)
{
    return trimmedText(text, text + std::strlen(text));
}

std::size_t copyTrimmed(char* dest, std::size_t destSize, const char* text)
{
    while (isSpaceByte(static_cast<unsigned char>(*text)))
        ++text;
    copyText(dest, destSize, text);
    return trimSpacesInPlace(dest);
}

const char* findCharacter(const char* text, char byte)
{
    for (const char* p = text; *p != '\0'; p = nextCharacter(p)) {
        if (*p == byte)
            return p;
    }
    return nullptr;
}

std::string plainName(const char* label)
{
    std::string plain;
    for (const char* p = label; *p != '\0';) {
        if (*p == '&') {
            ++p;
            if (*p != '&')
                continue;
        }
        const char* next = nextCharacter(p);
        plain.append(p, next);
        p = next;
    }
    return plain;
}

std::string literalAmpersands(const std::string& text)
{
    std::string doubled;
    for (const char* p = text.c_str(); *p != '\0';) {
        const char* next = nextCharacter(p);
        doubled.append(p, next);
        if (*p == '&')
            doubled += '&';
        p = next;
    }
    return doubled;
}
