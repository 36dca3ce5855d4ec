#!/usr/bin/env bash
# The main job, for real under Wine:
#  1. ZAVExport.exe started from a fresh program folder creates its settings, folders and catalog;
#  2. a scripted export in that folder: a list view in a second process is read through the
#     program's capture, a rule is added, OK saves the export type and writes the HTML table, and a
#     second dialog is offered the saved type.
# Installs what is missing first.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash scripts/setup.sh

cmake -S . -B build/win64 -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake" >/dev/null
cmake --build build/win64 -j "$(nproc)" --target ZAVExport zav_export_demo

demo="$root/build/demo"
rm -rf "$demo"
mkdir -p "$demo/program"
cp build/win64/ZAVExport64.exe build/win64/tools/export_demo/zav_export_demo.exe \
   build/win64/tests/functional/capture/zav_lvhost.exe "$demo/program/"

# shellcheck source=scripts/wine-env.sh
source scripts/wine-env.sh
wine_session_start build
cd "$demo/program"
# Files are 8-bit text of code page 1252; the terminal wants UTF-8.
show() { echo "---- $1"; iconv -f CP1252 -t UTF-8 < "$1" | tr -d '\r'; echo; }

echo "== 1. ZAVExport64.exe starts in $demo/program"
timeout 60 wine ZAVExport64.exe || { echo "ZAVExport64.exe failed"; exit 1; }
show settings.ini
show catalog.ini

echo "== 2. export of a list view in another process"
timeout 300 wine zav_export_demo.exe | iconv -f CP1252 -t UTF-8 | tr -d "\r"
show catalog.ini
for f in ExportOptions/*.ini Exports/*.html; do show "$f"; done
wine_session_stop
