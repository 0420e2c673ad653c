// What the unit tests put in place of the platform: the string table read
// from the resource script, a chosen code page and an in-memory registry.
#ifndef KELVARO_TESTS_FAKE_PLATFORM_H
#define KELVARO_TESTS_FAKE_PLATFORM_H

#include <map>
#include <string>

// Every string of the resource script, by id, as the program would load it.
const std::map<unsigned, std::string>& resourceStrings();

// Replaces (or with an empty optional text, removes) strings for one test.
void overrideString(unsigned id, const std::string& text);
void removeString(unsigned id);
void restoreStrings();

// 0 for a single-byte code page, 932 for Shift-JIS lead bytes.
void useCodePage(unsigned codePage);

// The #define values of res/resource.h.
const std::map<std::string, long>& resourceIds();

// The whole text of a file below the source tree.
std::string readSourceFile(const std::string& relativePath);

#endif
