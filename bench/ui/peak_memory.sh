#!/usr/bin/env bash
# Peak memory of the resident program while it exports a list view of ROWS x 5 cells through the
# real mouse (inside a Wine session): its peak resident set (VmHWM) before the export and after.
#   peak_memory.sh BUILD_DIR ROWS WORK
build=$1 rows=$2
ZAV_IDS=${ZAV_IDS:-$build/tests/functional/control-ids.sh}
set -o pipefail
source "$(dirname "$0")/bench-lib.sh"
bench_start "$build" "$rows" "$3" Memory
grep -q ZAVExport64 "/proc/$pid/cmdline" || { echo "process $pid is not the program"; exit 1; }
hwm() { sed -n 's/^VmHWM:\s*\([0-9]*\) kB/\1/p' "/proc/$pid/status"; }
before=$(hwm)
export_s=$(bench_export) || { echo "$export_s"; exit 1; }
after=$(hwm)
echo "rows $rows x 5: peak resident set before $before kB, after the export $after kB (+$((after - before)) kB); export $export_s s; file $(stat -c %s "Exports/Memory.html") bytes"
close_program "$pid" >/dev/null
