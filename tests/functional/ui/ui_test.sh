#!/usr/bin/env bash
# The whole road with a real mouse under a window manager: the program file's version and icon,
# the popup menu, the export options and add-rule dialogs with mouse and keyboard (focus, Escape,
# Enter, boxes over their dialog, placement, drawing), OK and the files, a second right-click, a
# rename, Cancel with No and with Yes (nothing written), and the program's end.
#   ui_test.sh PROGRAM UIDRIVER LVHOST WORK
set -o pipefail
source "$(dirname "$0")/../../../scripts/ui-lib.sh"
program_folder "$@" zav_lvhost.exe

printf 'title\tReport host\ncolumn\t100\tName\ncolumn\t80\tSize\nrow\ta1\t10\nrow\ta<2>\t2,5\n' > host.txt
check "the host is up" lv_host host "Report host"
start_program
# What the program file tells Windows: its version (the one its files carry), its icon, and that it
# sizes its windows for the display's DPI itself.
info=$(D fileinfo "$name")
version=$(tr -d '\r' < settings.ini | sed -n 's/^Version=//p' | head -n 1)
check "the program file has its product name and the files' version" \
    same "$(printf '%s\n' "$info" | grep -E '^(product|version|file version) ')" \
    "$(printf 'product ZAVExport\nversion %s\nfile version %s' "$version" "$version")"
check "the program file has an icon" same "$(printf '%s\n' "$info" | grep '^icon ')" "icon yes"
check "the program declares itself DPI-aware" same "$(printf '%s\n' "$info" | grep '^dpiAware ')" "dpiAware true"
folder=$(tr -d '\r' < settings.ini | sed -n 's/^OutputFolder=//p')

# A press on the header (another class) shows no menu.
xdotool mousemove $((left + 30)) $((top + 8)); sleep 0.3; xdotool mousedown 3; sleep 0.8
check "no menu over the header" same "$(D menus)" 0
xdotool mouseup 3; sleep 0.3

# A held press over the list opens one menu, at once, however long it is held.
open_menu 2
sleep 1
check "one menu while the button is held" same "$(D menus)" 1
check "Print Grid opens the dialog; a right click on it shows no menu" choose_print_grid
sleep 0.5
check "a new type is named after the host" same "$(D text "$T" $kTxtExportType)" "Report host"
check "its output file" same "$(D text "$T" $kTxtOutput)" "${folder}Report host.html"
check "the columns of the list view" same "$(D items "$T" $kLvColumns | tr '\n' ,)" "Name,Size,"
read -r sw sh < <(xdotool getdisplaygeometry)
read -r wl wt wr wb < <(D rect "$T" 0)
check "the dialog opens centred on the screen, not at its corner" \
    eval 'integers 6 "$wl" "$wt" "$wr" "$wb" "$sw" "$sh" &&
          near $(((wl + wr) / 2)) $((sw / 2)) 40 && near $(((wt + wb) / 2)) $((sh / 2)) 60'
check "its frame shows the program's icon" has_program_icon "$T"
check "the type list has the focus" same "$(D focus "$T")" $kCmbExportTypes
tab 75
check "the Format tab shows the page header" same "$(D text "$T" $kTxtHTMLHeader)" "<HTML>"
# The label "HTML Header" (4,24 in the tab, 179 wide, its text much shorter) on the page's colour.
check "a label has the page's colour behind it" \
    same_colour "$(pixel $((tl + 178)) $((tt + 31)))" "$(pixel $((tl + 200)) $((tt + 31)))"
