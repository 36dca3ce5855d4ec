#!/usr/bin/env bash
# Copy Grid beside an HTML export of the same owner-data list of ROWS x 5 cells, end to end
# through the real mouse in one run (inside a session of scripts/wine-env.sh). Each figure runs
# from the click that starts the work to the moment the result is complete: the progress window
# gone and the clipboard holding every row, or the dialog gone and the HTML file written.
#   copy_vs_export.sh BUILD_DIR ROWS WORK
set -u
set -o pipefail
build=$1
rows=$2
work=$3
source "$(dirname "$0")/../../../scripts/ui-lib.sh"
rm -rf "$work"
mkdir -p "$work"
cp "$build"/ZAVExport64.exe "$build"/tests/functional/ui/zav_uidriver.exe "$build"/tests/functional/ui/zav_clipboard.exe \
   "$build"/tests/functional/capture/zav_lvhost.exe "$work/"
ZAV_DRIVER="$work/zav_uidriver.exe"
shots="$work"
cd "$work" || exit 1
printf 'title\tBench\nownerdata\ncolumn\t80\tA\ncolumn\t80\tB\ncolumn\t80\tC\ncolumn\t80\tD\ncolumn\t80\tE\ngenerate\t%s\t5\n' \
    "$rows" > host.txt
wine zav_lvhost.exe host.txt host.info &
hostpid=$!
wine ZAVExport64.exe &
pid=$!
D wait Bench 60 >/dev/null && D wait "ZAV Menu Hook" 60 >/dev/null || { echo "no start"; exit 1; }
for _ in $(seq 1 100); do [ -s host.info ] && break; sleep 0.1; done
read -r _ _ left top _ _ _ < host.info
sleep 2
elapsed() { echo "$(date +%s.%N) $1" | awk '{ printf "%.2f", $1 - $2 }'; }

wine zav_clipboard.exe set "before" || exit 1
open_menu 0.5 || { echo "no menu"; exit 1; }
xdotool mouseup 3; sleep 0.3
xdotool mousemove $((left + 75)) $((top + 71)); sleep 0.4
start=$(date +%s.%N)
xdotool click 1
D wait "Copy Grid" 10 >/dev/null
D gone "Copy Grid" 600 >/dev/null || { echo "the copy did not end"; exit 1; }
copy=$(elapsed "$start")
wine zav_clipboard.exe read text.out html.out || exit 1
lines=$(grep -c $'\r$' text.out)
[ "$lines" -eq $((rows + 1)) ] || { echo "the clipboard holds $lines lines, not $((rows + 1))"; exit 1; }

open_menu 0.5 && choose_print_grid || { echo "no dialog"; exit 1; }
out=$(tr -d '\r' < settings.ini | sed -n 's/^OutputFolder=//p')
click_at OK $(D button "$ZAV_DIALOG" OK) >/dev/null
start=$(date +%s.%N)
D gone "$ZAV_DIALOG" 600 >/dev/null || { echo "the export did not end"; exit 1; }
export_s=$(elapsed "$start")
html=$(ls Exports/*.html 2>/dev/null | head -n 1)
[ -n "$html" ] || { echo "no HTML file in ${out:-Exports}"; exit 1; }

echo "rows: $rows x 5"
echo "Copy Grid (click to clipboard filled, $(wc -c < text.out) bytes of text, $(wc -c < html.out) of HTML): ${copy} s"
echo "HTML export (OK to file written, $(wc -c < "$html") bytes): ${export_s} s"
D close "ZAV Menu Hook"
D close Bench
wait $pid $hostpid 2>/dev/null
