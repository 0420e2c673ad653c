// The version read from the program's own version block: a block laid out as
// the resource compiler lays it out, and the same block cut short or spoiled.
#include "base/version_block.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

void putWord(std::vector<unsigned char>& bytes, std::uint32_t word)
{
    bytes.push_back(static_cast<unsigned char>(word & 0xFF));
    bytes.push_back(static_cast<unsigned char>(word >> 8));
}

void putDword(std::vector<unsigned char>& bytes, std::uint32_t dword)
{
    putWord(bytes, dword & 0xFFFF);
    putWord(bytes, dword >> 16);
}

// Version 3.1.0.0 file, 3.1.2.5 product, then a child block as real ones have.
std::vector<unsigned char> versionBlock()
{
    std::vector<unsigned char> bytes;
    putWord(bytes, 0);       // length, set below
    putWord(bytes, 52);
    putWord(bytes, 0);
    for (const char c : "VS_VERSION_INFO")
        putWord(bytes, static_cast<unsigned char>(c));
    putWord(bytes, 0);       // padding to 32 bits
    const std::uint32_t fixed[13] = {0xFEEF04BDu, 0x10000, 0x30001, 0, 0x30001, 0x20005, 0x3F, 0, 0x40004, 1, 0, 0, 0};
    for (const std::uint32_t dword : fixed)
        putDword(bytes, dword);
    for (int i = 0; i < 16; ++i)
        bytes.push_back(0x5A);   // a child block's bytes
    bytes[0] = static_cast<unsigned char>(bytes.size());
    bytes[1] = static_cast<unsigned char>(bytes.size() >> 8);
    return bytes;
}

} // namespace

TEST(VersionBlock, TheFileAndProductVersionsAreReadFromTheFixedPart)
{
    const std::vector<unsigned char> block = versionBlock();
    std::uint32_t version[4] = {};
    ASSERT_TRUE(parseVersionBlock(block.data(), block.size(), version));
    EXPECT_EQ(version[0], 0x30001u);
    EXPECT_EQ(version[1], 0u);
    EXPECT_EQ(version[2], 0x30001u);
    EXPECT_EQ(version[3], 0x20005u);
}

TEST(VersionBlock, ABlockCutShortAnywhereIsRefusedAndLeavesTheVersionAlone)
{
    const std::vector<unsigned char> whole = versionBlock();
    const std::size_t fixedEnd = 40 + 52;
    for (std::size_t size = 0; size < whole.size(); ++size) {
        std::vector<unsigned char> cut(whole.begin(), whole.begin() + static_cast<long>(size));
        std::uint32_t version[4] = {7, 7, 7, 7};
        EXPECT_FALSE(parseVersionBlock(cut.data(), cut.size(), version)) << size;
        // The same bytes with a length that claims no more than they hold.
        if (size >= 2) {
            cut[0] = static_cast<unsigned char>(size);
            cut[1] = static_cast<unsigned char>(size >> 8);
            EXPECT_EQ(parseVersionBlock(cut.data(), cut.size(), version), size >= fixedEnd) << size;
        }
        if (size < fixedEnd) {
            EXPECT_EQ(version[0], 7u) << size;
        }
    }
    std::uint32_t version[4] = {};
    EXPECT_FALSE(parseVersionBlock(nullptr, 100, version));
}

TEST(VersionBlock, AnotherKeyASpoiledSignatureOrAShortValueIsRefused)
{
    std::uint32_t version[4] = {};
    std::vector<unsigned char> block = versionBlock();
    block[6 + 2 * 3] = 'X';                    // "VS_XERSION_INFO"
    EXPECT_FALSE(parseVersionBlock(block.data(), block.size(), version));
    block = versionBlock();
    block[6 + 2 * 15] = '!';                   // no terminating NUL
    EXPECT_FALSE(parseVersionBlock(block.data(), block.size(), version));
    block = versionBlock();
    block[40] ^= 1;
    EXPECT_FALSE(parseVersionBlock(block.data(), block.size(), version));
    block = versionBlock();
    block[2] = 51;
    EXPECT_FALSE(parseVersionBlock(block.data(), block.size(), version));
}
