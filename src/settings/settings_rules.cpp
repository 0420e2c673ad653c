#include "settings/settings_rules.h"

#include "base/strings.h"
#include "base/text.h"
#include "settings/settings.h"

#include <cstring>

namespace {

// Longest path that still fits a 260-byte buffer with two quotes and a NUL
// to spare.
constexpr std::size_t longestQuotablePath = 256;

// Quoting needs a path buffer; anything too long for one is too long to quote.
std::string quoted(const std::string& path)
{
    if (path.size() >= pathBufferSize)
        return path;
    char buffer[pathBufferSize];
    std::memcpy(buffer, path.c_str(), path.size() + 1);
    quotePathInPlace(buffer);
    return buffer;
}

} // namespace

bool quotePathInPlace(char* path)
{
    const std::size_t length = std::strlen(path);
    if (length == 0)
        return true;
    if (length >= 2 && path[0] == '"' && path[length - 1] == '"')
        return true;
    if (length > longestQuotablePath)
        return false;
    std::memmove(path + 1, path, length);
    path[0] = '"';
    path[length + 1] = '"';
    path[length + 2] = '\0';
    return true;
}

std::string tidyName(const char* typed, const char* defaultText)
{
    char name[labelSize];
    // Nothing may be left when the text was half a double-byte character.
    if (copyTrimmed(name, sizeof name, typed) == 0)
        copyText(name, sizeof name, defaultText);
    return name;
}

std::string tidySoundFile(const char* typed)
{
    return quoted(trimmedText(typed));
}

bool tidyOpenCommand(const char* typed, std::string& tidied)
{
    const std::string text = trimmedText(typed);
    // An application with a document, or a path with spaces the user chose
    // not to quote: only the user knows where the target ends.
    if (findCharacter(text.c_str(), ' ') != nullptr)
        return false;
    tidied = quoted(text);
    return true;
}

bool isDefaultTimerName(const char* name, unsigned defaultNameId)
{
    char defaultName[labelSize];
    loadString(defaultNameId, defaultName, sizeof defaultName);
    return std::strcmp(name, defaultName) == 0;
}
