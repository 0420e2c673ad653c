// The version block parser on any bytes: never a read past the block's own
// length or the buffer, and a result that agrees with a model of the layout.
//
// Input: the block itself. The bytes are copied to a buffer of exactly their
// size, so AddressSanitizer sees any read past the end.
#include "fuzz_support.h"
#include "base/version_block.h"

#include <cstdint>
#include <vector>

namespace {

std::uint32_t little(const std::vector<unsigned char>& bytes, std::size_t at, int count)
{
    std::uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = value << 8 | bytes[at + static_cast<std::size_t>(i)];
    return value;
}

// The layout with its fixed offsets: key at 6 (16 UTF-16 units with the
// NUL), the fixed part at 40.
bool modelAccepts(const std::vector<unsigned char>& bytes)
{
    if (bytes.size() < 6)
        return false;
    const std::size_t length = little(bytes, 0, 2);
    if (length > bytes.size() || little(bytes, 2, 2) < 52 || length < 40 + 52)
        return false;
    const char key[] = "VS_VERSION_INFO";
    for (std::size_t i = 0; i < sizeof key; ++i) {
        if (little(bytes, 6 + 2 * i, 2) != static_cast<unsigned char>(key[i]))
            return false;
    }
    return little(bytes, 40, 4) == 0xFEEF04BDu;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::vector<unsigned char> bytes(data, data + size);
    std::uint32_t version[4] = {1, 2, 3, 4};
    const bool accepted = parseVersionBlock(bytes.data(), bytes.size(), version);
    FUZZ_CHECK(accepted == modelAccepts(bytes));
    for (int part = 0; part < 4; ++part)
        FUZZ_CHECK(version[part] == (accepted ? little(bytes, 48 + 4 * static_cast<std::size_t>(part), 4)
                                              : static_cast<std::uint32_t>(part + 1)));
    return 0;
}
