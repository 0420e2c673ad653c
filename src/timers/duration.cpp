// Duration texts: the idle and countdown forms the program shows, and the
// text the user may type into a duration edit.
#include "timers/duration.h"

#include "base/strings.h"
#include "resource.h"
#include "settings/settings.h"

#include <cstdio>
#include <limits>

namespace {

constexpr std::uint64_t saturated = std::numeric_limits<std::uint64_t>::max();

// The formats have at most three %u; extra arguments are ignored by printf.
void formatFromTable(unsigned formatId, char* buffer, std::size_t size, unsigned a, unsigned b, unsigned c)
{
    char format[32];
    loadString(formatId, format, sizeof format);
    std::snprintf(buffer, size, format, a, b, c);
}

char lowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// The first byte of a string-table entry in lower case, or NUL when missing.
char entryLetter(unsigned id)
{
    char text[8];
    loadString(id, text, sizeof text);
    return lowerAscii(text[0]);
}

// The typed number, held at the largest value instead of wrapping: the
// edit takes 10 characters, but a pasted or programmatic text may be longer.
std::uint64_t digitsValue(const std::string& digits)
{
    std::uint64_t value = 0;
    for (char digit : digits) {
        const std::uint64_t d = static_cast<std::uint64_t>(digit - '0');
        if (value > (saturated - d) / 10)
            return saturated;
        value = value * 10 + d;
    }
    return value;
}

std::uint64_t multiplySaturated(std::uint64_t a, std::uint64_t b)
{
    if (a != 0 && b > saturated / a)
        return saturated;
    return a * b;
}

std::uint64_t addSaturated(std::uint64_t a, std::uint64_t b)
{
    return a > saturated - b ? saturated : a + b;
}

std::uint32_t oneUnitMs(std::uint32_t unit)
{
    if (unit == unitHours)
        return 3600000;
    if (unit == unitMinutes)
        return 60000;
    return 1000;
}

struct DurationFields {
    std::uint64_t hours = 0;
    std::uint64_t minutes = 0;
    std::uint64_t seconds = 0;
    bool haveHours = false;
    bool haveMinutes = false;
    bool haveSeconds = false;
};

// Stores one number in its field; false when the field is out of order or repeated.
bool takeField(DurationFields& fields, std::uint32_t field, std::uint64_t number, std::uint32_t& expected)
{
    if (field == unitHours) {
        if (fields.haveHours || fields.haveMinutes || fields.haveSeconds)
            return false;
        fields.hours = number;
        fields.haveHours = true;
        expected = unitMinutes;
    } else if (field == unitMinutes) {
        if (fields.haveMinutes || fields.haveSeconds)
            return false;
        fields.minutes = number;
        fields.haveMinutes = true;
        expected = unitSeconds;
    } else {
        if (fields.haveSeconds)
            return false;
        fields.seconds = number;
        fields.haveSeconds = true;
    }
    return true;
}

std::uint64_t totalMs(const DurationFields& fields)
{
    std::uint64_t total = addSaturated(multiplySaturated(fields.hours, 60), fields.minutes);
    total = addSaturated(multiplySaturated(total, 60), fields.seconds);
    return multiplySaturated(total, 1000);
}

} // namespace

void formatDuration(std::uint32_t ms, std::uint32_t unit, bool full, char* buffer, std::size_t size)
{
    if (size == 0)
        return;
    buffer[0] = '\0';
    const unsigned s = ms / 1000;
    const unsigned m = s / 60;
    const unsigned h = m / 60;
    if (unit == unitHours) {
        if (h != 0 || full)
            formatFromTable(IDS_FORMAT_HMS, buffer, size, h, m - 60 * h, s - 60 * m);
        else if (m != 0)
            formatFromTable(IDS_FORMAT_MS, buffer, size, m, s - 60 * m, 0);
        else
            formatFromTable(IDS_FORMAT_S, buffer, size, s, 0, 0);
    } else if (unit == unitMinutes) {
        if (m != 0 || full)
            formatFromTable(IDS_FORMAT_MS, buffer, size, m, s - 60 * m, 0);
        else
            formatFromTable(IDS_FORMAT_S, buffer, size, s, 0, 0);
    } else {
        formatFromTable(IDS_FORMAT_S, buffer, size, s, 0, 0);
    }
}

bool nextDigitRun(const char* text, std::size_t& position, std::string& digits)
{
    digits.clear();
    while (text[position] == ' ')
        ++position;
    const char c = text[position];
    if (c < '0' || c > '9')
        return c == '\0';
    const std::size_t start = position;
    while (text[position] >= '0' && text[position] <= '9')
        ++position;
    digits.assign(text + start, position - start);
    return true;
}

DurationEntry parseDuration(const char* text, std::uint32_t unit, std::uint32_t& valueMs)
{
    std::string lower(text);
    for (char& c : lower)
        c = lowerAscii(c);

    const char hourLetter = entryLetter(IDS_HOUR_LETTER);
    const char minuteLetter = entryLetter(IDS_MINUTE_LETTER);
    const char secondLetter = entryLetter(IDS_SECOND_LETTER);
    const char separator = entryLetter(IDS_SEPARATOR);
    if (hourLetter == '\0' || minuteLetter == '\0' || secondLetter == '\0' || separator == '\0')
        return DurationEntry::rejected;
    if (hourLetter == minuteLetter || hourLetter == secondLetter || hourLetter == separator
        || minuteLetter == secondLetter || minuteLetter == separator || secondLetter == separator)
        return DurationEntry::rejected;

    DurationFields fields;
    std::uint32_t expected = unit;
    int count = 0;
    std::size_t position = 0;
    std::string digits;
    for (;;) {
        if (!nextDigitRun(lower.c_str(), position, digits))
            return DurationEntry::rejected;
        if (digits.empty())
            break;
        if (count == 3)
            return DurationEntry::rejected;
        while (lower[position] == ' ')
            ++position;
        const char c = lower[position];
        std::uint32_t field;
        if (c == hourLetter)
            field = unitHours;
        else if (c == minuteLetter)
            field = unitMinutes;
        else if (c == secondLetter)
            field = unitSeconds;
        else if (c == separator || c == '\0')
            field = expected;
        else
            return DurationEntry::rejected;
        if (c != '\0')
            ++position;
        if (!takeField(fields, field, digitsValue(digits), expected))
            return DurationEntry::rejected;
        ++count;
    }

    const std::uint64_t total = totalMs(fields);
    if (total > maxDurationMs) {
        valueMs = maxDurationMs;
        return DurationEntry::corrected;
    }
    if (total < minDurationMs) {
        valueMs = oneUnitMs(unit);
        return DurationEntry::corrected;
    }
    valueMs = static_cast<std::uint32_t>(total);
    return DurationEntry::valid;
}
