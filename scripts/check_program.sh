#!/usr/bin/env bash
# Checks the built program file (scripts/build.sh first): a clean build of
# Kelvaro.exe alone, from a copy of the tree in another folder, is byte for
# byte build/win/Kelvaro.exe. Exits non-zero on any difference.
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1

status=0

checkReproducible() {
    local scratch source build
    scratch=$(mktemp -d "${TMPDIR:-/tmp}/kelvaro-repro.XXXXXX")
    source=$scratch/source
    build=$scratch/build
    mkdir -p "$source"
    # The working tree as it is (uncommitted changes too), without build output.
    git ls-files -z --cached --others --exclude-standard | xargs -0 cp --parents -t "$source" 2>/dev/null
    (
        flock 9
        cmake -S "$source" -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-i686.cmake \
            -DCMAKE_BUILD_TYPE=Release >"$scratch/build.log" 2>&1 &&
            cmake --build "$build" --target Kelvaro -j "$(nproc 2>/dev/null || echo 2)" >>"$scratch/build.log" 2>&1
    ) 9>"${TMPDIR:-/tmp}/kelvaro-build.lock"
    if [ ! -f "$build/Kelvaro.exe" ]; then
        echo "check_program: the second build failed; log in $scratch/build.log" >&2
        status=1
        return
    fi
    if cmp -s build/win/Kelvaro.exe "$build/Kelvaro.exe"; then
        echo "  a second build in another folder gives the same Kelvaro.exe"
        rm -rf "$scratch"
    else
        echo "check_program: two builds of the same tree differ (cmp -l build/win/Kelvaro.exe $build/Kelvaro.exe)" >&2
        status=1
    fi
}

checkReproducible
exit $status
