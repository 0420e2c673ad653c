#include "base/directory_rules.h"

#include <cstring>

namespace {

// path with its last levels trailing components removed; false when there
// are not that many.
bool stripComponents(char (&copy)[maxPathSize], const char* path, int levels, const DirectoryOperations& operations)
{
    std::memcpy(copy, path, std::strlen(path) + 1);
    for (int i = 0; i < levels; ++i) {
        if (!operations.removeLastComponent(copy))
            return false;
    }
    return true;
}

} // namespace

bool ensureDirectoryExists(const char* path, const DirectoryOperations& operations)
{
    if (path == nullptr || path[0] == '\0' || std::strlen(path) >= maxPathSize)
        return false;
    if (operations.exists(path))
        return operations.isDirectory(path);
    // pending counts the levels still to create, from path itself upwards:
    // a failed creation means the parent is missing too, so climb one level;
    // a successful one lets the next attempt go one level deeper again.
    int pending = 1;
    while (pending > 0) {
        // A path of 259 bytes has fewer levels than that; never climb past them.
        if (pending > static_cast<int>(maxPathSize))
            return false;
        char copy[maxPathSize];
        if (!stripComponents(copy, path, pending - 1, operations) || copy[0] == '\0')
            return false;
        pending += operations.createDirectory(copy) ? -1 : 1;
    }
    return true;
}
