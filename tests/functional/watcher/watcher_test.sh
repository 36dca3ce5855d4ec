#!/usr/bin/env bash
# The right button with a real mouse against a host whose list view opens its own menu on the
# release (MODE rclick: NM_RCLICK; contextmenu: WM_CONTEXTMENU) and logs what it sees: only our
# menu appears, the host sees no click and runs no command, Shift passes the click to the host,
# a click away and Escape close our menu, and after every dialog use one press opens it again.
#   watcher_test.sh MODE PROGRAM UIDRIVER LVHOST WORK
mode=$1
set -o pipefail
source "$(dirname "$0")/../../../scripts/ui-lib.sh"
program_folder "$2" "$3" "$4" "$5" zav_lvhost.exe
log="$prog/host.log"
: > "$log"   # before the host starts: nothing writes to it yet
check "the host is up" menu_host "$mode"
start_program

# Visible popup menus, after the mouse has settled.
menus() { sleep 0.7; D menus; }
# One right click at the usual point; true when exactly one menu is open afterwards. It may come
# late (a program on this display waits up to 2 s whenever it takes down a window), never twice.
one_press_opens_menu() {
    right_click 50 40
    for _ in $(seq 1 10); do [ "$(D menus)" = 1 ] && break; sleep 0.5; done
    same "$(menus)" 1
}
# The menu opens at the press: "Print Grid" lies just below it.
click_print_grid() {
    xdotool mousemove $((left + 75)) $((top + 52)); sleep 0.4; xdotool click 1
    D wait "$T" 30 >/dev/null
}
escape() { xdotool key Escape; }

# Our menu alone, on the press; the host sees neither the press nor the release.
xdotool mousemove $((left + 50)) $((top + 40)); sleep 0.3; xdotool mousedown 3
check "the menu opens on the press" same "$(menus)" 1
xdotool mouseup 3
check "after the release it is still the one menu" same "$(menus)" 1
sleep 1
check "the host saw no click and opened no menu" same "$(host_saw)" ""

escape
check "Escape closes it" same "$(menus)" 0
check "Escape was not the host's" same "$(host_saw)" ""

check "a single press opens it again" one_press_opens_menu
xdotool mousemove $((left + 300)) $((top + 200)); sleep 0.3; xdotool click 1
check "a left click elsewhere on the list closes it" same "$(menus)" 0
check "that click reached the host, which ran nothing" same "$(host_saw)" ""

check "and again" one_press_opens_menu
xdotool mousemove 300 700; sleep 0.3; xdotool click 1
check "a click on the bare screen closes it" same "$(menus)" 0

check "and again" one_press_opens_menu
right_click 250 120
check "a right press on the list while it is open gives one menu, at the new place" same "$(menus)" 1
check "the host saw neither press" same "$(host_saw)" ""
escape
check "Escape closes that one" same "$(menus)" 0

# Shift passes the click through: the host's own menu, and nothing of ours.
xdotool mousemove $((left + 50)) $((top + 40)); sleep 0.3
xdotool keydown shift; sleep 0.2; xdotool mousedown 3; sleep 0.4; xdotool mouseup 3; sleep 0.2; xdotool keyup shift
check "Shift and a right click open one menu" same "$(menus)" 1
check "it is the host's" host_menu_opened
escape
check "Escape closes the host's menu without a command" same "$(menus)/$(host_saw)" "0/closed"

# Print Grid opens the export dialog and nothing of the host's.
check "a single press opens our menu" one_press_opens_menu
click_print_grid
check "Print Grid opens the export dialog" same "$(D count "$T")" 1
check "the host ran no command" same "$(host_saw)" ""
check "its columns are the host's" same "$(D items "$T" $kLvColumns | tr '\n' ,)" "File,Kind,"

# While a modal box of ours is open no menu of ours opens: the click is the host's.
click_button "$T" Cancel
check "Cancel asks" same "$(D message ZAVExport)" "Cancel?"
# (The dialog opens centred on the screen and may cover the list's corner: a point further in.)
right_click 400 250
check "a right click under the question opens one menu" same "$(menus)" 1
check "the host's" host_menu_opened
escape
check "which Escape closes" same "$(menus)/$(host_saw)" "0/closed"
click_button ZAVExport "&No"; sleep 0.5
check "No keeps the dialog" same "$(D count "$T")" 1
check "after No, a single press opens the menu" one_press_opens_menu
escape; sleep 0.3

# The add-rule dialog, opened and closed, then the export with OK.
check "Add opens the add dialog" add_dialog
check "with the add dialog open, a single press opens the menu" one_press_opens_menu
escape; sleep 0.3
click_button "$A" Cancel
check "the add dialog closes" D gone "$A" 10
check "after the add dialog, a single press opens the menu" one_press_opens_menu
escape; sleep 0.3
check "OK closes the export dialog" ok_closes
check "the HTML file is written" test -f "Exports/Menu host.html"
check "after OK, a single press opens the menu" one_press_opens_menu

# Cancel with Yes, then once more.
click_print_grid
check "a second dialog opens" same "$(D count "$T")" 1
check "Cancel and Yes close it" cancel_dialog
check "after Cancel and Yes, a single press opens the menu" one_press_opens_menu
# A click on one of our own windows closes it too: the dialog that was just opened.
check "Print Grid opens a third dialog" click_print_grid
read -r dl dt _ _ < <(D rect "$T" $kTabOptions)
check "with a dialog open, a single press opens the menu" one_press_opens_menu
xdotool mousemove $((dl + 200)) $((dt + 8)); sleep 0.3; xdotool click 1
check "a click on our dialog closes it" same "$(menus)" 0
check "Cancel and Yes close that one" cancel_dialog

check "the host never saw a click of ours nor ran a command" same "$(host_saw)" ""

# The watcher closed from outside ends the program.
close_program $pid
# Without the watcher, the host has the right click to itself again.
right_click 50 40
check "with the program gone, a right click opens one menu" same "$(menus)" 1
check "the host's" host_menu_opened
escape; sleep 0.5
finish
