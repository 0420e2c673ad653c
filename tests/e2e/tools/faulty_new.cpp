// faulty.exe: Kelvaro.exe's own code and resources with this allocator in
// front. While the file C:\tools\fail-next-allocation exists, the next
// allocation removes it and fails with std::bad_alloc, as when memory runs
// out; every other allocation behaves as usual.
#include <windows.h>

#include <cstdlib>
#include <new>

void* operator new(std::size_t size)
{
    const char* trigger = "C:\\tools\\fail-next-allocation";
    if (GetFileAttributesA(trigger) != INVALID_FILE_ATTRIBUTES && DeleteFileA(trigger))
        throw std::bad_alloc();
    if (void* block = std::malloc(size != 0 ? size : 1))
        return block;
    throw std::bad_alloc();
}

void operator delete(void* block) noexcept
{
    std::free(block);
}

void operator delete(void* block, std::size_t) noexcept
{
    std::free(block);
}
