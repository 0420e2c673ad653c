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
bash scripts/build.sh win
# No Mono or Gecko prompts, and no Linux menu entries, when Wine creates the prefix.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=;winemenubuilder.exe=d}"
export WINEDEBUG="${WINEDEBUG:--all}"
exec wine build/win/Kelvaro.exe
