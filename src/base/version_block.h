// The program's version from its own version resource, read in place: the
// binary VS_VERSIONINFO block as the resource compiler lays it out (UTF-16
// key "VS_VERSION_INFO", then the fixed file information).
#ifndef KELVARO_BASE_VERSION_BLOCK_H
#define KELVARO_BASE_VERSION_BLOCK_H

#include <cstddef>
#include <cstdint>

// File version MS, LS, product version MS, LS.
using VersionNumbers = std::uint32_t[4];

// False, with version untouched, unless the block is whole: lengths within
// size, the right key, and a fixed part of full size with its signature.
bool parseVersionBlock(const unsigned char* block, std::size_t size, VersionNumbers& version);

#endif
