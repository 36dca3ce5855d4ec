#!/usr/bin/env bash
# Copy Grid beside an HTML export of the same owner-data list of ROWS x 5 cells, through the real
# mouse in one run inside a Wine session: each figure runs from the click that starts the work to
# the result complete (the clipboard holding every row, or the HTML file written).
#   copy_vs_export.sh BUILD_DIR ROWS WORK
build=$1 rows=$2
ZAV_IDS=${ZAV_IDS:-$build/tests/functional/control-ids.sh}
set -o pipefail
source "$(dirname "$0")/bench-lib.sh"
bench_start "$build" "$rows" "$3" Bench

clip set "before" || exit 1
open_menu 0.5 || { echo "no menu"; exit 1; }
xdotool mouseup 3; sleep 0.3
xdotool mousemove $((left + 75)) $((top + 71)); sleep 0.4
start=$(date +%s.%N)
xdotool click 1
D wait "Copy Grid" 10 >/dev/null
D gone "Copy Grid" 600 >/dev/null || { echo "the copy did not end"; exit 1; }
copy=$(elapsed "$start")
clip read text.out html.out || exit 1
lines=$(grep -c $'\r$' text.out)
[ "$lines" -eq $((rows + 1)) ] || { echo "the clipboard holds $lines lines, not $((rows + 1))"; exit 1; }
export_s=$(bench_export) || { echo "$export_s"; exit 1; }
html=$(ls Exports/*.html 2>/dev/null | head -n 1)
[ -n "$html" ] || { echo "no HTML file in Exports"; exit 1; }

echo "rows: $rows x 5"
echo "Copy Grid (click to clipboard filled, $(wc -c < text.out) bytes of text, $(wc -c < html.out) of HTML): ${copy} s"
echo "HTML export (OK to file written, $(wc -c < "$html") bytes): ${export_s} s"
close_program "$pid" >/dev/null
