#!/usr/bin/env bash
# A list box of another program with a real mouse: the dialog names the kind and the host, and OK
# writes exactly the host's lines (Unicode, empty, 10,000 characters) under "Item". The combo box
# is a kind of its own; an owner-drawn list box without strings is refused; a host that stops
# answering is refused at OK and the previous file stays.
#   listbox_test.sh PROGRAM UIDRIVER CTLHOST WORK
set -o pipefail
source "$(dirname "$0")/../../../scripts/ui-lib.sh"
program_folder "$@" zav_ctlhost.exe

check "the host is up" ctl_host ZavListBoxHost listbox
start_program

check "the menu opens over the list box" open_menu 0.5
check "Print Grid opens the dialog" choose_print_grid
sleep 0.5
check "the dialog names the kind" same "$(D utext "$T" $kLblCompatibleTypes)" "Compatible Export Types (list box)"
check "the type is named after the host's window" same "$(D utext "$T" $kTxtExportType)" "ZavListBoxHost"
click_button "$T" OK
check "OK closes the dialog" D gone "$T" 20

html="Exports/ZavListBoxHost.html"
check "the HTML file is written" test -f "$html"
long="<$(python3 -c 'print("\u00e9" * 9998, end="")')>"
expected="Item"$'\n'"alpha"$'\n'"grüße 中文 😀"$'\n\n'"${long}"$'\n'"omega"
check "the HTML holds exactly the host's lines" same "$(html_rows "$html")" "$expected"


# The combo box (a drop-down list): a kind of its own, its lines under "Item".
at ZavListBoxHost 2
check "the menu opens over the combo box" open_menu 0.5
check "Print Grid opens the dialog for it" choose_print_grid
sleep 0.5
check "the dialog names the combo box" same "$(D utext "$T" $kLblCompatibleTypes)" "Compatible Export Types (combo box)"
check "no list box type is offered for it" same "$(D utext "$T" $kCmbExportTypes)" ""
set_box "$T" $kTxtExportType "ZavCombo"
output=$(D utext "$T" $kTxtOutput)
combo="Exports/${output##*\\}"
click_button "$T" OK
check "OK closes the dialog" D gone "$T" 20
check "the combo box's file holds its lines ($combo)" same "$(html_rows "$combo")" "Item"$'\n'"été Ж"$'\n'"second"

# The owner-drawn list box that keeps no strings is refused, not exported as empty lines.
at ZavListBoxHost 3
check "the menu opens over the owner-drawn list box" open_menu 0.5
check "Print Grid opens the dialog for it" choose_print_grid
check "a box refuses it" quiet D wait ZAVExport 20
check "saying why" same "$(D message ZAVExport)" \
    "This list box cannot be exported. The list draws its lines itself and keeps no texts (owner-drawn without strings), so there is nothing to export from it."
click_button ZAVExport OK
check "its dialog closes" cancel_dialog
check "no file is written for it" same "$(ls Exports | grep -cv '^ZavListBoxHost.html$\|^ZavCombo.html$')" 0

# A host that stops answering once the dialog is open: OK is refused with a message, and the
# previous file stays as it was.
cp "$html" previous.html
at ZavListBoxHost 1
check "the menu opens over the list box again" open_menu 0.5
check "Print Grid opens the dialog again, with its saved type" choose_print_grid
sleep 0.5
check "the saved type is offered" same "$(D utext "$T" $kTxtExportType)" "ZavListBoxHost"
D hang "ZavListBoxHost"
sleep 0.5
click_button "$T" OK
check "a box tells that the host stopped answering" quiet D wait ZAVExport 60
check "naming the list box's program" message_has "The list box's program stopped answering."
click_button ZAVExport OK
check "the previous file is left byte for byte" cmp -s "$html" previous.html
check "and no temporary file" test ! -e "$html.tmp"
check "the dialog closes" cancel_dialog

close_program $pid
finish
