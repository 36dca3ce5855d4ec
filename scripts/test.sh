#!/usr/bin/env bash
# Builds every tree and runs every test: the native unit tests, then the same tests and the
# functional tests as Windows programs under Wine: the 64-bit build always, the 32-bit build where
# this machine runs 32-bit programs (it is always compiled). Installs what is missing first.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash scripts/setup.sh

jobs=$(nproc)
werror=OFF
[ "${CI:-}" = "true" ] && werror=ON
run32=no
bash scripts/probe32.sh && [ -x /usr/lib/wine/wine ] && run32=yes

# Each Windows tree's tests also read a list view of the other word size where both can run.
peer64=""
peer32=""
if [ "$run32" = yes ]; then
    peer64="$root/build/win32/tests/functional/capture/zav_lvhost.exe"   # given to the 64-bit tree
    peer32="$root/build/win64/tests/functional/capture/zav_lvhost.exe"   # given to the 32-bit tree
fi

echo "== native build"
cmake -S . -B build/native -DCMAKE_BUILD_TYPE=Release -DZAV_WERROR=$werror >/dev/null
cmake --build build/native -j "$jobs"
echo "== Windows build, x86_64 (ZAVExport64.exe)"
cmake -S . -B build/win64 -DCMAKE_BUILD_TYPE=Release -DZAV_WERROR=$werror \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake" -DZAV_PEER_LVHOST="$peer64" >/dev/null
cmake --build build/win64 -j "$jobs"
echo "== Windows build, i686 (ZAVExport.exe)"
cmake -S . -B build/win32 -DCMAKE_BUILD_TYPE=Release -DZAV_WERROR=$werror \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" -DZAV_PEER_LVHOST="$peer32" >/dev/null
cmake --build build/win32 -j "$jobs"

status=0
echo "== native tests"
(cd build/native && ctest --output-on-failure -j "$jobs") || status=1

# shellcheck source=scripts/wine-env.sh
source scripts/wine-env.sh
wine_session_start build
echo "== x86_64 tests under 64-bit Wine"
(cd build/win64 && ctest --output-on-failure -j "$jobs" --timeout 900) || status=1
if [ "$run32" = yes ]; then
    echo "== i686 tests under 32-bit Wine"
    (cd build/win32 && ctest --output-on-failure -j "$jobs" --timeout 900) || status=1
fi
wine_session_stop

if [ "$run32" = yes ]; then
    echo "Windows builds tested: x86_64 and i686 (this machine runs 32-bit programs)."
else
    echo "Windows builds tested: x86_64 only; the i686 build was compiled but not run (this machine runs no 32-bit programs)."
fi
exit $status
