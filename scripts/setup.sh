#!/usr/bin/env bash
# Installs what the build and the tests need on Debian 12, as root; skips what is already there.
set -euo pipefail

need=()
have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }

for p in locales cmake g++ make googletest g++-mingw-w64-i686-posix mingw-w64-i686-dev binutils-mingw-w64-i686 \
         xvfb xdotool x11-utils wine; do
    have_pkg "$p" || need+=("$p")
done
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
    need+=(wine32:i386)
elif ! have_pkg wine32:i386; then
    need+=(wine32:i386)
fi

if [ ${#need[@]} -gt 0 ]; then
    echo "setup: installing ${need[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq "${need[@]}" >/dev/null
fi

# Wine takes its code page from the locale: English (United States), code page 1252.
if ! locale -a 2>/dev/null | grep -qix 'en_US.utf8'; then
    sed -i 's/^# *en_US.UTF-8 UTF-8/en_US.UTF-8 UTF-8/' /etc/locale.gen
    grep -q '^en_US.UTF-8 UTF-8' /etc/locale.gen || echo 'en_US.UTF-8 UTF-8' >> /etc/locale.gen
    locale-gen >/dev/null
fi
