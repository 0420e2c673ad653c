// Behaves as the Windows primitives do: a missing key or value is error 2,
// a DWORD query into four bytes fails with 234 when the data is longer.
#include "fake_registry.h"

#include "store/registry.h"

#include <cstring>
#include <map>
#include <utility>

namespace fakeRegistry {
namespace {

struct Value {
    unsigned long type;
    std::vector<unsigned char> bytes;
};

constexpr unsigned long errorMoreData = 234;

std::map<std::pair<std::string, std::string>, Value> store;
std::vector<Write> writeLog;
std::function<unsigned long(const std::string&, const std::string&)> writeFailure;

const Value* find(const char* keyPath, const char* name)
{
    const auto found = store.find({keyPath, name});
    return found != store.end() ? &found->second : nullptr;
}

unsigned long write(const char* keyPath, const char* name, unsigned long type, std::vector<unsigned char> bytes)
{
    const unsigned long error = writeFailure ? writeFailure(keyPath, name) : 0;
    writeLog.push_back(Write{keyPath, name, type, bytes, error});
    if (error == 0)
        store[{keyPath, name}] = Value{type, std::move(bytes)};
    return error;
}

} // namespace

void reset()
{
    store.clear();
    writeLog.clear();
    writeFailure = nullptr;
}

void setRaw(const std::string& keyPath, const std::string& name, unsigned long type, const std::vector<unsigned char>& bytes)
{
    store[{keyPath, name}] = Value{type, bytes};
}

void setDword(const std::string& keyPath, const std::string& name, std::uint32_t value)
{
    std::vector<unsigned char> bytes(4);
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<unsigned char>(value >> (8 * i));
    setRaw(keyPath, name, regDword, bytes);
}

void setString(const std::string& keyPath, const std::string& name, const std::string& text, unsigned long type)
{
    std::vector<unsigned char> bytes(text.begin(), text.end());
    bytes.push_back(0);
    setRaw(keyPath, name, type, bytes);
}

bool has(const std::string& keyPath, const std::string& name)
{
    return find(keyPath.c_str(), name.c_str()) != nullptr;
}

unsigned long typeOf(const std::string& keyPath, const std::string& name)
{
    const Value* value = find(keyPath.c_str(), name.c_str());
    return value != nullptr ? value->type : 0;
}

std::vector<unsigned char> bytesOf(const std::string& keyPath, const std::string& name)
{
    const Value* value = find(keyPath.c_str(), name.c_str());
    return value != nullptr ? value->bytes : std::vector<unsigned char>{};
}

std::uint32_t dwordOf(const std::string& keyPath, const std::string& name)
{
    const std::vector<unsigned char> bytes = bytesOf(keyPath, name);
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < bytes.size() && i < 4; ++i)
        value |= static_cast<std::uint32_t>(bytes[i]) << (8 * i);
    return value;
}

std::size_t valueCount()
{
    return store.size();
}

const std::vector<Write>& writes()
{
    return writeLog;
}

void failWrites(std::function<unsigned long(const std::string&, const std::string&)> decide)
{
    writeFailure = std::move(decide);
}

} // namespace fakeRegistry

unsigned long writeStringValue(const char* keyPath, const char* name, const char* text)
{
    return fakeRegistry::write(keyPath, name, fakeRegistry::regSz,
                               std::vector<unsigned char>(text, text + std::strlen(text) + 1));
}

unsigned long writeDwordValue(const char* keyPath, const char* name, std::uint32_t value)
{
    std::vector<unsigned char> bytes(4);
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<unsigned char>(value >> (8 * i));
    return fakeRegistry::write(keyPath, name, fakeRegistry::regDword, bytes);
}

unsigned long readDwordValue(const char* keyPath, const char* name, std::uint32_t defaultValue, std::uint32_t& value)
{
    value = defaultValue;
    const fakeRegistry::Value* stored = fakeRegistry::find(keyPath, name);
    if (stored == nullptr)
        return errorFileNotFound;
    if (stored->bytes.size() > 4)
        return fakeRegistry::errorMoreData;
    if (stored->type != fakeRegistry::regDword || stored->bytes.size() != 4)
        return errorInvalidDatatype;
    value = fakeRegistry::dwordOf(keyPath, name);
    return 0;
}

std::vector<char> readStringValue(const char* keyPath, const char* name, const char* defaultText)
{
    const fakeRegistry::Value* stored = fakeRegistry::find(keyPath, name);
    if (stored == nullptr) {
        if (defaultText == nullptr)
            return {};
        return std::vector<char>(defaultText, defaultText + std::strlen(defaultText) + 1);
    }
    if (stored->type != fakeRegistry::regSz || stored->bytes.empty())
        return {};
    return std::vector<char>(stored->bytes.begin(), stored->bytes.end());
}
