// The loaders of the settings record fed with whatever the registry may hold:
// every value of the layout missing, unreadable, or of any type with any
// bytes of any length up to 64 KiB. The four value primitives are replaced
// here by ones that answer from the input as the Windows ones answer.
//
// Input: [code page], then value by value in the order of the layout below:
//   [type]   the registry type (0 none, 1 text, 2 expandable text, 3 binary,
//            4 DWORD, 7 multi-text, 11 QWORD, or any other number);
//            0xFF: the value is missing; 0xFE: it is there but cannot be read
//   [length] the size of the data: one byte below 0xFF, or 0xFF and then
//            2 bytes little-endian, so that most values stay short and fast
//   [count][count bytes]: the data, these bytes repeated up to the length,
//            so that a short input can stand for a long value
// When the input runs out, the remaining values are missing.
#include "base/strings.h"
#include "fuzz_support.h"
#include "store/registry.h"
#include "store/settings_store.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <unordered_map>

namespace {

constexpr std::uint8_t missingType = 0xFF;
constexpr std::uint8_t unreadableType = 0xFE;
constexpr std::uint8_t longLength = 0xFF;
constexpr unsigned long regSz = 1;
constexpr unsigned long regDword = 4;
constexpr unsigned long errorAccessDenied = 5;
constexpr unsigned long errorMoreData = 234;

const std::string root = "Software\\Morvane\\Kelvaro V3";

struct StoredValue {
    bool present;
    bool unreadable;
    unsigned long type;
    std::vector<char> bytes;
};

struct LayoutValue {
    const char* subkey;   // empty: the settings key itself
    const char* name;
};

// Every value the loaders read and the savers write, in the order the input
// describes them.
const LayoutValue layout[] = {
    {"", "KeepWindowOnTop"}, {"", "ShowTimerInTitleBar"}, {"", "FlashWndOnTimerUp"},
    {"", "UseAltIconOnTimerUp"}, {"", "DisplaySmartCursors"}, {"", "ShowInNotificationArea"},
    {"ExternalSound01", "Label"}, {"ExternalSound01", "FileName"},
    {"ExternalSound02", "Label"}, {"ExternalSound02", "FileName"},
    {"ExternalSound03", "Label"}, {"ExternalSound03", "FileName"},
    {"OpenFile01", "Label"}, {"OpenFile01", "FileName"},
    {"OpenFile02", "Label"}, {"OpenFile02", "FileName"},
    {"OpenFile03", "Label"}, {"OpenFile03", "FileName"},
    {"Timer01", "Label"}, {"Timer01", "Value"}, {"Timer01", "Unit"}, {"Timer01", "Event"},
    {"Timer02", "Label"}, {"Timer02", "Value"}, {"Timer02", "Unit"}, {"Timer02", "Event"},
    {"Timer03", "Label"}, {"Timer03", "Value"}, {"Timer03", "Unit"}, {"Timer03", "Event"},
};
constexpr std::size_t layoutSize = sizeof layout / sizeof layout[0];

std::string keyPathOf(const std::string& subkey)
{
    return subkey.empty() ? root : root + "\\" + subkey;
}

std::string numbered(const char* prefix, int number)
{
    return keyPathOf(prefix + std::string("0") + static_cast<char>('0' + number));
}

// The registry: one slot per value of the layout, nothing else.
StoredValue registryValues[layoutSize];

// A hash of a value's key path and name: finding a value then takes one
// string comparison instead of one per value of the layout.
std::uint64_t valueHash(const char* keyPath, const char* name)
{
    std::uint64_t hash = 14695981039346656037u;
    const auto add = [&hash](unsigned char byte) { hash = (hash ^ byte) * 1099511628211u; };
    for (const char* p = keyPath; *p != '\0'; ++p)
        add(static_cast<unsigned char>(*p));
    add('\n');
    for (const char* p = name; *p != '\0'; ++p)
        add(static_cast<unsigned char>(*p));
    return hash;
}

// The slot of a value, or layoutSize for one outside the layout.
std::size_t slotOf(const char* keyPath, const char* name)
{
    struct Slots {
        std::string keyPaths[layoutSize];
        std::unordered_map<std::uint64_t, std::size_t> byHash;
    };
    static const Slots slots = [] {
        Slots made;
        for (std::size_t slot = 0; slot < layoutSize; ++slot) {
            made.keyPaths[slot] = keyPathOf(layout[slot].subkey);
            made.byHash[valueHash(made.keyPaths[slot].c_str(), layout[slot].name)] = slot;
        }
        return made;
    }();
    const auto found = slots.byHash.find(valueHash(keyPath, name));
    if (found == slots.byHash.end())
        return layoutSize;
    const std::size_t slot = found->second;
    return slots.keyPaths[slot] == keyPath && std::strcmp(layout[slot].name, name) == 0 ? slot : layoutSize;
}

const StoredValue* findValue(const char* keyPath, const char* name)
{
    const std::size_t slot = slotOf(keyPath, name);
    return slot < layoutSize && registryValues[slot].present ? &registryValues[slot] : nullptr;
}

const StoredValue* findValue(const std::string& keyPath, const char* name)
{
    return findValue(keyPath.c_str(), name);
}

void clearRegistry()
{
    for (StoredValue& value : registryValues)
        value.present = false;
}

void storeValuesFromInput(const std::uint8_t* data, std::size_t size)
{
    clearRegistry();
    std::size_t position = 0;
    const auto next = [&]() -> std::uint8_t { return position < size ? data[position++] : 0; };
    for (StoredValue& stored : registryValues) {
        if (position >= size)
            return;
        const std::uint8_t type = next();
        if (type == missingType)
            continue;
        std::size_t length = next();
        if (length == longLength) {
            length = next();
            length |= static_cast<std::size_t>(next()) << 8;
        }
        const std::size_t count = std::min<std::size_t>(next(), size - position);
        stored.present = true;
        stored.unreadable = type == unreadableType;
        stored.type = type;
        stored.bytes.assign(length, '\0');
        if (count > 0 && length > 0) {
            // The pattern, then the filled part copied after itself.
            std::size_t filled = std::min(count, length);
            std::memcpy(stored.bytes.data(), data + position, filled);
            while (filled < length) {
                const std::size_t more = std::min(filled, length - filled);
                std::memcpy(stored.bytes.data() + filled, stored.bytes.data(), more);
                filled += more;
            }
        }
        position += count;
    }
}

// A write stores into the value's slot; writing outside the layout is a fault.
void storeWritten(const char* keyPath, const char* name, unsigned long type, const char* bytes, std::size_t size)
{
    const std::size_t slot = slotOf(keyPath, name);
    FUZZ_CHECK(slot < layoutSize);
    StoredValue& stored = registryValues[slot];
    stored.present = true;
    stored.unreadable = false;
    stored.type = type;
    stored.bytes.assign(bytes, bytes + size);
}

// What the loaders must make of the stored values.

std::string defaultText(unsigned id)
{
    char text[labelSize];
    loadString(id, text, sizeof text);
    return text;
}

bool readableText(const StoredValue* value)
{
    return value != nullptr && !value->unreadable && value->type == regSz && !value->bytes.empty();
}

// As much of a stored text as a cut to limit bytes can reach (a value may
// be 64 KiB long).
std::string storedText(const StoredValue& value, std::size_t limit)
{
    return untilNul(value.bytes.data(), std::min(value.bytes.size(), limit + 1));
}

std::string expectedLabel(const std::string& keyPath, unsigned defaultId, bool doubleByte)
{
    const std::string defaultLabel = defaultText(defaultId);
    const StoredValue* value = findValue(keyPath, "Label");
    if (value != nullptr && !readableText(value))
        return defaultLabel;
    const std::string stored = value != nullptr ? storedText(*value, labelSize - 1) : defaultLabel;
    const std::string label = modelTrim(modelTruncate(stored, labelSize - 1, doubleByte), doubleByte);
    return label.empty() ? defaultLabel : label;
}

std::string expectedFileName(const std::string& keyPath, std::size_t size, bool doubleByte)
{
    const StoredValue* value = findValue(keyPath, "FileName");
    if (!readableText(value))
        return "";
    return modelTruncate(storedText(*value, size - 1), size - 1, doubleByte);
}

// The stored number as a signed 32-bit value, or the default.
std::int32_t storedNumber(const std::string& keyPath, const char* name, std::int32_t defaultValue)
{
    const StoredValue* value = findValue(keyPath, name);
    if (value == nullptr || value->unreadable || value->type != regDword || value->bytes.size() != 4)
        return defaultValue;
    std::uint32_t number = 0;
    for (int i = 3; i >= 0; --i)
        number = number << 8 | static_cast<unsigned char>(value->bytes[i]);
    return static_cast<std::int32_t>(number);
}

std::uint32_t expectedInRange(std::int32_t stored, std::int32_t low, std::int32_t high, std::int32_t otherwise)
{
    return static_cast<std::uint32_t>(stored < low || stored > high ? otherwise : stored);
}

// The record's own rules, whatever was stored.

std::string checkedText(const char* buffer, std::size_t size, bool doubleByte)
{
    const void* nul = std::memchr(buffer, '\0', size);
    FUZZ_CHECK(nul != nullptr);
    const std::string text(buffer, static_cast<const char*>(nul));
    FUZZ_CHECK(!endsInHalfCharacter(text, doubleByte));
    return text;
}

void checkLabel(const char (&label)[labelSize], const std::string& expected, bool doubleByte)
{
    const std::string text = checkedText(label, labelSize, doubleByte);
    FUZZ_CHECK(!text.empty());
    FUZZ_CHECK(!hasOuterSpace(text, doubleByte));
    FUZZ_CHECK(text == expected);
}

void checkRecord(const SettingsRecord& record, bool doubleByte)
{
    const bool options[optionCount] = {record.keepWindowOnTop, record.showTimerInTitleBar, record.flashWndOnTimerUp,
                                       record.useAltIconOnTimerUp, record.displaySmartCursors,
                                       record.showInNotificationArea};
    for (int i = 0; i < optionCount; ++i) {
        const std::uint32_t byDefault = defaultOptionValue(static_cast<Option>(i)) ? 1 : 0;
        FUZZ_CHECK(options[i] == (storedNumber(root, layout[i].name, byDefault) != 0));
    }

    for (int index = 0; index < timerCount; ++index) {
        const int number = index + 1;
        const std::string soundKey = numbered("ExternalSound", number);
        const ExternalSoundEvent& sound = record.externalSounds[index];
        checkLabel(sound.label, expectedLabel(soundKey, defaultSoundLabelIds[index], doubleByte), doubleByte);
        FUZZ_CHECK(checkedText(sound.fileName, soundFileSize, doubleByte)
                   == expectedFileName(soundKey, soundFileSize, doubleByte));

        const std::string openKey = numbered("OpenFile", number);
        const OpenFileEvent& openFile = record.openFiles[index];
        checkLabel(openFile.label, expectedLabel(openKey, defaultOpenLabelIds[index], doubleByte), doubleByte);
        FUZZ_CHECK(checkedText(openFile.fileName, openFileSize, doubleByte)
                   == expectedFileName(openKey, openFileSize, doubleByte));

        const std::string timerKey = numbered("Timer", number);
        const TimerSettings& timer = record.timers[index];
        checkLabel(timer.label, expectedLabel(timerKey, defaultTimerNameIds[index], doubleByte), doubleByte);
        FUZZ_CHECK(timer.unit >= unitSeconds && timer.unit <= unitHours);
        FUZZ_CHECK(timer.event >= 1 && timer.event <= 9);
        FUZZ_CHECK(timer.valueMs >= minDurationMs && timer.valueMs <= maxDurationMs);
        FUZZ_CHECK(timer.unit == expectedInRange(storedNumber(timerKey, "Unit", number), 1, 3, number));
        FUZZ_CHECK(timer.event == expectedInRange(storedNumber(timerKey, "Event", number), 1, 9, number));
        const std::int32_t value =
            storedNumber(timerKey, "Value", static_cast<std::int32_t>(defaultTimerValueMs(index)));
        const std::int32_t low = static_cast<std::int32_t>(minDurationMs);
        const std::int32_t high = static_cast<std::int32_t>(maxDurationMs);
        FUZZ_CHECK(timer.valueMs == static_cast<std::uint32_t>(value < low ? low : value > high ? high : value));
    }
}

// Two records, kept between runs: the loaded one and the one loaded again
// after saving it.
SettingsRecord loaded;
SettingsRecord reloaded;

void loadRecord(SettingsRecord& record)
{
    // Filled with a pattern first, so that a text left unterminated shows.
    std::memset(&record, 0xA5, sizeof record);
    loadOptionsAndEvents(root.c_str(), record);
    for (int number = 1; number <= timerCount; ++number)
        loadTimerSettings(root.c_str(), number, record.timers[number - 1]);
}

bool sameTimer(const TimerSettings& a, const TimerSettings& b)
{
    return std::strcmp(a.label, b.label) == 0 && a.valueMs == b.valueMs && a.unit == b.unit && a.event == b.event;
}

bool sameRecord(const SettingsRecord& a, const SettingsRecord& b)
{
    for (int i = 0; i < timerCount; ++i) {
        if (!sameTimer(a.timers[i], b.timers[i]) || std::strcmp(a.externalSounds[i].label, b.externalSounds[i].label) != 0
            || std::strcmp(a.externalSounds[i].fileName, b.externalSounds[i].fileName) != 0
            || std::strcmp(a.openFiles[i].label, b.openFiles[i].label) != 0
            || std::strcmp(a.openFiles[i].fileName, b.openFiles[i].fileName) != 0)
            return false;
    }
    return a.keepWindowOnTop == b.keepWindowOnTop && a.showTimerInTitleBar == b.showTimerInTitleBar
        && a.flashWndOnTimerUp == b.flashWndOnTimerUp && a.useAltIconOnTimerUp == b.useAltIconOnTimerUp
        && a.displaySmartCursors == b.displaySmartCursors;
}

// A loaded record, saved and loaded again, comes back unchanged.
void checkSaveAndReload(const SettingsRecord& record)
{
    clearRegistry();
    FUZZ_CHECK(saveOptionsAndEvents(root.c_str(), record) == 0);
    for (int number = 1; number <= timerCount; ++number)
        FUZZ_CHECK(saveTimerSettings(root.c_str(), number, record.timers[number - 1]) == 0);
    for (const StoredValue& value : registryValues)
        FUZZ_CHECK(value.present);
    loadRecord(reloaded);
    FUZZ_CHECK(sameRecord(reloaded, record));
}

} // namespace

