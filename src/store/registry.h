// Registry value primitives under HKEY_CURRENT_USER. Each opens (or creates)
// its key, handles one value and closes the key again. Results are Windows
// error codes; 0 is success.
#ifndef KELVARO_STORE_REGISTRY_H
#define KELVARO_STORE_REGISTRY_H

#include <cstdint>
#include <vector>

constexpr unsigned long errorFileNotFound = 2;
constexpr unsigned long errorInvalidDatatype = 1804;

unsigned long writeStringValue(const char* keyPath, const char* name, const char* text);
unsigned long writeDwordValue(const char* keyPath, const char* name, std::uint32_t value);
unsigned long readDwordValue(const char* keyPath, const char* name, std::uint32_t defaultValue, std::uint32_t& value);

// A zero-filled buffer holding the value's bytes (or the default text when
// the value is missing); empty when there is nothing to return. The text ends
// at the first NUL or at the end of the buffer.
std::vector<char> readStringValue(const char* keyPath, const char* name, const char* defaultText);

#endif
