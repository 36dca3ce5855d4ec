#!/usr/bin/env bash
# The main job, for real under Wine on a virtual display, with a real mouse (xdotool):
#  1. a sample program with a list view starts (the list-view host: a window listing files);
#  2. ZAVExport64.exe starts from a fresh program folder and stays resident, invisible;
#  3. a right press over the sample's list view pops up its menu; "Print Grid" opens the
#     "LV Export Options" dialog; OK saves the export type and writes the HTML table;
#  4. the resulting files are printed, with the screenshots taken on the way.
# Installs what is missing first.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash scripts/setup.sh

cmake -S . -B build/win64 -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake" >/dev/null
cmake --build build/win64 -j "$(nproc)" --target ZAVExport zav_uidriver zav_lvhost

demo="$root/build/demo"
prog="$demo/program"
shots="$demo/screens"
rm -rf "$demo"
mkdir -p "$prog" "$shots"
cp build/win64/ZAVExport64.exe "$prog/"
cp build/win64/tests/functional/ui/zav_uidriver.exe build/win64/tests/functional/capture/zav_lvhost.exe "$demo/"
cp readme.txt "$prog/"

# shellcheck source=scripts/wine-env.sh
source scripts/wine-env.sh
# shellcheck source=scripts/ui-lib.sh
source scripts/ui-lib.sh
wine_session_start build
cp "$demo/zav_uidriver.exe" "$prog/"   # the window inspector the mouse helpers use
ZAV_DRIVER="$prog/zav_uidriver.exe"

# Files are 8-bit text of code page 1252; the terminal wants UTF-8.
show() { echo "---- $1"; iconv -f CP1252 -t UTF-8 < "$1" | tr -d '\r'; echo; }

echo "== 1. a sample program with a list view"
printf 'title\tSample files\ncolumn\t140\tName\ncolumn\t80\tSize\ncolumn\t120\tModified\n%s' \
    "$(printf 'row\treadme.txt\t1,2 KB\t2026-11-30\nrow\tR\xE9sum\xE9.doc\t48 KB\t2026-12-01\nrow\t<draft>.html\t3 KB\t2026-12-06\n')" \
    > "$demo/host.txt"
(cd "$demo" && wine zav_lvhost.exe host.txt host.info) &
for _ in $(seq 1 600); do [ -s "$demo/host.info" ] && break; sleep 0.1; done
D wait "Sample files" 60 >/dev/null
read -r _ _ left top _ _ _ < "$demo/host.info"

echo "== 2. ZAVExport64.exe starts in $prog"
(cd "$prog" && wine ZAVExport64.exe) &
pid=$!
D wait "ZAV Menu Hook" 60 >/dev/null || { echo "ZAVExport64.exe did not start"; exit 1; }
sleep 1
show "$prog/settings.ini"

echo "== 3. right press over the list view, Print Grid, OK"
open_menu 1 || { echo "no popup menu"; exit 1; }
shot 1-menu
choose_print_grid || { echo "no export options dialog"; exit 1; }
shot 2-dialog
click_button "$ZAV_DIALOG" OK
D gone "$ZAV_DIALOG" 30 || { echo "the dialog did not close"; exit 1; }
shot 3-done

echo "== 4. what came of it"
for f in "$prog"/catalog.ini "$prog"/ExportOptions/*.ini "$prog"/Exports/*.html; do show "$f"; done
echo "HTML file: $(ls "$prog"/Exports/*.html)"
echo "screenshots: $(ls "$shots"/*.png | tr '\n' ' ')"

D close "ZAV Menu Hook"
wait "$pid" || true
D close "Sample files" || true
wine_session_stop
