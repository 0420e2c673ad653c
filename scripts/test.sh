#!/usr/bin/env bash
# The project's test command: installs what is missing, builds every tree,
# checks the program file (scripts/check_program.sh), runs the native unit
# tests and then the end-to-end suite under Wine, and its x64-marked tests
# once more on the 64-bit build.
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
PYTHONDONTWRITEBYTECODE=1 /usr/bin/python3 -m pytest tests/e2e </dev/null || status=1
KELVARO_BUILD_DIR=build/win64 PYTHONDONTWRITEBYTECODE=1 /usr/bin/python3 -m pytest -m x64 tests/e2e </dev/null \
    || status=1
exit $status
