#!/usr/bin/env bash
# Builds both trees and runs every test: the native unit tests, then the same tests and the
# functional tests as Windows programs under Wine. Installs what is missing first.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash scripts/setup.sh

jobs=$(nproc)
werror=OFF
[ "${CI:-}" = "true" ] && werror=ON

echo "== native build"
cmake -S . -B build/native -DCMAKE_BUILD_TYPE=Release -DZAV_WERROR=$werror >/dev/null
cmake --build build/native -j "$jobs"
echo "== win32 build"
cmake -S . -B build/win32 -DCMAKE_BUILD_TYPE=Release -DZAV_WERROR=$werror \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" >/dev/null
cmake --build build/win32 -j "$jobs"

status=0
echo "== native tests"
(cd build/native && ctest --output-on-failure -j "$jobs") || status=1

echo "== win32 tests under Wine"
# shellcheck source=scripts/wine-env.sh
source scripts/wine-env.sh
wine_session_start build/win32
(cd build/win32 && ctest --output-on-failure -j "$jobs" --timeout 900) || status=1
wine_session_stop

exit $status
