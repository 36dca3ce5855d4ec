#!/usr/bin/env bash
# OK with many export types, through the real program with a real mouse (inside the session of
# scripts/wine-env.sh): the rebuild of the catalog that completes the save runs between the
# dialog's messages and shows its progress; a Stop asked for meanwhile takes effect once the
# catalog is written (the new type listed, no output file); a second OK exports to the end.
#   save_rebuild_test.sh PROGRAM UIDRIVER LVHOST WORK
set -u
exe=$1
driver=$2
host=$3
work=$4
# shellcheck source=../../../scripts/ui-lib.sh
source "$(dirname "$0")/../../../scripts/ui-lib.sh"
T=$ZAV_DIALOG
PROGRESS_TEXT=1020

program_folder "$work" "$exe" "$driver" "$host" zav_lvhost.exe

# Other types, as the program writes them, for other column layouts.
types=30000
mkdir -p ExportOptions
for ((i = 0; i < types; i++)); do
    printf '[FileInfo]\r\nType=ExportOption\r\nVersion=0.1.3\r\nEncoding=Escaped\r\n[General]\r\nName=Other %d\r\nFile=c:\\o.html\r\nColumns=Other_%d\r\n' \
        "$i" $((i % 50)) > "ExportOptions/Other $i.ini"
done

printf 'title\tSmall list\ncolumn\t80\tA\ncolumn\t80\tB\nrow\ta1\tb1\nrow\ta2\tb2\n' > small.txt
wine zav_lvhost.exe small.txt small.info &
hostpid=$!
wine "$name" &
pid=$!
check "the host is up" quiet D wait "Small list" 60
check "the program is resident with $types types" quiet D wait "ZAV Menu Hook" 180
for _ in $(seq 1 100); do [ -s small.info ] && break; sleep 0.1; done
read -r _ _ left top _ _ _ < small.info
out="Exports/Small list.html"

# rebuild_count: the N of "export type N of M" (empty when the rebuild shows no progress); the
# whole text read is kept in $progress.
rebuild_count() {
    progress=$(D text "$T" $PROGRESS_TEXT)
    sed -n 's/^export type \([0-9]*\) of .*/\1/p' <<< "$progress"
}

open_menu 0.5
check "Print Grid opens the dialog" choose_print_grid
click_button "$T" OK
first=""
progress=""
for _ in $(seq 1 100); do
    rebuild_count > /dev/null
    first=$(sed -n 's/^export type \([0-9]*\) of .*/\1/p' <<< "$progress")
    [ -n "$first" ] && break
    sleep 0.1
done
check "the rebuild after the save shows its progress" test -n "$first"
check "over every type file, the new one too" same "${progress#export type $first }" "of $((types + 1))"
second=$(rebuild_count)
for _ in $(seq 1 20); do
    [ -n "$second" ] && [ "$second" -gt "${first:-0}" ] && break
    sleep 0.1
    second=$(rebuild_count)
done
check "it moves on while the dialog answers ($first, then $second)" test "${second:-0}" -gt "${first:-0}"
click_button "$T" Stop
D wait ZAVExport 60 >/dev/null
check "a stop during the rebuild says that the export was stopped" \
    same "$(D message ZAVExport)" "The export was stopped. The output file was left as it was before."
click_button ZAVExport OK
sleep 0.5
check "the dialog stays open" same "$(D count "$T")" 1
check "the type is saved" test -f "ExportOptions/Small list.ini"
check "and listed in the catalog, which was written whole" \
    same "$(tr -d '\r' < catalog.ini | grep -c '^1=Small list$')" 1
check "with every other type" same "$(tr -d '\r' < catalog.ini | grep -c '^[0-9]*=Other ')" "$types"
check "no output file was written" test ! -e "$out" -a ! -e "$out.tmp"

click_button "$T" OK
check "a second OK runs to its end and closes the dialog" D gone "$T" 180
check "the file holds the rows" same "$(grep -c '^<tr>' "$out")" 3
check "the type is listed once" same "$(tr -d '\r' < catalog.ini | grep -c '=Small list$')" 1

close_program $pid
D close "Small list"
wait $hostpid 2>/dev/null
finish
