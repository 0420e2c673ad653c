#include "base/version_resource.h"

#include "base/version_block.h"

bool readOwnVersion(HINSTANCE module, DWORD (&version)[4])
{
    HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(VS_VERSION_INFO), RT_VERSION);
    const DWORD size = resource != nullptr ? SizeofResource(module, resource) : 0;
    HGLOBAL loaded = size != 0 ? LoadResource(module, resource) : nullptr;
    const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
    VersionNumbers numbers = {};
    if (data == nullptr || !parseVersionBlock(static_cast<const unsigned char*>(data), size, numbers))
        return false;
    for (int part = 0; part < 4; ++part)
        version[part] = numbers[part];
    return true;
}
