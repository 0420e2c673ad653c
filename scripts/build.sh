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

# Configures a build folder once, then builds it. A configure that fails
# leaves no cache behind, so the next run configures again.
buildTree() {
    local folder=$1
    shift
    if [ ! -f "$folder/CMakeCache.txt" ]; then
        cmake -S . -B "$folder" "$@" >/dev/null || { rm -f "$folder/CMakeCache.txt"; return 1; }
    fi
    cmake --build "$folder" -j "$jobs"
}

wanted() { [ "$what" = all ] || [ "$what" = "$1" ]; }

if wanted win; then
    buildTree build/win -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release
fi
if wanted win64; then
    buildTree build/win64 -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-x86_64.cmake -DCMAKE_BUILD_TYPE=Release
fi
if wanted native; then
    buildTree build/native -DCMAKE_BUILD_TYPE=Debug
fi
