#!/usr/bin/env bash
set -o pipefail
# What the benchmarks in this folder share, over the end-to-end tests' library.
# shellcheck source=scripts/ui-lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/ui-lib.sh"

# For the benchmarks. bench_start BUILD ROWS WORK TITLE [FILE...]: WORK made afresh with the
# program, the inspector, the list-view host and the FILEs of the build folder BUILD; the host
# showing an owner-data list TITLE of ROWS x 5 cells and the program resident. Sets pid.
bench_start() {
    rm -rf "$3"
    mkdir -p "$3"
    cp "$1"/ZAVExport64.exe "$1"/tests/functional/ui/zav_uidriver.exe "$1"/tests/functional/capture/zav_lvhost.exe \
        "${@:5}" "$3/" || exit 1
    ZAV_DRIVER="$3/zav_uidriver.exe"
    shots=$3
    cd "$3" || exit 1
    printf 'title\t%s\nownerdata\ncolumn\t80\tA\ncolumn\t80\tB\ncolumn\t80\tC\ncolumn\t80\tD\ncolumn\t80\tE\ngenerate\t%s\t5\n' \
        "$4" "$2" > host.txt
    lv_host host "$4" || { echo "the host did not start"; exit 1; }
    wine ZAVExport64.exe &
    pid=$!
    D wait "ZAV Menu Hook" 60 >/dev/null || { echo "the program did not start"; exit 1; }
    sleep 2
}
# elapsed START: seconds since START (date +%s.%N), to the hundredth.
elapsed() { echo "$(date +%s.%N) $1" | awk '{ printf "%.2f", $1 - $2 }'; }
# bench_export: Print Grid and OK over the list; prints the seconds from OK to the dialog gone.
bench_export() {
    open_menu 0.5 && choose_print_grid || { echo "no dialog"; exit 1; }
    click_at OK $(D button "$ZAV_DIALOG" OK) >/dev/null
    local start
    start=$(date +%s.%N)
    D gone "$ZAV_DIALOG" 3600 >/dev/null || { echo "the export did not end"; exit 1; }
    elapsed "$start"
}