# The tab control repainted alone leaves the page's controls in sight (their borders stay).
D redraw "$T" $kTabOptions; sleep 0.5
read -r el et _ eb < <(D rect "$T" $kTxtTableFormat)
check "repainting the tab control keeps a box's border" seen_on_white $(pixel "$el" $(((et + eb) / 2)))
read -r _ ht hr _ < <(D rect "$T" $kTxtHTMLHeader)
check "and the arrow of a multi-line box's scroll bar" test "$(darkest $((hr - 13)) $((ht + 4)) 9 6)" -le 120
# Escape does nothing: not in a multi-line box, not in a one-line box.
click_control "$T" $kTxtHTMLHeader; xdotool key End; sleep 0.2; xdotool key Escape; sleep 1
check "Escape in the HTML Header box asks nothing" same "$(D count ZAVExport)" 0
click_control "$T" $kTxtTableFormat; xdotool key Escape; sleep 1
check "nor in the Table Format box" same "$(D count ZAVExport)" 0
check "and the dialog stays" same "$(D count "$T")" 1
check "the header is unchanged" same "$(D text "$T" $kTxtHTMLHeader)" "<HTML>"
tab 25
D redraw "$T" $kTabOptions; sleep 0.5
read -r ll lt _ lb < <(D rect "$T" $kLvColumns)
check "repainting the tab control keeps a list's border" seen_on_white $(pixel "$ll" $(((lt + lb) / 2)))

# Help: a box over the dialog, which waits for it; then the focus is where it was.
click_button "$T" Help; D wait ZAVExport 10 >/dev/null
check "Help shows its message" same "$(D message ZAVExport)" "See the readme.txt in the program directory for help."
check "the message box belongs to the dialog" same "$(D owner ZAVExport)" "$T"
check "the dialog waits for the box" same "$(D enabled "$T")" 0
click_button ZAVExport OK; sleep 1
check "after the box the focus is on Help again" same "$(D focus "$T")" $kCmdHelp
xdotool key Tab; sleep 0.3
check "and Tab goes on from there" same "$(D focus "$T")" $kCmdOK
# OK has the focus, but no button is the default one: Enter does not press it.
xdotool key Return; sleep 1
check "Enter does not press the focused OK" same "$(D count "$T")/$(D count ZAVExport)" "1/0"
check "and writes nothing" test ! -e "ExportOptions/Report host.ini"

# A rule for column Name through the add dialog.
check "Add opens the add dialog" add_dialog
check "it does not cover the options dialog" apart $(D rect "$A" 0) $(D rect "$T" 0)
check "its frame shows the program's icon" has_program_icon "$A"
# The selected row of the column list, now without the focus, is still plainly marked.
check "the unfocused list's selected row is seen" seen_on_white $(pixel $((cl + 80)) $((ct + 28)))
# OK with nothing to replace: the box belongs to the add dialog; the focus comes back to OK.
click_button "$A" OK; D wait ZAVExport 10 >/dev/null
check "an empty rule is refused" same "$(D message ZAVExport)" "You must enter what you want to replace!"
check "by a box over the add dialog" same "$(D owner ZAVExport)" "$A"
check "which waits for it" same "$(D enabled "$A")" 0
click_button ZAVExport OK; sleep 1
check "after the box the focus is on the add dialog's OK" same "$(D focus "$A")" $kAddCmdOK
xdotool mousemove $(D center "$A" $kAddTxtReplace); sleep 0.3; xdotool click 1; sleep 0.3; xdotool type --delay 50 "a1"
# The options dialog comes forward; a second Add brings the add dialog back over it, its text kept,
# the typing in its Replace box.
xdotool mousemove $((cl + 20)) $((ct + 28)); sleep 0.3; xdotool click 1; sleep 0.5
check "a click on the options dialog makes it the active window" comes_forward "$T"
click_button "$T" Add; sleep 0.8
check "a second Add makes the add dialog the active window" comes_forward "$A"
check "above the options dialog" D above "$A" "$T"
check "still one add dialog" same "$(D count "$A")" 1
check "with the focus in its Replace box" same "$(D focus "$A")" $kAddTxtReplace
xdotool type --delay 50 "b"; sleep 0.3
check "typing goes into the Replace box, after what was there" same "$(D text "$A" $kAddTxtReplace)" "a1b"
xdotool key BackSpace Tab; sleep 0.3
check "Tab leads to the With box" same "$(D focus "$A")" $kAddTxtWith
xdotool type --delay 50 "A&one"
xdotool key Escape; sleep 0.8
check "Escape does not close the add dialog" same "$(D count "$A")" 1
xdotool key Tab Return; sleep 0.8
check "Enter on its focused OK does nothing" same "$(D focus "$A")/$(D items "$T" $kLvReplaces)" "$kAddCmdOK/"
click_button "$A" OK
check "OK closes the add dialog" D gone "$A" 10
sleep 0.5
check "the rule is listed" same "$(D items "$T" $kLvReplaces)" "a1 | A&one"
check "the options dialog is active again" comes_forward "$T"
check "with the focus on Add, as before" same "$(D focus "$T")" $kCmdAddReplace

