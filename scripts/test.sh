#!/usr/bin/env bash
# The project's test command: installs what is missing, builds every tree,
# checks the program file (scripts/check_program.sh), runs the native unit
# tests and then the end-to-end suite under Wine, and its x64-marked tests
# once more on the 64-bit build. Where Wine cannot run 32-bit programs, the
# whole suite runs on the 64-bit build and the 32-bit file is checked only
# as a file.
# Works from any directory; exits non-zero if anything failed.
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1

bash scripts/setup.sh || exit 1
bash scripts/build.sh || exit 1

status=0
bash scripts/check_program.sh || status=1
ctest --test-dir build/native --output-on-failure || status=1
bash scripts/fuzz.sh smoke || status=1
# Debian's Python, which has python3-pytest (another python3 may come first on PATH).
export PYTHONDONTWRITEBYTECODE=1
# The 32-bit program needs Wine's 32-bit loader, and that a kernel that runs
# 32-bit code; some machines run 64-bit code only.
wine32=/usr/lib/wine/wine
[ -e "$wine32" ] || wine32=wine
if why=$("$wine32" --version 2>&1 </dev/null); then
    /usr/bin/python3 -m pytest tests/e2e </dev/null || status=1
    KELVARO_BUILD_DIR=build/win64 /usr/bin/python3 -m pytest -m x64 tests/e2e </dev/null || status=1
else
    echo "test: Wine's 32-bit loader cannot run on this machine ($wine32: ${why##*: }), so the 32-bit" \
        "Kelvaro.exe is only checked as a file and the whole end-to-end suite runs on the 64-bit build instead"
    /usr/bin/python3 -m pytest tests/e2e/test_resources.py </dev/null || status=1
    KELVARO_BUILD_DIR=build/win64 /usr/bin/python3 -m pytest tests/e2e </dev/null || status=1
fi
exit $status
