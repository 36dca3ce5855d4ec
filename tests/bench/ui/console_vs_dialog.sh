#!/usr/bin/env bash
# The console program's export beside the dialog's export of the same owner-data list of ROWS x 5
# cells and beside the capture floor, in one run (inside a session of scripts/wine-env.sh). The
# dialog's figure runs from OK to the dialog gone (its HTML file written), the console's from its
# start to its end (the same HTML), the floor is what
# zav_bench_capture.exe prints for the same size.
#   console_vs_dialog.sh BUILD_DIR ROWS WORK
set -u
set -o pipefail
build=$1
rows=$2
work=$3
source "$(dirname "$0")/../../../scripts/ui-lib.sh"
rm -rf "$work"
mkdir -p "$work"
cp "$build"/ZAVExport64.exe "$build"/tests/functional/ui/zav_uidriver.exe "$build"/ZAVExportCmd64.exe \
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

start=$(date +%s.%N)
wine ZAVExportCmd64.exe export --window Bench --format html --out cmd.html --quiet || { echo "the console export failed"; exit 1; }
console_html=$(elapsed "$start")
[ "$(python3 -c 'import sys; print(open(sys.argv[1], "rb").read().lower().count(b"<tr"))' cmd.html)" -eq $((rows + 1)) ] || { echo "the console's HTML holds too few rows"; exit 1; }

open_menu 0.5 && choose_print_grid || { echo "no dialog"; exit 1; }
out=$(tr -d '\r' < settings.ini | sed -n 's/^OutputFolder=//p')
click_at OK $(D button "$ZAV_DIALOG" OK) >/dev/null
start=$(date +%s.%N)
D gone "$ZAV_DIALOG" 600 >/dev/null || { echo "the export did not end"; exit 1; }
export_s=$(elapsed "$start")
html=$(ls Exports/*.html 2>/dev/null | head -n 1)
[ -n "$html" ] || { echo "no HTML file in ${out:-Exports}"; exit 1; }

echo "rows: $rows x 5"
echo "dialog, HTML export (OK to file written, $(wc -c < "$html") bytes): ${export_s} s"
echo "console, HTML export (start to end, $(wc -c < cmd.html) bytes): ${console_html} s"
D close "ZAV Menu Hook"
D close Bench
wait $pid $hostpid 2>/dev/null
echo "capture floor:"
wine "$build"/tests/bench/capture/zav_bench_capture.exe "$rows" 5 1
