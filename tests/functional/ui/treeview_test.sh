#!/usr/bin/env bash
# A tree view of another program with a real mouse: the host's nested tree (collapsed branch,
# Unicode, empty, 10,000 characters) exported exactly with levels and paths; 3,000 items read
# slowly: progress, Stop keeps the previous file, a second export writes all; then the key tree of
# Wine's Registry Editor (which the 32-bit program refuses: a 64-bit program's tree).
#   treeview_test.sh PROGRAM UIDRIVER CTLHOST WORK
set -o pipefail
source "$(dirname "$0")/../../../scripts/ui-lib.sh"
program_folder "$@" zav_ctlhost.exe

check "the host is up" ctl_host ZavTreeHost
start_program

check "the menu opens over the tree, Print Grid opens the dialog" print_grid
check "the dialog names the kind" same "$(D utext "$T" $kLblCompatibleTypes)" "Compatible Export Types (tree view)"
check "the type is named after the host's window" same "$(D utext "$T" $kTxtExportType)" "ZavTreeHost"
check "OK closes the dialog" ok_closes 60

html="Exports/ZavTreeHost.html"
long="<$(python3 -c 'print("\u00e9" * 9998, end="")')>"
u="grüße 中文 😀"
d="delta ЖΩ"
expected="Item|Level|Path
alpha|1|alpha
beta|2|alpha\\beta
gamma|3|alpha\\beta\\gamma
$d|2|alpha\\$d
epsilon|3|alpha\\$d\\epsilon
|3|alpha\\$d\\
$u|1|$u
$long|2|$u\\$long
omega|1|omega"
check "the HTML holds exactly the host's items, levels and paths" same "$(html_rows "$html")" "$expected"

# -- 3,000 items, each read 5 ms late (an export of at least 15 s): progress, Stop keeps the
# previous file, and the next export runs to the end
cp "$html" previous.html
check "the big tree is up" ctl_host ZavTreeHost big 3000 5
check "the menu opens over the big tree, Print Grid opens the dialog for it" print_grid
check "a long export shows its progress, out of every item, moving on" long_export 3000
check "Stop says that the export was stopped, the dialog stays" stop_export
check "the previous file is left byte for byte, no temporary file" left_as "$html" previous.html
check "a second export runs to its end" ok_closes 300
check "the file holds every item" same "$(grep -c '^<tr>' "$html")" 3001
check "down to the last one" same "$(html_rows "$html" | tail -n 1)" 'r3.c999|2|r3\r3.c999'
D close "ZavTreeHost"
wait $hostpid 2>/dev/null

# -- Wine's Registry Editor: its key tree as it holds it now (the keys under a hive are filled in
# only when that branch is opened). A fresh start without the host's type, which as a type of the
# same kind and columns would be offered first.
close_program $pid
rm -rf ExportOptions catalog.ini
start_program
wine regedit &
regpid=$!
R="Registry Editor"
check "the Registry Editor is up" quiet D wait "$R" 60
sleep 1
read -r left top right bottom < <(D classrect "$R" SysTreeView32)
check "it has a tree" integers 4 "$left" "$top" "$right" "$bottom"
check "the menu opens over its tree, Print Grid opens the dialog for it" print_grid
# Its tree's nearest titled parent is its inner window, not the frame.
check "the type is named after the tree's nearest titled parent" same "$(D utext "$T" $kTxtExportType)" "regedit child window"
# Wine's Registry Editor is a 64-bit program here (the one under syswow64 too): the 32-bit program
# refuses its tree, naming the program that reads it, and writes nothing.
case "$name" in
*64.exe)
    check "OK closes the dialog" ok_closes 60
    reg="Exports/regedit child window.html"
    html_rows "$reg" > reg-rows.txt
    check "its header" same "$(head -n 1 reg-rows.txt)" "Item|Level|Path"
    # The root is the computer; the hives below it in the order the Registry Editor shows them.
    root=$(sed -n '2p' reg-rows.txt | cut -d'|' -f1)
    check "the first row is the computer, at level 1" same "$(sed -n '2p' reg-rows.txt)" "$root|1|$root"
    hives="HKEY_CLASSES_ROOT HKEY_CURRENT_USER HKEY_LOCAL_MACHINE HKEY_USERS HKEY_CURRENT_CONFIG HKEY_DYN_DATA"
    check "the hives at level 2, in order, each under the computer" \
        same "$(awk -F'|' '$2 == 2' reg-rows.txt | tr '\n' ' ')" \
        "$(for h in $hives; do printf '%s|2|%s\\%s ' "$h" "$root" "$h"; done)"
    check "no other root" same "$(awk -F'|' '$2 == 1' reg-rows.txt | wc -l)" 1
    ;;
*)
    click_button "$T" OK
    D wait ZAVExport 10 >/dev/null
    check "the 32-bit program refuses the 64-bit tree, naming the program that reads it" \
        message_has "tree view belongs to a 64-bit program"*"ZAVExport64.exe"
    click_button ZAVExport OK
    sleep 0.5
    check "nothing is written" eval '! ls Exports/"regedit child window"* >/dev/null 2>&1'
    click_button "$T" Cancel; sleep 1
    [ "$(D count ZAVExport)" = 1 ] && click_button ZAVExport "&Yes"
    check "Cancel closes the dialog" D gone "$T" 20
    ;;
esac
D close "$R"
wait $regpid 2>/dev/null

close_program $pid
finish