check "OK closes the dialog without asking" ok_closes
check "the type file saves the type's rule" grep -q '^a1=A&one' "ExportOptions/Report host.ini"
check "the catalog lists it" same "$(tr -d '\r' < catalog.ini | sed -n '/^\[Name_Size\]/,$p' | tr '\n' ' ')" \
    "[Name_Size] Count=1 1=Report host "
expected=$'<HTML>\n<table >\n<tr><td >Name</td><td >Size</td></tr>\n<tr><td >A&one</td><td >10</td></tr>\n<tr><td >a&lt;2&gt;</td><td >2,5</td></tr>\n</table>\n</HTML>'
check "the HTML table, exactly" same "$(tr -d '\r' < "Exports/Report host.html")" "$expected"

# The second right-click offers the saved type; a new name saves a new type.
check "the menu opens again on a second dialog" print_grid
check "it offers the saved type" same "$(D text "$T" $kCmbExportTypes)" "Report host"
check "with its rule" same "$(D items "$T" $kLvColumns | head -n 1)" "Name"
click_control "$T" $kTxtExportType
# A slash is refused when Tab leaves the name box; the box's OK gives the focus back to it.
xdotool key End shift+Home; sleep 0.2; xdotool type --delay 50 "Rep/x"; sleep 0.3; xdotool key Tab; D wait ZAVExport 10 >/dev/null
check "Tab out of a name with a slash is refused" same "$(D message ZAVExport)" "Export Type cannot contain a slash!"
check "by a box over the dialog" same "$(D owner ZAVExport)" "$T"
click_button ZAVExport OK; sleep 1
check "then the name box has the focus again" same "$(D focus "$T")" $kTxtExportType
xdotool key End shift+Home; sleep 0.2; xdotool type --delay 50 "Report2"; sleep 0.3
check "renaming derives the output file" same "$(D text "$T" $kTxtOutput)" "${folder}Report2.html"
xdotool key Tab; sleep 0.5
check "a good name lets Tab go on" same "$(D count ZAVExport)/$(D focus "$T")" "0/$kTxtOutput"
check "OK closes the renamed dialog" ok_closes
check "the new name has its own file" test -f ExportOptions/Report2.ini -a -f Exports/Report2.html
check "the loaded type's file stays" grep -q '^Name=Report host' "ExportOptions/Report host.ini"

# Cancel asks; No keeps the dialog, Yes closes it and nothing is written: no file is made, removed
# or rewritten (a rewrite with the same bytes still changes the file's time), the catalog and the
# HTML files least of all.
before=$(folder_state)
check "and again, on a third dialog" print_grid
click_button "$T" Cancel; D wait ZAVExport 10 >/dev/null
check "Cancel asks" same "$(D message ZAVExport)" "Cancel?"
check "over the dialog" same "$(D owner ZAVExport)" "$T"
click_button ZAVExport "&No"; sleep 1
check "No keeps the dialog" same "$(D count "$T")" 1
check "with the focus on Cancel again" same "$(D focus "$T")" $kCmdCancel
check "Yes closes it" cancel_dialog
check "nothing was written, the catalog and the HTML files included" same_state "$(folder_state)" "$before"

close_program $pid
finish
