#!/bin/sh
# Rebuild res/font/SegoeUI.ttf and res/font/LICENSE.txt. Needs Debian's
# python3-fonttools and fonts-open-sans; installs them when run as root.
set -e
missing=""
for pkg in python3-fonttools fonts-open-sans; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "ok installed" ||
        missing="$missing $pkg"
done
if [ -n "$missing" ]; then
    if [ "$(id -u)" -ne 0 ]; then
        echo "gen_font.sh: please install:$missing" >&2
        exit 1
    fi
    apt-get install -y $missing
fi
exec /usr/bin/python3 "$(dirname "$0")/gen_font.py"
