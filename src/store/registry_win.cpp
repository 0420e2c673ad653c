// The registry value primitives over HKEY_CURRENT_USER.
// No key handle outlives the call that opened it.
#include "store/registry.h"

#include "base/owned_handle.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace {

// A failed call opened nothing, whatever it left in the slot.
LONG keptIfOpened(LONG result, OwnedKey& key)
{
    if (result != ERROR_SUCCESS)
        key.take();
    return result;
}

LONG createKey(const char* keyPath, OwnedKey& key)
{
    char noClass[] = "";
    return keptIfOpened(RegCreateKeyExA(HKEY_CURRENT_USER, keyPath, 0, noClass, REG_OPTION_NON_VOLATILE,
                                        KEY_ALL_ACCESS, nullptr, key.receive(), nullptr),
                        key);
}

LONG openKey(const char* keyPath, OwnedKey& key)
{
    return keptIfOpened(RegOpenKeyExA(HKEY_CURRENT_USER, keyPath, 0, KEY_READ, key.receive()), key);
}

// A failed close counts too: the value may not have reached the registry.
LONG closeKey(OwnedKey& key)
{
    return RegCloseKey(key.take());
}

unsigned long writeValue(const char* keyPath, const char* name, DWORD type, const void* data, DWORD size)
{
    OwnedKey key;
    const LONG created = createKey(keyPath, key);
    if (created != ERROR_SUCCESS)
        return static_cast<unsigned long>(created);
    const LONG set = RegSetValueExA(key.get(), name, 0, type, static_cast<const BYTE*>(data), size);
    const LONG closed = closeKey(key);
    return static_cast<unsigned long>(set != ERROR_SUCCESS ? set : closed);
}

// The value's type and size, with an open key, or the error.
LONG queryTypeAndSize(HKEY key, const char* name, DWORD& type, DWORD& size)
{
    size = 0;
    return RegQueryValueExA(key, name, nullptr, &type, nullptr, &size);
}

std::vector<char> defaultTextBuffer(const char* defaultText, std::size_t size)
{
    std::vector<char> buffer(size, '\0');
    std::memcpy(buffer.data(), defaultText, std::min(size, std::strlen(defaultText) + 1));
    return buffer;
}

// The second query, into a buffer of the size the first one reported. The
// value may have changed in between: gone means the default, anything else
// that does not fit or is no longer a text means nothing.
std::vector<char> readTextInto(HKEY key, const char* name, const char* defaultText, DWORD size)
{
    std::vector<char> buffer(size, '\0');
    DWORD type = 0;
    DWORD filled = size;
    const LONG queried = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &filled);
    if (queried == ERROR_FILE_NOT_FOUND && defaultText != nullptr)
        return defaultTextBuffer(defaultText, size);
    if (queried != ERROR_SUCCESS || type != REG_SZ)
        return {};
    return buffer;
}

std::vector<char> readTextValue(HKEY key, const char* name, const char* defaultText)
{
    DWORD type = 0;
    DWORD size = 0;
    const LONG queried = key != nullptr ? queryTypeAndSize(key, name, type, size) : ERROR_FILE_NOT_FOUND;
    if (queried == ERROR_FILE_NOT_FOUND) {
        if (defaultText == nullptr)
            return {};
        return defaultTextBuffer(defaultText, std::strlen(defaultText) + 1);
    }
    // REG_EXPAND_SZ and every other type count as unusable.
    if (queried != ERROR_SUCCESS || type != REG_SZ || size == 0)
        return {};
    return readTextInto(key, name, defaultText, size);
}

} // namespace

unsigned long writeStringValue(const char* keyPath, const char* name, const char* text)
{
    return writeValue(keyPath, name, REG_SZ, text, static_cast<DWORD>(std::strlen(text) + 1));
}

unsigned long writeDwordValue(const char* keyPath, const char* name, std::uint32_t value)
{
    const DWORD data = value;
    return writeValue(keyPath, name, REG_DWORD, &data, sizeof data);
}

unsigned long readDwordValue(const char* keyPath, const char* name, std::uint32_t defaultValue, std::uint32_t& value)
{
    value = defaultValue;
    OwnedKey key;
    const LONG opened = openKey(keyPath, key);
    if (opened != ERROR_SUCCESS)
        return static_cast<unsigned long>(opened);
    DWORD type = 0;
    DWORD data = 0;
    DWORD size = sizeof data;
    const LONG queried = RegQueryValueExA(key.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(&data), &size);
    const LONG closed = closeKey(key);
    if (queried != ERROR_SUCCESS)
        return static_cast<unsigned long>(queried);
    if (closed != ERROR_SUCCESS)
        return static_cast<unsigned long>(closed);
    // A REG_DWORD shorter than four bytes would leave part of the number unread.
    if (type != REG_DWORD || size != sizeof data)
        return errorInvalidDatatype;
    value = data;
    return 0;
}

std::vector<char> readStringValue(const char* keyPath, const char* name, const char* defaultText)
{
    OwnedKey key;
    const LONG opened = openKey(keyPath, key);
    if (opened != ERROR_SUCCESS && opened != ERROR_FILE_NOT_FOUND)
        return {};
    // A value too large for the memory left is as unusable as one of the wrong type.
    try {
        return readTextValue(key.get(), name, defaultText);
    } catch (const std::bad_alloc&) {
        return {};
    }
}
