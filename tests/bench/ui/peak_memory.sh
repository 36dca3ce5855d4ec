#!/usr/bin/env bash
# Peak memory of the resident program while it exports a list view of ROWS x 5 cells, through the
# real mouse (inside a session of scripts/wine-env.sh). Prints the program's peak resident set
# (VmHWM) before the export and after it. Run it for a small and a large list and compare.
#   peak_memory.sh BUILD_DIR ROWS WORK
set -u
build=$1
rows=$2
work=$3
source "$(dirname "$0")/../../../scripts/ui-lib.sh"
rm -rf "$work"
mkdir -p "$work"
cp "$build"/ZAVExport64.exe "$build"/tests/functional/ui/zav_uidriver.exe \
   "$build"/tests/functional/capture/zav_lvhost.exe "$work/"
ZAV_DRIVER="$work/zav_uidriver.exe"
shots="$work"
cd "$work"
printf 'title\tMemory\nownerdata\ncolumn\t80\tA\ncolumn\t80\tB\ncolumn\t80\tC\ncolumn\t80\tD\ncolumn\t80\tE\ngenerate\t%s\t5\n' \
    "$rows" > host.txt
wine zav_lvhost.exe host.txt host.info &
wine ZAVExport64.exe &
pid=$!
D wait Memory 60 >/dev/null && D wait "ZAV Menu Hook" 60 >/dev/null || { echo "no start"; exit 1; }
read -r _ _ left top _ _ _ < host.info
sleep 2
grep -q ZAVExport64 "/proc/$pid/cmdline" || { echo "process $pid is not the program"; exit 1; }
hwm() { sed -n 's/^VmHWM:\s*\([0-9]*\) kB/\1/p' "/proc/$pid/status"; }
before=$(hwm)
open_menu 0.5 && choose_print_grid || { echo "no dialog"; exit 1; }
start=$(date +%s.%N)
click_button "$ZAV_DIALOG" OK
D gone "$ZAV_DIALOG" 3600 >/dev/null || { echo "the export did not end"; exit 1; }
end=$(date +%s.%N)
after=$(hwm)
echo "rows $rows x 5: peak resident set before $before kB, after the export $after kB (+$((after - before)) kB); export $(awk "BEGIN { printf \"%.1f\", $end - $start }") s; file $(stat -c %s "Exports/Memory.html") bytes"
D close "ZAV Menu Hook"
D close Memory
sleep 1
