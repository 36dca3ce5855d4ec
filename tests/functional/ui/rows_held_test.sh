#!/usr/bin/env bash
# Controls that lie about their rows or change while read, one program start for every case (Print
# Grid and OK, or Copy Grid): the file holds exactly the rows the control held, or nothing is
# written, the previous file stays and the message says why; no temporary file is left; a refused
# copy leaves the clipboard as it was.
#   rows_held_test.sh PROGRAM UIDRIVER CTLHOST LVHOST WORK
set -o pipefail
source "$(dirname "$0")/../../../scripts/ui-lib.sh"
program_folder "$1" "$2" "$3" "$5" zav_ctlhost.exe
cp "$4" zav_lvhost.exe

hostpid=
lines() { printf '%s\n' "$@"; }

# export_case NAME FILE EXPECTED MESSAGE: Print Grid and OK over the control `at` chose. With an
# expected message, the export is refused saying it (see refused); otherwise FILE holds EXPECTED
# (its rows, one a line) and no temporary file is left.
export_case() {
    local what=$1 file=$2 expected=$3 message=$4
    check "$what: the dialog opens" print_grid
    if [ -n "$message" ]; then refused "$what" "$file" "*$message*" 60; return; fi
    check "$what: OK closes the dialog" ok_closes 60
    check "$what: the file holds exactly the rows held" same "$(html_rows "$file")" "$expected"
    check "$what: no temporary file" same "$(ls Exports | grep -c '\.tmp$')" 0
}

start_program
five=$(lines Item one "two Ж" "" four five)
inconsistent="The list box answered inconsistently at row 1, column 1"
ctl_host ZavListBoxHost listbox
lb=Exports/ZavListBoxHost.html
# id|case|expected rows|message (list box controls of the host, see ControlHost.cpp)
while IFS='|' read -r id what expected message; do
    at ZavListBoxHost "$id"
    export_case "$what" "$lb" "${expected:+$five}" "$message"
done <<EOF
4|a count of 2^31-1 gives its five lines|five|
5|a length of 2^31-1 is refused||told a length for the text at row 1, column 1 that cannot be honoured (2,147,483,647 characters)
6|a length short of its text is refused||$inconsistent
7|a copy that claims 100,000 characters is refused||$inconsistent
EOF

# Copy Grid: the five lines, and a refused copy that leaves the clipboard as it was.
at ZavListBoxHost 4
check "a marker on the clipboard, the menu opens for Copy Grid" copy_item marker 2
check "Copy Grid copies the five lines" eval 'wait_for_copy && same "$(tr -d "\r" < text.out)" "$five"'
at ZavListBoxHost 6
check "a marker on the clipboard again, the menu opens for the refused copy" copy_item marker 2
check "a box refuses the copy, saying the list box answered inconsistently" box_says "*$inconsistent*"
check "the clipboard is as it was" clipboard_kept marker

# Trees: the count lie gives the nine items; a loop is refused and that file stays.
tv=Exports/ZavTreeHost.html
nine=$(lines "Item|Level|Path" "a|1|a" "a1|2|a\\a1" "a2|2|a\\a2" "b|1|b" "b1|2|b\\b1" "b2|2|b\\b2" \
    "c|1|c" "c1|2|c\\c1" "c2|2|c\\c2")
ctl_host ZavTreeHost count 1
at ZavTreeHost 1
export_case "a tree counting 2^31-1 gives its nine items" "$tv" "$nine" ""
ctl_host ZavTreeHost loop 1
at ZavTreeHost 1
export_case "a tree whose leaf links back to a root is refused" "$tv" "" \
    "The tree view answered inconsistently: an item came again at row 4"

# List views that change while read: refreshed down to 5 rows (refused; read again once it
# stands, its 5 rows), then re-sorted with distinct item data (refused, that file kept).
printf 'title\tLive list\ncolumn\t50\tA\ncolumn\t50\tB\ngenerate\t2000\t2\nparams\nshrink\t600\t5\n' > shrink.txt
printf 'title\tLive list\ncolumn\t50\tA\ncolumn\t50\tB\ngenerate\t2000\t2\nparams\nresort\t600\n' > resort.txt
lv="Exports/Live list.html"
lv_host shrink "Live list"
export_case "a list refreshed from 2,000 rows to 5 is refused" "$lv" "" \
    "The list view changed while it was being read: it held 2,000 rows when the export began and holds 5 now."
export_case "the same list, standing, gives its 5 rows" "$lv" \
    "$(lines "A|B" "R1C1|R1C2" "R2C1|R2C2" "R3C1|R3C2" "R4C1|R4C2" "R5C1|R5C2")" ""
lv_host resort "Live list"
export_case "a list re-sorted while read is refused" "$lv" "" "its rows moved (it was re-sorted or refreshed)"
close_program $pid
finish
