// Quoting a path in its 260-byte buffer, and the tidying of what the user
// leaves in the Settings dialog's edits, on any text in either code page.
//
// Input: [selector][text bytes...] (the text ends at a NUL). Selector bit 0:
// the code page; bits 1-2 the slot and bits 3-4 the kind (timer name, sound
// label, open file label) whose default name tidying falls back to.
#include "base/strings.h"
#include "fuzz_support.h"
#include "settings/settings.h"
#include "settings/settings_rules.h"

#include <cstdint>
#include <cstring>
#include <memory>

namespace {

constexpr std::size_t longestQuotable = 256;

bool enclosedInQuotes(const std::string& path)
{
    return path.size() >= 2 && path.front() == '"' && path.back() == '"';
}

// The quoting rule; a path too long to quote in its buffer stays as it is.
std::string modelQuoted(const std::string& path)
{
    if (path.empty() || enclosedInQuotes(path) || path.size() > longestQuotable)
        return path;
    return '"' + path + '"';
}

void checkQuotePathInPlace(const std::string& text)
{
    // A path buffer holds at most 259 bytes of text.
    const std::string path = text.substr(0, pathBufferSize - 1);
    std::unique_ptr<char[]> buffer(new char[pathBufferSize]);
    std::memset(buffer.get(), 'X', pathBufferSize);
    std::memcpy(buffer.get(), path.c_str(), path.size() + 1);

    const bool quoted = quotePathInPlace(buffer.get());
    const std::string result = untilNul(buffer.get(), pathBufferSize);
    FUZZ_CHECK(result.size() < pathBufferSize);
    FUZZ_CHECK(quoted == (path.size() <= longestQuotable || enclosedInQuotes(path)));
    FUZZ_CHECK(result == modelQuoted(path));
    // A quoted path stays as it is.
    FUZZ_CHECK(quotePathInPlace(buffer.get()) == quoted);
    FUZZ_CHECK(untilNul(buffer.get(), pathBufferSize) == result);
}

void checkTidying(const std::string& typed, const char* defaultName, bool doubleByte)
{
    std::unique_ptr<char[]> text(new char[typed.size() + 1]);
    std::memcpy(text.get(), typed.c_str(), typed.size() + 1);
    const std::string trimmed = modelTrim(typed, doubleByte);

    // A name is never empty nor framed by white space, even when the cut to
    // 30 bytes drops half a character: then what is left is trimmed again.
    const std::string name = tidyName(text.get(), defaultName);
    const std::string cut = modelTrim(modelTruncate(trimmed, labelSize - 1, doubleByte), doubleByte);
    FUZZ_CHECK(name == (cut.empty() ? std::string(defaultName) : cut));
    FUZZ_CHECK(!name.empty());
    FUZZ_CHECK(!hasOuterSpace(name, doubleByte));
    FUZZ_CHECK(!endsInHalfCharacter(name, doubleByte));

    const std::string soundFile = tidySoundFile(text.get());
    FUZZ_CHECK(soundFile == modelQuoted(trimmed));

    std::string command = "untouched";
    const bool tidied = tidyOpenCommand(text.get(), command);
    FUZZ_CHECK(tidied == (modelFind(trimmed, ' ', doubleByte) == std::string::npos));
    if (tidied)
        FUZZ_CHECK(command == modelQuoted(trimmed));
    else
        FUZZ_CHECK(command == "untouched");
    FUZZ_CHECK(std::memcmp(text.get(), typed.c_str(), typed.size() + 1) == 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    const bool doubleByte = chooseCodePage(data[0]);
    // The defaults of the name and label edits: timer names, sound and open file labels.
    const int slot = (data[0] >> 1) % 3;
    const unsigned defaultIds[] = {defaultTimerNameIds[slot], defaultSoundLabelIds[slot], defaultOpenLabelIds[slot]};
    char defaultName[labelSize];
    loadString(defaultIds[(data[0] >> 3) % 3], defaultName, sizeof defaultName);
    FUZZ_CHECK(defaultName[0] != '\0');

    const std::string typed = untilNul(reinterpret_cast<const char*>(data + 1), size - 1);
    checkQuotePathInPlace(typed);
    checkTidying(typed, defaultName, doubleByte);
    return 0;
}
