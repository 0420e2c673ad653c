// Duration entry and display on any text: parsing, the digit scanner and
// both display forms, with the string table's real formats and letters.
//
// Input: [unit][full flag and buffer size][4 bytes of milliseconds][text...]
// The unit byte also gives units outside 1-3, which the program never passes
// but which must not break anything either.
#include "fuzz_support.h"
#include "settings/settings.h"
#include "timers/duration.h"

#include <cctype>
#include <cstdint>
#include <cstring>
#include <memory>

namespace {

constexpr std::uint32_t untouched = 0xDEADBEEF;
// The duration edits take ten characters.
constexpr std::size_t editLimit = 10;

struct Parsed {
    DurationEntry result;
    std::uint32_t valueMs;
    bool operator==(const Parsed& other) const { return result == other.result && valueMs == other.valueMs; }
};

Parsed parse(const std::string& text, std::uint32_t unit)
{
    Parsed parsed{DurationEntry::rejected, untouched};
    parsed.result = parseDuration(text.c_str(), unit, parsed.valueMs);
    return parsed;
}

std::string format(std::uint32_t ms, std::uint32_t unit, bool full)
{
    char buffer[durationTextSize];
    formatDuration(ms, unit, full, buffer, sizeof buffer);
    const std::size_t length = std::strlen(buffer);
    // Even the largest 32-bit count fits the buffer with room to spare.
    FUZZ_CHECK(length > 0 && length + 1 < sizeof buffer);
    return std::string(buffer, length);
}

std::uint32_t oneUnitMs(std::uint32_t unit)
{
    return unit == unitHours ? 3600000u : unit == unitMinutes ? 60000u : 1000u;
}

// What parsing the text of a stored duration must give back: whole seconds,
// zero as one unit, more than the longest as the longest.
Parsed expectedFromShown(std::uint32_t ms, std::uint32_t unit)
{
    const std::uint64_t wholeMs = static_cast<std::uint64_t>(ms / 1000) * 1000;
    if (wholeMs == 0)
        return Parsed{DurationEntry::corrected, oneUnitMs(unit)};
    if (wholeMs > maxDurationMs)
        return Parsed{DurationEntry::corrected, maxDurationMs};
    return Parsed{DurationEntry::valid, static_cast<std::uint32_t>(wholeMs)};
}

// The entry rules written over indices, with the string table's letters h,
// m, s and ":". Numbers are kept exact: one of more than twelve digits is
// beyond the longest duration whatever field it fills.
Parsed modelParse(const std::string& typed, std::uint32_t unit)
{
    const Parsed rejected{DurationEntry::rejected, untouched};
    std::string text = typed;
    for (char& c : text)
        c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    enum { seconds, minutes, hours };
    bool given[3] = {false, false, false};
    std::uint64_t numbers[3] = {0, 0, 0};
    bool huge = false;
    int expected = unit == unitHours ? hours : unit == unitMinutes ? minutes : seconds;
    int count = 0;
    std::size_t i = 0;
    for (;;) {
        while (i < text.size() && text[i] == ' ')
            ++i;
        if (i == text.size())
            break;
        if (text[i] < '0' || text[i] > '9' || count == 3)
            return rejected;
        while (i < text.size() && text[i] == '0')
            ++i;
        const std::size_t start = i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9')
            ++i;
        const std::string digits = text.substr(start, i - start);
        while (i < text.size() && text[i] == ' ')
            ++i;
        int field = expected;
        if (i < text.size()) {
            const char c = text[i++];
            if (c == 'h')
                field = hours;
            else if (c == 'm')
                field = minutes;
            else if (c == 's')
                field = seconds;
            else if (c != ':')
                return rejected;
        }
        // Each field once, larger fields before smaller ones.
        for (int smaller = seconds; smaller <= field; ++smaller) {
            if (given[smaller])
                return rejected;
        }
        given[field] = true;
        if (field != seconds)
            expected = field - 1;
        if (digits.size() > 12)
            huge = true;
        else if (!digits.empty())
            numbers[field] = std::stoull(digits);
        ++count;
    }
    const std::uint64_t total = ((numbers[hours] * 60 + numbers[minutes]) * 60 + numbers[seconds]) * 1000;
    if (huge || total > maxDurationMs)
        return Parsed{DurationEntry::corrected, maxDurationMs};
    if (total < minDurationMs)
        return Parsed{DurationEntry::corrected, oneUnitMs(unit)};
    return Parsed{DurationEntry::valid, static_cast<std::uint32_t>(total)};
}

void checkParse(const std::string& text, std::uint32_t unit)
{
    const Parsed parsed = parse(text, unit);
    FUZZ_CHECK(parsed == modelParse(text, unit));
        if (parsed.result == DurationEntry::rejected) {
        FUZZ_CHECK(parsed.valueMs == untouched);
    } else {
        FUZZ_CHECK(parsed.valueMs >= minDurationMs && parsed.valueMs <= maxDurationMs);
        FUZZ_CHECK(parsed.valueMs % 1000 == 0);
        if (parsed.result == DurationEntry::corrected)
            FUZZ_CHECK(parsed.valueMs == maxDurationMs || parsed.valueMs == oneUnitMs(unit));
        // What the program shows for an accepted value reads back as that value.
        for (bool full : {true, false}) {
            const std::string shown = format(parsed.valueMs, unit, full);
            FUZZ_CHECK(shown.size() <= editLimit);
            FUZZ_CHECK(parse(shown, unit) == (Parsed{DurationEntry::valid, parsed.valueMs}));
        }
    }
    // Letters in either case, and blanks around the whole text, change nothing.
    std::string upper = text;
    for (char& c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    FUZZ_CHECK(parse(upper, unit) == parsed);
    FUZZ_CHECK(parse("  " + text + " ", unit) == parsed);
}

void checkDigitRun(const std::string& text, std::size_t from)
{
    std::size_t position = from;
    std::string digits = "stale";
    const bool found = nextDigitRun(text.c_str(), position, digits);
    FUZZ_CHECK(position >= from && position <= text.size());
    std::size_t start = from;
    while (start < text.size() && text[start] == ' ')
        ++start;
    const bool atDigit = start < text.size() && text[start] >= '0' && text[start] <= '9';
    FUZZ_CHECK(found == (atDigit || start == text.size()));
    if (!found)
        return;
    if (!atDigit) {
        FUZZ_CHECK(digits.empty());
        return;
    }
    std::size_t end = start;
    while (end < text.size() && text[end] >= '0' && text[end] <= '9')
        ++end;
    FUZZ_CHECK(position == end);
    FUZZ_CHECK(digits == text.substr(start, end - start));
}

void checkFormat(std::uint32_t ms, std::uint32_t unit, bool full, std::size_t size)
{
    const std::string whole = format(ms, unit, full);
    // The text of any count, in any unit, parses back to its whole seconds.
    FUZZ_CHECK(parse(whole, unit) == expectedFromShown(ms, unit));

    // A short buffer gets the start of the text, always terminated.
    std::unique_ptr<char[]> buffer(new char[size]);
    formatDuration(ms, unit, full, buffer.get(), size);
    if (size > 0) {
        const std::string cut = untilNul(buffer.get(), size);
        FUZZ_CHECK(cut.size() < size);
        FUZZ_CHECK(cut == whole.substr(0, size - 1));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 6)
        return 0;
    const std::uint32_t unit = data[0] % 5;
    const bool full = (data[1] & 0x80) != 0;
    const std::size_t bufferSize = data[1] & 0x1F;
    std::uint32_t ms = 0;
    std::memcpy(&ms, data + 2, sizeof ms);
    const std::string text = untilNul(reinterpret_cast<const char*>(data + 6), size - 6);

    checkParse(text, unit);
    checkDigitRun(text, data[1] % (text.size() + 1));
    checkFormat(ms, unit, full, bufferSize);
    return 0;
}
