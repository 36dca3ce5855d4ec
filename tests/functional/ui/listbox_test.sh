#!/usr/bin/env bash
# A list box of another program through the real program with a real mouse, inside the session of
# scripts/wine-env.sh: a right press on the host's list box opens the menu, the dialog names the
# kind and proposes the host's title as the type name, and OK writes an HTML file holding exactly
# the host's lines (Unicode, an empty one, one of 10,000 characters) under the one column "Item".
#   listbox_test.sh PROGRAM UIDRIVER LBHOST WORK
set -u
set -o pipefail
exe=$1
driver=$2
host=$3
work=$4
# shellcheck source=../../../scripts/ui-lib.sh
source "$(dirname "$0")/../../../scripts/ui-lib.sh"
T=$ZAV_DIALOG

program_folder "$work" "$exe" "$driver" "$host" zav_lbhost.exe

wine zav_lbhost.exe &
hostpid=$!
start_program
check "the host is up" quiet D wait "ZavListBoxHost" 60
check "the program is resident" quiet D wait "ZAV Menu Hook" 60
read -r left top _ _ < <(D rect "ZavListBoxHost" 1)

check "the menu opens over the list box" open_menu 0.5
check "Print Grid opens the dialog" choose_print_grid
sleep 0.5
check "the dialog names the kind" same "$(D utext "$T" 1027)" "Compatible Export Types (list box)"
check "the type is named after the host's window" same "$(D utext "$T" 1004)" "ZavListBoxHost"
shot listbox-dialog
click_button "$T" OK
check "OK closes the dialog" D gone "$T" 20

html="Exports/ZavListBoxHost.html"
check "the HTML file is written" test -f "$html"
long="<$(python3 -c 'print("\u00e9" * 9998, end="")')>"
expected="Item"$'\n'"alpha"$'\n'"grüße 中文 😀"$'\n\n'"${long}"$'\n'"omega"
check "the HTML holds exactly the host's lines" same "$(html_rows "$html")" "$expected"

close_program $pid
D close "ZavListBoxHost"
wait $hostpid 2>/dev/null
finish
