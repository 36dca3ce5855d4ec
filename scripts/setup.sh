#!/usr/bin/env bash
# Installs what the build and the tests need on Debian 12, as root; skips what is already there.
# 32-bit Wine (wine32:i386, with the i386 architecture) only where this machine runs 32-bit code,
# and only if it can be had: without it the 32-bit tests are left out, the rest still runs.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

need=()
have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }

for p in locales cmake g++ make binutils googletest \
         g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev binutils-mingw-w64-x86-64 \
         g++-mingw-w64-i686-posix mingw-w64-i686-dev binutils-mingw-w64-i686 \
         xvfb openbox xdotool x11-utils imagemagick wine64; do
    have_pkg "$p" || need+=("$p")
done
if [ ${#need[@]} -gt 0 ]; then
    echo "setup: installing ${need[*]}"
    export DEBIAN_FRONTEND=noninteractive
    # A list that fails to download (a mirror in the middle of a sync) leaves the older one in use:
    # the install below still fails if what it needs is not there.
    apt-get update -qq || echo "setup: some package lists could not be updated; going on with the ones there are"
    apt-get install -y -qq "${need[@]}" >/dev/null
fi

if bash "$here/probe32.sh"; then
    if ! have_pkg wine32:i386; then
        echo "setup: this machine runs 32-bit code; installing wine32:i386"
        dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
        export DEBIAN_FRONTEND=noninteractive
        apt-get update -qq || true
        if ! apt-get install -y -qq wine32:i386 >/dev/null; then
            echo "setup: wine32:i386 could not be installed; the 32-bit tests will be left out"
        fi
    fi
fi

# Wine takes its code page from the locale: English (United States), code page 1252.
if ! locale -a 2>/dev/null | grep -qix 'en_US.utf8'; then
    sed -i 's/^# *en_US.UTF-8 UTF-8/en_US.UTF-8 UTF-8/' /etc/locale.gen
    grep -q '^en_US.UTF-8 UTF-8' /etc/locale.gen || echo 'en_US.UTF-8 UTF-8' >> /etc/locale.gen
    locale-gen >/dev/null
fi
