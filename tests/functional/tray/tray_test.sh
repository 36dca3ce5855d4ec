#!/usr/bin/env bash
# The notification-area icon with a real mouse (Wine shows it in its "Wine System Tray" window):
# its menu and Escape; Pause lets a right press through to a host that opens its own menu; a
# second start (same folder, another, the other word size when given) ends with code 0 and one
# watcher stays; Start with Windows; Settings; Exit ends with code 0 and the icon goes.
#   tray_test.sh PROGRAM UIDRIVER LVHOST WORK [OTHER-WORD-SIZE-PROGRAM]
other=${5:-}
set -o pipefail
source "$(dirname "$0")/../../../scripts/ui-lib.sh"
program_folder "$1" "$2" "$3" "$4" zav_lvhost.exe
log="$prog/host.log"
: > "$log"
trap zav_end_test EXIT
menu_host rclick || { echo "FAILED: the host did not come up and say where its list is"; failures=$((failures + 1)); finish; }

check "no icon before the program runs" wait_icon 2 gone
start_program
check "its icon appears in the notification area" wait_icon 20

check "a right click on the icon opens its menu" tray_menu
xdotool key Escape
check "Escape closes it" same "$(sleep 0.7; D menus)" 0

# Pause: the host gets the right click and opens its own menu; ours stays shut.
check "the menu opens again" tray_menu 3
right_click 50 40; sleep 1
check "paused, a right click opens the host's menu alone" same "$(D menus)" 1
check "it is the host's menu" host_menu_opened
xdotool key Escape; sleep 0.7; host_saw >/dev/null
# Unpaused, ours again and the host sees nothing.
check "the menu opens to unpause" tray_menu 3
right_click 50 40; sleep 1
check "unpaused, a right click opens our menu" same "$(D menus)" 1
check "and the host saw nothing" same "$(host_saw)" ""
xdotool key Escape; sleep 0.7

# Second copies: each ends at once with code 0, the first stays alone.
second_start() {
    (cd "$1" && timeout 60 wine "$2")
    local rc=$?
    same "$rc/$(D count "ZAV Menu Hook")" "0/1"
}
check "a second start from the same folder ends with code 0, one watcher stays" second_start "$prog" "$name"
mkdir -p "$work/other"
cp "$1" "$work/other/$name"
check "a second start from another folder ends with code 0, one watcher stays" second_start "$work/other" "$name"
check "the other folder was left alone" test ! -e "$work/other/settings.ini"
if [ -n "$other" ]; then
    cp "$other" "$work/other/"
    check "a start of the other word size ends with code 0, one watcher stays" \
        second_start "$work/other" "$(basename "$other")"
fi
check "the first copy still answers a right press" tray_menu
xdotool key Escape; sleep 0.7
# The balloons that told of the second copies stand where the menu's lower items open, and come
# one after another, each for some seconds: a click on one may close it. The test goes on once
# none has stood for three seconds, the pointer away from the icon (whose own tip would count).
xdotool mousemove 640 900
calm=0
for _ in $(seq 1 90); do
    if read -r bl bt br bb < <(D toprect tooltips_class32); then
        xdotool mousemove $(((bl + br) / 2)) $(((bt + bb) / 2)) click 1 mousemove 640 900
        calm=0
    else
        calm=$((calm + 1))
        [ $calm -ge 4 ] && break
    fi
    sleep 0.7
done
check "the balloons are gone" test -z "$(D toprect tooltips_class32)"

# Start with Windows: a shortcut to this program in the user's Startup folder, and gone again.
# (Wine keeps the target as the shell's item list, in UTF-16: strings -el reads it.)
startup_links() {
    local f n=0
    while IFS= read -r -d '' f; do
        grep -qxF "$name" < <(strings -a -el "$f") && n=$((n + 1))
    done < <(find "$WINEPREFIX/drive_c/users" -ipath '*/startup/*' -iname '*.lnk' -print0 2>/dev/null)
    echo "$n"
}
# links_become N: waits up to 20 s for N such shortcuts (the first use of the shell's shortcut
# objects loads them); prints the last count.
links_become() {
    local i n
    for i in $(seq 1 40); do
        n=$(startup_links)
        [ "$n" = "$1" ] && break
        sleep 0.5
    done
    echo "$n"
}
check "no shortcut at first" same "$(startup_links)" 0
check "the menu opens for Start with Windows" tray_menu 4
check "choosing it puts a shortcut to the program in the Startup folder" same "$(links_become 1)" 1
check "the menu opens to take it back" tray_menu 4
check "choosing it again removes the shortcut" same "$(links_become 0)" 0

# Settings: a new exports folder, two levels deep and without its final "\", is made and used at
# once; a folder that takes no files is refused with a message naming the setting, and nothing
# changes.
S="ZAVExport Settings"
winfolder=$(tr -d '\r' < settings.ini | sed -n 's/^OutputFolder=\(.*\)\\Exports\\$/\1/p')
check "the menu opens for Settings" tray_menu 2
check "Settings opens its dialog" quiet D wait "$S" 30
check "it shows the settings in use" same "$(D text "$S" $kSetTxtOutputFolder)" "$winfolder\\Exports\\"
set_box "$S" $kSetTxtOutputFolder "$winfolder\\Team Exports\\Out"
click_button "$S" OK
check "OK closes it" D gone "$S" 30
check "the new exports folder is saved, with its final separator" \
    grep -qxF "OutputFolder=$winfolder\\Team Exports\\Out\\" <<< "$(tr -d '\r' < settings.ini)"
check "and made" test -d "Team Exports/Out"
before=$(cat settings.ini)
check "the menu opens for Settings again" tray_menu 2
check "Settings opens its dialog again" quiet D wait "$S" 30
# /proc takes no new file, not even from root, who may write anywhere else.
set_box "$S" $kSetTxtOutputFolder 'Z:\proc\'
click_button "$S" OK
check "a folder that cannot be written is refused, with a message naming the setting and the folder" \
    box_says 'The setting OutputFolder cannot be used: new files cannot be written in Z:\proc.'
check "the dialog stays open" same "$(D count "$S")" 1
click_button "$S" Cancel
check "Cancel closes it" D gone "$S" 30
check "settings.ini is as it was" same "$(cat settings.ini)" "$before"
# The next export goes to the new folder.
check "Print Grid opens the dialog" print_grid
check "its output file is in the new folder" \
    same "$(D text "$ZAV_DIALOG" $kTxtOutput | sed 's/[^\\]*$//')" "$winfolder\\Team Exports\\Out\\"
check "the export is written there" ok_closes 60
check "as an HTML file" test "$(find "Team Exports/Out" -name '*.html' | wc -l)" -eq 1

# Exit: code 0, the icon goes.
check "the menu opens for Exit" tray_menu last
program_ends "$pid" "Exit ends the program with code 0" "Exit did not end the program"
check "the icon is gone" wait_icon 10 gone

finish
