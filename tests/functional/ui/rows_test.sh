#!/usr/bin/env bash
# Selected rows and check boxes with a real mouse: on the File tab, CSV, "Only the selected rows"
# and the "Checked" column give the two selected rows with Yes or No; the saved type against an
# owner-data host (no check boxes) gives its rows selected far apart; with no row selected the
# export is refused and the file stays.
#   rows_test.sh PROGRAM UIDRIVER LVHOST WORK
source "$(dirname "$0")/../../../scripts/ui-lib.sh"
program_folder "$@" zav_lvhost.exe

printf 'title\tChecks host\ncolumn\t100\tName\ncolumn\t100\tSize\ncheckboxes\n%s\n%s\n%s\n%s\nselect\t1\t3\ncheck\t1\t2\n' \
    $'row\ta\t1' $'row\tb\t2' $'row\tc\t3' $'row\td\t4' > checks.txt
{
    printf 'title\tVirtual host\ncolumn\t100\tName\ncolumn\t100\tSize\nownerdata\ngenerate\t5000\t2\n'
    printf 'select\t0\t4999\t2500\n'
} > virtual.txt
printf 'title\tVirtual host\ncolumn\t100\tName\ncolumn\t100\tSize\nownerdata\ngenerate\t5000\t2\n' > none.txt

check "the host with check boxes is up" lv_host checks "Checks host"
start_program
csv="Exports/Checks host.csv"

check "the menu opens, Print Grid opens the dialog" print_grid
check "the File tab shows its page" file_tab
check "CSV is chosen" choose_format c CSV
check "a new type takes every row" same "$(D checked "$T" $kChkSelectedRows)/$(D checked "$T" $kChkCheckedColumn)" 0/0
click_control "$T" $kChkSelectedRows
click_control "$T" $kChkCheckedColumn
check "both are ticked" same "$(D checked "$T" $kChkSelectedRows)/$(D checked "$T" $kChkCheckedColumn)" 1/1
check "OK closes the dialog" ok_closes
check "only the selected rows, each with its check mark" csv_rows "$csv" utf-8 , \
    '[["Checked", "Name", "Size"], ["Yes", "b", "2"], ["No", "d", "4"]]'

# The saved type against an owner-data list of the same columns: its selection, far apart.
check "the owner-data host is up" lv_host virtual "Virtual host"
check "the menu opens over it on a second dialog" print_grid
check "it offers the saved type, both ticked" \
    eval 'same "$(D utext "$T" $kCmbExportTypes)" "Checks host" && file_tab && same "$(D checked "$T" $kChkSelectedRows)/$(D checked "$T" $kChkCheckedColumn)" 1/1'
check "OK closes the second dialog" ok_closes
check "only its selected rows, and no check-box column" csv_rows "$csv" utf-8 , \
    '[["Name", "Size"], ["R1C1", "R1C2"], ["R2501C1", "R2501C2"], ["R5000C1", "R5000C2"]]'

# Nothing selected: refused, and the file stays.
check "the owner-data host without a selection is up" lv_host none "Virtual host"
check "the menu opens a third time on a third dialog" print_grid
refused "an export of no selected rows" "$csv" "*No rows are selected in the list*"
close_program $pid
finish