// The value primitives, answering from the values the input described.

unsigned long writeStringValue(const char* keyPath, const char* name, const char* text)
{
    storeWritten(keyPath, name, regSz, text, std::strlen(text) + 1);
    return 0;
}

unsigned long writeDwordValue(const char* keyPath, const char* name, std::uint32_t value)
{
    char bytes[4];
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<char>(value >> (8 * i));
    storeWritten(keyPath, name, regDword, bytes, sizeof bytes);
    return 0;
}

unsigned long readDwordValue(const char* keyPath, const char* name, std::uint32_t defaultValue, std::uint32_t& value)
{
    value = defaultValue;
    const StoredValue* stored = findValue(keyPath, name);
    if (stored == nullptr)
        return errorFileNotFound;
    if (stored->unreadable)
        return errorAccessDenied;
    if (stored->bytes.size() > 4)
        return errorMoreData;
    if (stored->type != regDword || stored->bytes.size() != 4)
        return errorInvalidDatatype;
    std::memcpy(&value, stored->bytes.data(), 4);
    return 0;
}

std::vector<char> readStringValue(const char* keyPath, const char* name, const char* defaultText)
{
    const StoredValue* stored = findValue(keyPath, name);
    if (stored == nullptr) {
        if (defaultText == nullptr)
            return {};
        return std::vector<char>(defaultText, defaultText + std::strlen(defaultText) + 1);
    }
    if (stored->unreadable || stored->type != regSz || stored->bytes.empty())
        return {};
    // Exactly the stored bytes, terminated or not.
    return stored->bytes;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    const bool doubleByte = chooseCodePage(data[0]);
    storeValuesFromInput(data + 1, size - 1);
    loadRecord(loaded);
    checkRecord(loaded, doubleByte);
    checkSaveAndReload(loaded);
    return 0;
}
