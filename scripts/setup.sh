#!/usr/bin/env bash
# Installs the Debian packages Kelvaro needs to build, run and test, only
# those that are missing. Safe to run again; does nothing when all are there.
set -euo pipefail

packages=(
    cmake make g++ googletest
    g++-mingw-w64-i686 binutils-mingw-w64-i686 mingw-w64-i686-dev
    g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev
    wine wine32:i386 wine64 fonts-wine xvfb xauth
    python3 python3-pytest python3-fonttools icoutils pev liblnk-utils sox imagemagick locales
    clang libclang-rt-14-dev
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { echo "setup: installing ${missing[*]} needs root or sudo" >&2; exit 1; }
    sudo="sudo"
fi

echo "setup: installing ${missing[*]}"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
fi
$sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q "${missing[@]}"
