#!/usr/bin/env bash
# The whole road with a real mouse, inside the session of scripts/wine-env.sh: the resident program
# in a fresh folder, a list-view host in a second process, right presses through xdotool, the popup
# menu, the export options and add-rule dialogs, OK, a second right-click, a rename, Cancel with No
# and with Yes, and the program's end. Screenshots go to WORK/screens.
#   ui_test.sh PROGRAM UIDRIVER LVHOST WORK
set -u
exe=$1
driver=$2
host=$3
work=$4
# shellcheck source=../../../scripts/ui-lib.sh
source "$(dirname "$0")/../../../scripts/ui-lib.sh"
T=$ZAV_DIALOG

rm -rf "$work"
mkdir -p "$work/prog" "$work/screens"
prog="$work/prog"
shots="$work/screens"
name=$(basename "$exe")
cp "$exe" "$prog/$name"
cp "$driver" "$prog/zav_uidriver.exe"
ZAV_DRIVER="$prog/zav_uidriver.exe"
cp "$host" "$prog/zav_lvhost.exe"
cd "$prog"

printf 'title\tReport host\ncolumn\t100\tName\ncolumn\t80\tSize\nrow\ta1\t10\nrow\ta<2>\t2,5\n' > host.txt
wine zav_lvhost.exe host.txt host.info &
hostpid=$!
wine "$name" &
pid=$!
check "the host is up" D wait "Report host" 60 >/dev/null
check "the program is resident" D wait "ZAV Menu Hook" 60 >/dev/null
check "first run made its files" test -f settings.ini -a -f catalog.ini -a -d Exports -a -d ExportOptions
read -r _ _ left top _ _ _ < host.info
folder=$(tr -d '\r' < settings.ini | sed -n 's/^OutputFolder=//p')

# A press on the header (another class) shows no menu.
xdotool mousemove $((left + 30)) $((top + 8)); sleep 0.3; xdotool mousedown 3; sleep 0.8
check "no menu over the header" same "$(D menus)" 0
xdotool mouseup 3; sleep 0.3

# A held press over the list opens one menu, at once, however long it is held.
open_menu 2
sleep 1
check "one menu while the button is held" same "$(D menus)" 1
shot menu
check "Print Grid opens the dialog; a right click on it shows no menu" choose_print_grid
sleep 0.5
check "a new type is named after the host" same "$(D text "$T" 1004)" "Report host"
check "its output file" same "$(D text "$T" 1005)" "${folder}Report host.html"
check "the columns of the list view" same "$(D items "$T" 1007 | tr '\n' ,)" "Name,Size,"
shot options-tab
read -r tl tt _ _ < <(D rect "$T" 1001)
xdotool mousemove $((tl + 75)) $((tt + 10)); sleep 0.3; xdotool click 1; sleep 0.5
shot format-tab
check "the Format tab shows the page header" same "$(D text "$T" 1011)" "<HTML>"
xdotool mousemove $((tl + 25)) $((tt + 10)); sleep 0.3; xdotool click 1; sleep 0.5

# A rule for column Name through the add dialog.
read -r cl ct _ _ < <(D rect "$T" 1007)
xdotool mousemove $((cl + 20)) $((ct + 28)); sleep 0.3; xdotool click 1; sleep 0.5
click_button "$T" Add
A="LV Export Options Add Replace"
check "Add opens the add dialog" D wait "$A" 20 >/dev/null
xdotool mousemove $(D center "$A" 2001); sleep 0.3; xdotool click 1; sleep 0.3; xdotool type --delay 50 "a1"
xdotool mousemove $(D center "$A" 2002); sleep 0.3; xdotool click 1; sleep 0.3; xdotool type --delay 50 "A&one"
shot add-dialog
click_button "$A" OK
check "OK closes the add dialog" D gone "$A" 10
sleep 0.5
check "the rule is listed" same "$(D items "$T" 1008)" "a1 | A&one"

click_button "$T" OK
check "OK closes the dialog without asking" D gone "$T" 20
check "the type file" test -f "ExportOptions/Report host.ini"
check "the type's rule is saved" grep -q '^a1=A&one' "ExportOptions/Report host.ini"
check "the catalog lists it" same "$(tr -d '\r' < catalog.ini | sed -n '/^\[Name_Size\]/,$p' | tr '\n' ' ')" \
    "[Name_Size] Count=1 1=Report host "
expected=$'<HTML>\n<table >\n<tr><td >Name</td><td >Size</td></tr>\n<tr><td >A&one</td><td >10</td></tr>\n<tr><td >a&lt;2&gt;</td><td >2,5</td></tr>\n</table>\n</HTML>'
check "the HTML table, exactly" same "$(tr -d '\r' < "Exports/Report host.html")" "$expected"

# The second right-click offers the saved type; a new name saves a new type.
check "the menu opens again" open_menu 0.5
check "a second dialog opens" choose_print_grid
sleep 0.5
shot second-dialog
check "it offers the saved type" same "$(D text "$T" 1002)" "Report host"
check "with its rule" same "$(D items "$T" 1007 | head -n 1)" "Name"
xdotool mousemove $(D center "$T" 1004); sleep 0.3; xdotool click 1; sleep 0.3
xdotool key End shift+Home; sleep 0.2; xdotool type --delay 50 "Report2"; sleep 0.3
check "renaming derives the output file" same "$(D text "$T" 1005)" "${folder}Report2.html"
click_button "$T" OK
check "OK closes the renamed dialog" D gone "$T" 20
check "the new name has its own file" test -f ExportOptions/Report2.ini -a -f Exports/Report2.html
check "the loaded type's file stays" grep -q '^Name=Report host' "ExportOptions/Report host.ini"

# Cancel asks; No keeps the dialog, Yes closes it and nothing is written.
before=$(ls -R | md5sum)
check "and again" open_menu 0.5
check "a third dialog opens" choose_print_grid
sleep 0.5
click_button "$T" Cancel; sleep 1
check "Cancel asks" same "$(D message ZAVExport)" "Cancel?"
click_button ZAVExport "&No"; sleep 1
check "No keeps the dialog" same "$(D count "$T")" 1
click_button "$T" Cancel; sleep 1
click_button ZAVExport "&Yes"
check "Yes closes it" D gone "$T" 20
check "nothing was written" same "$(ls -R | md5sum)" "$before"

# The watcher closed from outside ends the program.
D close "ZAV Menu Hook"
if timeout 30 tail --pid=$pid -f /dev/null; then
    wait $pid
    check "closing the watcher ends the program cleanly" test $? -eq 0
else
    echo "FAILED: the program did not end"
    kill $pid 2>/dev/null
    failures=$((failures + 1))
fi
D close "Report host"
wait $hostpid 2>/dev/null

echo "screenshots: $work/screens"
finish
