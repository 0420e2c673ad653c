#include "base/version_block.h"

namespace {

constexpr char versionKey[] = "VS_VERSION_INFO";
constexpr std::size_t headerSize = 6;            // length, value length, type
constexpr std::size_t fixedInfoSize = 13 * 4;    // VS_FIXEDFILEINFO
constexpr std::uint32_t fixedInfoSignature = 0xFEEF04BDu;

std::uint32_t readWord(const unsigned char* at)
{
    return static_cast<std::uint32_t>(at[0] | at[1] << 8);
}

std::uint32_t readDword(const unsigned char* at)
{
    return readWord(at) | readWord(at + 2) << 16;
}

} // namespace

bool parseVersionBlock(const unsigned char* block, std::size_t size, VersionNumbers& version)
{
    if (block == nullptr || size < headerSize)
        return false;
    const std::size_t length = readWord(block);
    const std::size_t valueLength = readWord(block + 2);
    if (length > size || valueLength < fixedInfoSize)
        return false;
    // The key with its terminating NUL, each character two bytes.
    std::size_t at = headerSize;
    for (const char expected : versionKey) {
        if (at + 2 > length || readWord(block + at) != static_cast<unsigned char>(expected))
            return false;
        at += 2;
    }
    at = (at + 3) & ~std::size_t{3};   // the value starts on a 32-bit boundary
    if (at + fixedInfoSize > length || readDword(block + at) != fixedInfoSignature)
        return false;
    for (int part = 0; part < 4; ++part)
        version[part] = readDword(block + at + 8 + 4 * part);
    return true;
}
