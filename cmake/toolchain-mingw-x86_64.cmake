# Cross build of the 64-bit Windows program with Debian's MinGW-w64. Not
# shipped: it proves the code is clean where pointers are wider than 32 bits.
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(triple x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-cross.cmake)
