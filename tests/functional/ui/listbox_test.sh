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

check "the menu opens over the list box, Print Grid opens the dialog" print_grid
check "the dialog names the kind" same "$(D utext "$T" $kLblCompatibleTypes)" "Compatible Export Types (list box)"
check "the type is named after the host's window" same "$(D utext "$T" $kTxtExportType)" "ZavListBoxHost"
check "OK closes the dialog" ok_closes

html="Exports/ZavListBoxHost.html"
long="<$(python3 -c 'print("\u00e9" * 9998, end="")')>"
expected="Item"$'\n'"alpha"$'\n'"grüße 中文 😀"$'\n\n'"${long}"$'\n'"omega"
check "the HTML holds exactly the host's lines" same "$(html_rows "$html")" "$expected"


# The combo box (a drop-down list): a kind of its own, its lines under "Item".
at ZavListBoxHost 2
check "the menu opens over the combo box, Print Grid opens the dialog for it" print_grid
check "the dialog names the combo box" same "$(D utext "$T" $kLblCompatibleTypes)" "Compatible Export Types (combo box)"
check "no list box type is offered for it" same "$(D utext "$T" $kCmbExportTypes)" ""
set_box "$T" $kTxtExportType "ZavCombo"
output=$(D utext "$T" $kTxtOutput)
combo="Exports/${output##*\\}"
check "OK closes the dialog" ok_closes
check "the combo box's file holds its lines ($combo)" same "$(html_rows "$combo")" "Item"$'\n'"été Ж"$'\n'"second"

# The owner-drawn list box that keeps no strings is refused, not exported as empty lines.
at ZavListBoxHost 3
check "the menu opens over the owner-drawn list box, Print Grid opens the dialog for it" print_grid
check "a box refuses it, saying why" box_says \
    "This list box cannot be exported. The list draws its lines itself and keeps no texts (owner-drawn without strings), so there is nothing to export from it."
check "its dialog closes" cancel_dialog
check "no file is written for it" same "$(ls Exports | grep -cv '^ZavListBoxHost.html$\|^ZavCombo.html$')" 0

# A host that stops answering once the dialog is open: OK is refused with a message, and the
# previous file stays as it was.
at ZavListBoxHost 1
check "the menu opens over the list box again, Print Grid opens the dialog again" print_grid
check "the saved type is offered" same "$(D utext "$T" $kTxtExportType)" "ZavListBoxHost"
D hang "ZavListBoxHost"
sleep 0.5
refused "a host that stopped answering" "$html" "*The list box's program stopped answering.*" 60

close_program $pid
finish
