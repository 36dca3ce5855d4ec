#!/usr/bin/env bash
# Selected rows and check boxes through the real program with a real mouse, inside the session of
# scripts/wine-env.sh. A host with check boxes and two rows selected: on the File tab, CSV, "Only
# the selected rows" and the "Checked" column; the file holds those two rows, each with its Yes or
# No. The same saved type against an owner-data host of the same columns, rows selected far apart
# and no check boxes: only those rows, and no "Checked" column. Then the owner-data host with no
# row selected: the export is refused with a message, and the file stays as it was.
#   rows_test.sh PROGRAM UIDRIVER LVHOST WORK
set -u
set -o pipefail
exe=$1
driver=$2
host=$3
work=$4
# shellcheck source=../../../scripts/ui-lib.sh
source "$(dirname "$0")/../../../scripts/ui-lib.sh"
T=$ZAV_DIALOG
kFormats=1021
kSelected=1028
kChecked=1029

program_folder "$work" "$exe" "$driver" "$host" zav_lvhost.exe

# parsed FILE EXPECTED-JSON: the UTF-8 CSV file, read with Python's csv module, is exactly those rows.
parsed() {
    python3 - "$@" <<'PY'
import csv, io, json, sys
data = open(sys.argv[1], "rb").read()
rows = list(csv.reader(io.StringIO(data.decode("utf-8-sig"), newline=""), strict=True))
expected = json.loads(sys.argv[2])
if rows != expected:
    print("   got:      " + json.dumps(rows, ensure_ascii=False))
    print("   expected: " + json.dumps(expected, ensure_ascii=False))
    sys.exit(1)
PY
}

# start_host DESCRIPTION TITLE: starts the host and waits for it; sets hostpid, left and top.
start_host() {
    wine zav_lvhost.exe "$1" "$1.info" &
    hostpid=$!
    D wait "$2" 60 >/dev/null || return 1
    # The window shows just before the host writes where it is.
    local i
    for i in $(seq 1 100); do [ -s "$1.info" ] && break; sleep 0.1; done
    read -r _ _ left top _ _ _ < "$1.info"
}

printf 'title\tChecks host\ncolumn\t100\tName\ncolumn\t100\tSize\ncheckboxes\n%s\n%s\n%s\n%s\nselect\t1\t3\ncheck\t1\t2\n' \
    $'row\ta\t1' $'row\tb\t2' $'row\tc\t3' $'row\td\t4' > checks.txt
{
    printf 'title\tVirtual host\ncolumn\t100\tName\ncolumn\t100\tSize\nownerdata\ngenerate\t5000\t2\n'
    printf 'select\t0\t4999\t2500\n'
} > virtual.txt
printf 'title\tVirtual host\ncolumn\t100\tName\ncolumn\t100\tSize\nownerdata\ngenerate\t5000\t2\n' > none.txt

check "the host with check boxes is up" start_host checks.txt "Checks host"
start_program
check "the program is resident" quiet D wait "ZAV Menu Hook" 60
csv="Exports/Checks host.csv"

check "the menu opens" open_menu 0.5
check "Print Grid opens the dialog" choose_print_grid
sleep 0.5
check "the File tab shows its page" file_tab
click_control "$T" $kFormats; xdotool key c; sleep 0.3; xdotool key Return; sleep 0.5
check "CSV is chosen" same "$(D text "$T" $kFormats)" CSV
check "a new type takes every row" same "$(D checked "$T" $kSelected)/$(D checked "$T" $kChecked)" 0/0
click_control "$T" $kSelected
click_control "$T" $kChecked
check "both are ticked" same "$(D checked "$T" $kSelected)/$(D checked "$T" $kChecked)" 1/1
shot rows-file-tab
click_button "$T" OK
check "OK closes the dialog" D gone "$T" 20
check "only the selected rows, each with its check mark" parsed "$csv" \
    '[["Checked", "Name", "Size"], ["Yes", "b", "2"], ["No", "d", "4"]]'
D close "Checks host"
wait $hostpid 2>/dev/null

# The saved type against an owner-data list of the same columns: its selection, far apart.
check "the owner-data host is up" start_host virtual.txt "Virtual host"
check "the menu opens over it" open_menu 0.5
check "a second dialog opens" choose_print_grid
sleep 0.5
check "it offers the saved type, both ticked" \
    eval 'same "$(D utext "$T" 1002)" "Checks host" && file_tab && same "$(D checked "$T" $kSelected)/$(D checked "$T" $kChecked)" 1/1'
click_button "$T" OK
check "OK closes the second dialog" D gone "$T" 20
check "only its selected rows, and no check-box column" parsed "$csv" \
    '[["Name", "Size"], ["R1C1", "R1C2"], ["R2501C1", "R2501C2"], ["R5000C1", "R5000C2"]]'
D close "Virtual host"
wait $hostpid 2>/dev/null

# Nothing selected: refused, and the file stays.
before=$(file_state "$csv")
check "the owner-data host without a selection is up" start_host none.txt "Virtual host"
check "the menu opens a third time" open_menu 0.5
check "a third dialog opens" choose_print_grid
sleep 0.5
click_button "$T" OK
D wait ZAVExport 10 >/dev/null
message=$(D message ZAVExport)
check "an export of no selected rows is refused" \
    eval '[[ $message == *"No rows are selected in the list"* ]] || { echo "   message: [$message]"; false; }'
click_button ZAVExport OK
sleep 0.5
check "the dialog stays open" same "$(D count "$T")" 1
check "the file was left as it was" same "$(file_state "$csv")" "$before"
click_button "$T" Cancel; sleep 1
click_button ZAVExport "&Yes"
check "Cancel and Yes close it" D gone "$T" 20

close_program $pid
D close "Virtual host"
wait $hostpid 2>/dev/null
echo "screenshots: $work/screens"
finish
