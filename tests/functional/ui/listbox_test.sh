#!/usr/bin/env bash
# A list box of another program through the real program with a real mouse, inside the session of
# scripts/wine-env.sh: a right press on the host's list box opens the menu, the dialog names the
# kind and proposes the host's title as the type name, and OK writes an HTML file holding exactly
# the host's lines (Unicode, an empty one, one of 10,000 characters) under the one column "Item".
# The combo box is its own kind with its own types; the owner-drawn list box without strings is
# refused; a host that stops answering is refused at OK and the previous file stays.
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

# open_menu presses at (left + 50, top + 40): `at_control ID` sets left and top for a press 10
# pixels into the host's control.
at_control() {
    local l t
    read -r l t _ _ < <(D rect "ZavListBoxHost" "$1")
    left=$((l - 40))
    top=$((t - 30))
}

# The combo box (a drop-down list): a kind of its own, its lines under "Item".
at_control 2
check "the menu opens over the combo box" open_menu 0.5
check "Print Grid opens the dialog for it" choose_print_grid
sleep 0.5
check "the dialog names the combo box" same "$(D utext "$T" 1027)" "Compatible Export Types (combo box)"
check "no list box type is offered for it" same "$(D utext "$T" 1002)" ""
set_box "$T" 1004 "ZavCombo"
output=$(D utext "$T" 1005)
combo="Exports/${output##*\\}"
click_button "$T" OK
check "OK closes the dialog" D gone "$T" 20
check "the combo box's file holds its lines ($combo)" same "$(html_rows "$combo")" "Item"$'\n'"été Ж"$'\n'"second"

# The owner-drawn list box that keeps no strings is refused, not exported as empty lines.
at_control 3
check "the menu opens over the owner-drawn list box" open_menu 0.5
check "Print Grid opens the dialog for it" choose_print_grid
check "a box refuses it" quiet D wait ZAVExport 20
check "saying why" same "$(D message ZAVExport)" \
    "This list box cannot be exported. The list draws its lines itself and keeps no texts (owner-drawn without strings), so there is nothing to export from it."
click_button ZAVExport OK
# Cancel asks first whether to drop the dialog.
cancel_dialog() {
    click_button "$T" Cancel
    D wait ZAVExport 20 >/dev/null && click_button ZAVExport "&Yes"
    D gone "$T" 20
}
check "its dialog closes" cancel_dialog
check "no file is written for it" same "$(ls Exports | grep -cv '^ZavListBoxHost.html$\|^ZavCombo.html$')" 0

# A host that stops answering once the dialog is open: OK is refused with a message, and the
# previous file stays as it was.
cp "$html" previous.html
at_control 1
check "the menu opens over the list box again" open_menu 0.5
check "Print Grid opens the dialog again, with its saved type" choose_print_grid
sleep 0.5
check "the saved type is offered" same "$(D utext "$T" 1004)" "ZavListBoxHost"
D hang "ZavListBoxHost"
sleep 0.5
click_button "$T" OK
check "a box tells that the host stopped answering" quiet D wait ZAVExport 60
message=$(D message ZAVExport)
check "naming the list box's program" \
    eval '[[ $message == *"The list box'"'"'s program stopped answering."* ]] || { echo "   message: [$message]"; false; }'
click_button ZAVExport OK
check "the previous file is left byte for byte" cmp -s "$html" previous.html
check "and no temporary file" test ! -e "$html.tmp"
check "the dialog closes" cancel_dialog

close_program $pid
kill $hostpid 2>/dev/null
wait $hostpid 2>/dev/null
finish
