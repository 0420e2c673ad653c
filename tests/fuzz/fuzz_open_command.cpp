// Splitting an open file command on any text, of any length, in a
// single-byte code page and in Shift-JIS, where many characters have a
// backslash, a quote-like or a space-like byte as their second byte.
//
// Input: [code page][command bytes...] (the command ends at a NUL, if any).
// The split is compared with a model of the rules written over indices.
#include "events/open_command.h"
#include "fuzz_support.h"

#include <cstdint>
#include <cstring>
#include <memory>

namespace {

struct Split {
    bool ok = false;
    std::string target;
    std::string parameters;
};

Split modelSplit(const std::string& command, bool doubleByte)
{
    Split split;
    if (command.empty())
        return split;
    if (command[0] == '"') {
        if (command.size() == 1)
            return split;
        const std::size_t close = modelFind(command, '"', doubleByte, 1);
        if (close == std::string::npos)
            return split;
        // Only a space may follow the closing quote.
        if (close + 1 < command.size() && command[close + 1] != ' ')
            return split;
        split.target = modelTrim(command.substr(1, close - 1), doubleByte);
        split.parameters = modelTrim(command.substr(close + 1), doubleByte);
    } else {
        const std::size_t space = modelFind(command, ' ', doubleByte, modelCharacterSize(command, 0, doubleByte));
        if (space == std::string::npos) {
            split.target = command;
        } else {
            split.target = command.substr(0, space);
            split.parameters = modelTrim(command.substr(space + 1), doubleByte);
        }
    }
    split.ok = true;
    return split;
}

bool modelWebAddress(const std::string& target)
{
    return target.compare(0, 7, "http://") == 0 || target.compare(0, 8, "https://") == 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    const bool doubleByte = chooseCodePage(data[0]);
    const std::string command = untilNul(reinterpret_cast<const char*>(data + 1), size - 1);
    // Exactly the command's bytes and its NUL: any read beyond is a fault.
    std::unique_ptr<char[]> text(new char[command.size() + 1]);
    std::memcpy(text.get(), command.c_str(), command.size() + 1);

    Split split;
    split.target = "stale target";
    split.parameters = "stale parameters";
    split.ok = splitOpenCommand(text.get(), split.target, split.parameters);
    FUZZ_CHECK(std::memcmp(text.get(), command.c_str(), command.size() + 1) == 0);

    const Split expected = modelSplit(command, doubleByte);
    FUZZ_CHECK(split.ok == expected.ok);
    if (!split.ok)
        return 0;
    FUZZ_CHECK(split.target == expected.target);
    FUZZ_CHECK(split.parameters == expected.parameters);

    // Whatever the model says, nothing grows and nothing is left half.
    FUZZ_CHECK(split.target.size() + split.parameters.size() <= command.size());
    FUZZ_CHECK(split.target.find('\0') == std::string::npos);
    FUZZ_CHECK(!hasOuterSpace(split.parameters, doubleByte));
    FUZZ_CHECK(command[0] != '"' || !hasOuterSpace(split.target, doubleByte));
    FUZZ_CHECK(!endsInHalfCharacter(split.target, doubleByte) || split.parameters.empty());

    FUZZ_CHECK(isWebAddress(split.target.c_str()) == modelWebAddress(split.target));
    FUZZ_CHECK(isWebAddress(text.get()) == modelWebAddress(command));
    return 0;
}
