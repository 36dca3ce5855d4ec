#!/usr/bin/env bash
# The main job, shown for real under Wine: ZAVExport.exe started from a fresh program folder
# creates its settings file and working folders beside itself. Installs what is missing first.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash scripts/setup.sh

cmake -S . -B build/win32 -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" >/dev/null
cmake --build build/win32 -j "$(nproc)" --target ZAVExport

demo="$root/build/demo"
rm -rf "$demo"
mkdir -p "$demo/program"
cp build/win32/ZAVExport.exe "$demo/program/"

# shellcheck source=scripts/wine-env.sh
source scripts/wine-env.sh
wine_session_start build/win32

echo "== starting ZAVExport.exe in $demo/program"
( cd "$demo/program" && timeout 60 wine ZAVExport.exe ) || { echo "ZAVExport.exe failed"; exit 1; }

echo "== the program folder now holds:"
ls -l "$demo/program"
echo "== settings.ini:"
tr -d '\r' < "$demo/program/settings.ini"
echo "== catalog.ini:"
tr -d '\r' < "$demo/program/catalog.ini"
wine_session_stop
