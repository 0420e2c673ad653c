// The byte-wise text rules on any bytes, in a single-byte code page and in
// Shift-JIS: truncating copies, trimming, character search and stepping.
//
// Input: [code page][destination size][search byte][source bytes...]
// Every buffer is allocated at its exact size, so AddressSanitizer sees a
// single byte written or read past its end.
#include "base/text.h"
#include "fuzz_support.h"

#include <cstdint>
#include <cstring>
#include <memory>

namespace {

// A NUL-terminated copy of text in a heap block of exactly its size.
std::unique_ptr<char[]> exactCopy(const std::string& text)
{
    std::unique_ptr<char[]> copy(new char[text.size() + 1]);
    std::memcpy(copy.get(), text.c_str(), text.size() + 1);
    return copy;
}

void checkTruncatedCopy(const std::uint8_t* bytes, std::size_t size, std::size_t destSize, bool doubleByte)
{
    // The source is not terminated: reading past size is a fault.
    std::unique_ptr<char[]> source(new char[size]);
    std::memcpy(source.get(), bytes, size);
    std::unique_ptr<char[]> dest(new char[destSize]);
    std::memset(dest.get(), 'X', destSize);

    const std::size_t copied = copyTextTruncated(dest.get(), destSize, source.get(), size);
    if (destSize == 0) {
        FUZZ_CHECK(copied == 0);
        return;
    }
    const std::string text = untilNul(source.get(), size);
    FUZZ_CHECK(copied < destSize);
    FUZZ_CHECK(dest[copied] == '\0');
    FUZZ_CHECK(std::string(dest.get(), copied) == modelTruncate(text, destSize - 1, doubleByte));
    FUZZ_CHECK(!endsInHalfCharacter(std::string(dest.get(), copied), doubleByte));

    // The whole-text form gives the same result.
    std::unique_ptr<char[]> terminated = exactCopy(text);
    std::unique_ptr<char[]> whole(new char[destSize]);
    FUZZ_CHECK(copyText(whole.get(), destSize, terminated.get()) == copied);
    FUZZ_CHECK(std::memcmp(whole.get(), dest.get(), copied + 1) == 0);
}

void checkTrim(const std::string& text, bool doubleByte)
{
    std::unique_ptr<char[]> buffer = exactCopy(text);
    const std::size_t length = trimSpacesInPlace(buffer.get());
    FUZZ_CHECK(length <= text.size());
    FUZZ_CHECK(std::strlen(buffer.get()) == length);
    const std::string trimmed(buffer.get(), length);
    FUZZ_CHECK(trimmed == modelTrim(text, doubleByte));
    FUZZ_CHECK(!hasOuterSpace(trimmed, doubleByte));
    // Trimming twice changes nothing.
    FUZZ_CHECK(trimSpacesInPlace(buffer.get()) == length);
}

void checkSearch(const std::string& text, char byte, bool doubleByte)
{
    std::unique_ptr<char[]> buffer = exactCopy(text);
    const char* found = findCharacter(buffer.get(), byte);
    const std::size_t expected = byte == '\0' ? std::string::npos : modelFind(text, byte, doubleByte);
    if (expected == std::string::npos)
        FUZZ_CHECK(found == nullptr);
    else
        FUZZ_CHECK(found == buffer.get() + expected);
}

void checkStepping(const std::string& text, bool doubleByte)
{
    std::unique_ptr<char[]> buffer = exactCopy(text);
    const std::vector<std::size_t> starts = characterStarts(text, doubleByte);
    for (std::size_t k = 0; k + 1 < starts.size(); ++k)
        FUZZ_CHECK(nextCharacter(buffer.get() + starts[k]) == buffer.get() + starts[k + 1]);
    // At the end it stays on the terminating NUL.
    FUZZ_CHECK(nextCharacter(buffer.get() + text.size()) == buffer.get() + text.size());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 3)
        return 0;
    const bool doubleByte = chooseCodePage(data[0]);
    // Mostly small destinations, where truncation happens; now and then a large one.
    const std::size_t destSize = data[1] < 0xF0 ? data[1] % 48 : 256u * (data[1] - 0xEF);
    const char searchByte = static_cast<char>(data[2]);
    const std::uint8_t* source = data + 3;
    const std::size_t sourceSize = size - 3;

    checkTruncatedCopy(source, sourceSize, destSize, doubleByte);

    const std::string text = untilNul(reinterpret_cast<const char*>(source), sourceSize);
    checkTrim(text, doubleByte);
    checkStepping(text, doubleByte);
    checkSearch(text, searchByte, doubleByte);
    // The bytes the program searches for, which are also common trail bytes.
    for (char byte : {'"', ' ', '\\', '|'})
        checkSearch(text, byte, doubleByte);
    return 0;
}
