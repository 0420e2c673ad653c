#!/usr/bin/env bash
# Builds Kelvaro and starts it under Wine on this desktop, in your own Wine
# prefix (WINEPREFIX, ~/.wine by default).
set -euo pipefail
cd "$(dirname "$0")/.."

if [ -z "${DISPLAY:-}" ]; then
    echo "run: Kelvaro is a Windows program with a window, so it needs an X display, and DISPLAY is not set." >&2
    echo "run: start it from a desktop session, or on a virtual display: xvfb-run -a scripts/run.sh" >&2
    exit 1
fi

bash scripts/setup.sh
# No Mono or Gecko prompts, and no Linux menu entries, when Wine creates the prefix.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=;winemenubuilder.exe=d}"
export WINEDEBUG="${WINEDEBUG:--all}"
# Some machines run 64-bit code only: there the 64-bit build of the same
# source runs, with Wine's 64-bit loader (the wine command would pick the
# 32-bit one).
wine32=/usr/lib/wine/wine
[ -e "$wine32" ] || wine32=wine
if "$wine32" --version >/dev/null 2>&1 </dev/null; then
    bash scripts/build.sh win
    exec wine build/win/Kelvaro.exe
fi
echo "run: Wine's 32-bit loader cannot run on this machine, so the 64-bit build runs instead" >&2
bash scripts/build.sh win64
export WINELOADER=/usr/lib/wine/wine64
exec /usr/lib/wine/wine64 build/win64/Kelvaro.exe
