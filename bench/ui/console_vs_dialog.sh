#!/usr/bin/env bash
# The console program's export beside the dialog's export of the same owner-data list of ROWS x 5
# cells and beside the capture floor (zav_bench_capture.exe), in one run inside a Wine session. The
# dialog's figure runs from OK to the file written, the console's from its start to its end.
#   console_vs_dialog.sh BUILD_DIR ROWS WORK
build=$1 rows=$2
ZAV_IDS=${ZAV_IDS:-$build/tests/functional/control-ids.sh}
set -o pipefail
source "$(dirname "$0")/bench-lib.sh"
bench_start "$build" "$rows" "$3" Bench "$build"/ZAVExportCmd64.exe

start=$(date +%s.%N)
wine ZAVExportCmd64.exe export --window Bench --format html --out cmd.html --quiet || { echo "the console export failed"; exit 1; }
console_html=$(elapsed "$start")
[ "$(python3 -c 'import sys; print(open(sys.argv[1], "rb").read().lower().count(b"<tr"))' cmd.html)" -eq $((rows + 1)) ] || { echo "the console's HTML holds too few rows"; exit 1; }
export_s=$(bench_export) || { echo "$export_s"; exit 1; }
html=$(ls Exports/*.html 2>/dev/null | head -n 1)
[ -n "$html" ] || { echo "no HTML file in Exports"; exit 1; }

echo "rows: $rows x 5"
echo "dialog, HTML export (OK to file written, $(wc -c < "$html") bytes): ${export_s} s"
echo "console, HTML export (start to end, $(wc -c < cmd.html) bytes): ${console_html} s"
close_program "$pid" >/dev/null
echo "capture floor:"
wine "$build"/bench/capture/zav_bench_capture.exe "$rows" 5 1
