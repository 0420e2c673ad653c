#!/usr/bin/env bash
# Builds the Windows program (MinGW-w64 cross build, build/win/Kelvaro.exe),
# its 64-bit check build (build/win64) and the native unit tests
# (build/native). Pass "win", "win64" or "native" for one.
set -euo pipefail
cd "$(dirname "$0")/.."

# Several people may build in one tree at once: one build at a time.
exec 9>"${TMPDIR:-/tmp}/kelvaro-build.lock"
flock 9

jobs=$(nproc 2>/dev/null || echo 2)
what=${1:-all}

if [ "$what" = all ] || [ "$what" = win ]; then
    [ -f build/win/CMakeCache.txt ] || cmake -S . -B build/win \
        -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build build/win -j "$jobs"
fi
if [ "$what" = all ] || [ "$what" = win64 ]; then
    [ -f build/win64/CMakeCache.txt ] || cmake -S . -B build/win64 \
        -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-x86_64.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build build/win64 -j "$jobs"
fi
if [ "$what" = all ] || [ "$what" = native ]; then
    [ -f build/native/CMakeCache.txt ] || cmake -S . -B build/native -DCMAKE_BUILD_TYPE=Debug >/dev/null
    cmake --build build/native -j "$jobs"
fi
