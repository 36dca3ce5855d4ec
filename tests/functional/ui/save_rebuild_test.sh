#!/usr/bin/env bash
# OK with 30,000 export types: the catalog rebuild that completes the save runs between the
# dialog's messages and shows its progress; a Stop meanwhile takes effect once the catalog is
# written (the new type listed, no output file); a second OK exports to the end.
#   save_rebuild_test.sh PROGRAM UIDRIVER LVHOST WORK
set -o pipefail
source "$(dirname "$0")/../../../scripts/ui-lib.sh"
program_folder "$@" zav_lvhost.exe

# Other types, as the program writes them, for other column layouts.
types=30000
mkdir -p ExportOptions
for ((i = 0; i < types; i++)); do
    printf '[FileInfo]\r\nType=ExportOption\r\nVersion=0.1.3\r\nEncoding=Escaped\r\n[General]\r\nName=Other %d\r\nFile=c:\\o.html\r\nColumns=Other_%d\r\n' \
        "$i" $((i % 50)) > "ExportOptions/Other $i.ini"
done

printf 'title\tSmall list\ncolumn\t80\tA\ncolumn\t80\tB\nrow\ta1\tb1\nrow\ta2\tb2\n' > small.txt
check "the host is up" lv_host small "Small list"
start_program
out="Exports/Small list.html"

check "Print Grid opens the dialog" print_grid
# OK, and Cancel (Stop once the progress shows) in the same stroke: the dialog takes the second
# click while the rebuild runs, however fast this machine reads the type files. The inspector
# records the progress text as it changes, asking the dialog itself: each answer is one more
# sign that the dialog takes its messages meanwhile.
ok_at=$(D button "$T" OK)
cancel_at=$(D button "$T" Cancel)
# (Not through D: its pipe would hold the lines back until the end.)
wine "$ZAV_DRIVER" watch "$T" $kLblExport ZAVExport 180 > progress.log &
watcher=$!
for _ in $(seq 1 100); do [ -s progress.log ] && break; sleep 0.1; done
if integers 2 $ok_at && integers 2 $cancel_at; then
    # shellcheck disable=SC2086
    xdotool mousemove $ok_at sleep 0.3 click 1 mousemove $cancel_at click 1
else
    echo "FAILED: the buttons [OK] and [Cancel] of [$T] are not there to be clicked"
    failures=$((failures + 1))
fi
D wait ZAVExport 120 >/dev/null
wait $watcher
counts=$(tr -d '\r' < progress.log | sed -n 's/^export type \([0-9]*\) of .*/\1/p')
first=$(head -n 1 <<< "$counts")
last=$(tail -n 1 <<< "$counts")
check "the rebuild after the save shows its progress" test -n "$first"
check "over every type file, the new one too" \
    same "$(tr -d '\r' < progress.log | grep -c "^export type [0-9]* of $((types + 1))\$")" "$(grep -c . <<< "$counts")"
check "it moves on while the dialog answers ($first, then $last)" test "${last:-0}" -gt "${first:-0}"
check "a stop during the rebuild says that the export was stopped, the dialog stays open" \
    eval 'box_says "The export was stopped. The output file was left as it was before." && same "$(D count "$T")" 1'
check "the type is saved" test -f "ExportOptions/Small list.ini"
check "and listed in the catalog, which was written whole" \
    same "$(tr -d '\r' < catalog.ini | grep -c '^1=Small list$')" 1
check "with every other type" same "$(tr -d '\r' < catalog.ini | grep -c '^[0-9]*=Other ')" "$types"
check "no output file was written" test ! -e "$out" -a ! -e "$out.tmp"

check "a second OK runs to its end and closes the dialog" ok_closes 180
check "the file holds the rows" same "$(grep -c '^<tr>' "$out")" 3
check "the type is listed once" same "$(tr -d '\r' < catalog.ini | grep -c '=Small list$')" 1

close_program $pid
finish
