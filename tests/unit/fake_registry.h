// An in-memory registry behind the four value primitives, for the tests of
// the loaders, savers and stored positions.
#ifndef KELVARO_TESTS_FAKE_REGISTRY_H
#define KELVARO_TESTS_FAKE_REGISTRY_H

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace fakeRegistry {

constexpr unsigned long regSz = 1;
constexpr unsigned long regExpandSz = 2;
constexpr unsigned long regBinary = 3;
constexpr unsigned long regDword = 4;

struct Write {
    std::string keyPath;
    std::string name;
    unsigned long type;
    std::vector<unsigned char> bytes;
    unsigned long error;   // what the primitive returned
};

// Empties the store, the write log and any write failure.
void reset();

void setRaw(const std::string& keyPath, const std::string& name, unsigned long type, const std::vector<unsigned char>& bytes);
void setDword(const std::string& keyPath, const std::string& name, std::uint32_t value);
// The text and its terminating NUL, as a REG_SZ unless another type is given.
void setString(const std::string& keyPath, const std::string& name, const std::string& text, unsigned long type = regSz);

bool has(const std::string& keyPath, const std::string& name);
unsigned long typeOf(const std::string& keyPath, const std::string& name);
std::vector<unsigned char> bytesOf(const std::string& keyPath, const std::string& name);
std::uint32_t dwordOf(const std::string& keyPath, const std::string& name);
std::size_t valueCount();

// Every write attempted since the last reset, failed ones included, in order.
const std::vector<Write>& writes();

// Decides the error of each write (0 lets it through).
void failWrites(std::function<unsigned long(const std::string& keyPath, const std::string& name)> decide);

} // namespace fakeRegistry

#endif
