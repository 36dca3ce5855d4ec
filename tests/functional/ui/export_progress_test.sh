#!/usr/bin/env bash
# Long and endless exports with a real mouse: progress, a repaint after being covered, Stop keeps
# the previous file byte for byte and the dialog open, a second export runs to its end. A list view
# that claims 2^31-1 rows and 100000 columns: the dialog comes within seconds, Stop, the end of the
# session stops the export too, WM_CLOSE still ends the program, and Exit during an export asks.
#   export_progress_test.sh PROGRAM UIDRIVER LVHOST WORK
set -o pipefail
source "$(dirname "$0")/../../../scripts/ui-lib.sh"
program_folder "$@" zav_lvhost.exe

# A list read slowly (each cell 2 ms late): an export takes at least 20 s on any machine, long enough
# to be watched and stopped, short enough to be run to its end.
rows=2000
printf 'title\tBig list\nownerdata\npace\t2\ncolumn\t80\tA\ncolumn\t80\tB\ncolumn\t80\tC\ncolumn\t80\tD\ncolumn\t80\tE\ngenerate\t%s\t5\n' \
    "$rows" > big.txt
check "the host is up" lv_host big "Big list"
start_program
out="Exports/Big list.html"
printf 'the previous export\r\n' > "$out"
cp "$out" previous.html

check "Print Grid opens the dialog" print_grid
check "a long export shows its progress, out of every row, moving on" long_export $rows
check "the Cancel button is now Stop" quiet D button "$T" Stop

# Covered by another window and uncovered again, the dialog paints itself anew.
read -r dl dt dr db < <(D rect "$T" 0)
check "the dialog's place is known" integers 4 "$dl" "$dt" "$dr" "$db"
area_of_dialog() { import -window root -crop "$((dr - dl))x$((db - dt))+$dl+$dt" +repage "$1" 2>/dev/null; }
# red_permille IMAGE: how many of a thousand pixels are the cover's red.
red_permille() {
    convert "$1" -fuzz 15% -fill black +opaque red -fill white -opaque red -colorspace gray \
        -format '%[fx:int(mean*1000)]' info: 2>/dev/null
}
area_of_dialog before.png
# The cover is red through and through (its text and button too); it is only a test of the repaint
# once the dialog's area has been seen red, so the test waits for that before taking it away.
xmessage -geometry "$((dr - dl))x$((db - dt))+$dl+$dt" -bg red -fg red "covering" &
coverpid=$!
covered=0
for _ in $(seq 1 30); do
    sleep 0.2
    area_of_dialog covered.png
    covered=$(red_permille covered.png)
    [ "${covered:-0}" -ge 750 ] && break
done
check "the cover hid the dialog ($covered of 1000 pixels red)" test "${covered:-0}" -ge 750
kill $coverpid 2>/dev/null
wait $coverpid 2>/dev/null
sleep 1
area_of_dialog after.png
differing=$(compare -metric AE -fuzz 15% before.png after.png null: 2>&1 | cut -d' ' -f1)
area=$(((dr - dl) * (db - dt)))
# The bar and the row number change meanwhile; a dialog that did not repaint stays red.
check "the dialog repainted after being covered ($differing of $area pixels differ)" test "${differing%.*}" -lt $((area / 20))
check "and no red is left ($(red_permille after.png) of 1000 pixels)" test "$(red_permille after.png)" -lt 20

check "Stop says that the export was stopped, and the dialog stays open" stop_export
check "the previous file is left byte for byte, no temporary file" left_as "$out" previous.html
check "the button is Cancel again" quiet D button "$T" Cancel

check "a second export runs to its end and closes the dialog" ok_closes 180
check "the file holds every row" same "$(grep -c '^<tr>' "$out")" "$((rows + 1))"
check "down to the last cell" same "$(tr -d '\r' < "$out" | tail -n 3 | head -n 1)" \
    "<tr><td >R${rows}C1</td><td >R${rows}C2</td><td >R${rows}C3</td><td >R${rows}C4</td><td >R${rows}C5</td></tr>"

# A list view that claims more than it has.
printf 'title\tLiar\ncolumn\t80\tA\ncolumn\t80\tB\nrow\tx\ty\nitemcount\t2147483647\nheadercount\t100000\n' > liar.txt
check "the lying host is up" lv_host liar "Liar"
open_menu 0.5
started=$(date +%s)
check "Print Grid opens a dialog for it" choose_print_grid
check "within seconds ($(($(date +%s) - started)) s)" test $(($(date +%s) - started)) -le 15
check "with the columns that answer" same "$(D items "$T" $kLvColumns | tr '\n' ,)" "A,B,"
check "the endless export shows how far it got, out of what the list view claims" long_export 2147483647
check "it can be stopped, the dialog staying open" stop_export
check "nothing was written for it" test ! -e Exports/Liar.html -a ! -e Exports/Liar.html.tmp

# The session ends while an export runs (a logoff): the export stops as Stop does, without a box
# and at once, and the previous file stays.
printf 'the previous export of the liar\r\n' > Exports/Liar.html
cp Exports/Liar.html previous-liar.html
check "an export runs again" long_export 2147483647
started=$(date +%s)
check "the end of the session is agreed to" same "$(D endsession "ZAV Menu Hook")" 1
check "within seconds ($(($(date +%s) - started)) s)" test $(($(date +%s) - started)) -le 10
check "the export stopped: the previous file is left byte for byte, no temporary file" left_as Exports/Liar.html previous-liar.html
check "no box holds up the end of the session" same "$(sleep 1; D count ZAVExport)" 0
check "the dialog shows no progress any more" same "$(D visible "$T" $kLblExport)" 0

# The program stays resident and still ends when its window is closed.
close_program $pid

# Exit from the icon's menu while an export runs: it asks first, and Yes stops the export as Stop
# does, closes the dialog and ends the program with code 0.
start_program
check "after a new start, Print Grid opens the dialog" print_grid
check "an export runs once more" long_export 2147483647
check "the icon's menu opens" tray_menu last
check "Exit asks first" quiet D wait ZAVExport 20
check "saying what becomes of the export and of the dialog" same "$(D message ZAVExport)" \
    "An export is running. It will be stopped; the previous file stays as it was."$'\n'"The open export dialog will be closed: its unsaved edits are lost."$'\n\n'"Exit ZAVExport?"
click_button ZAVExport "&Yes"
program_ends "$pid" "Yes ends the program with code 0" "Exit did not end the program"
check "the previous file is still left byte for byte, no temporary file" left_as Exports/Liar.html previous-liar.html
finish
