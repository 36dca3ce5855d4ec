#!/usr/bin/env bash
# The notification-area icon with a real mouse, inside the session of scripts/wine-env.sh. With no
# tray on this display, Wine shows the icons in a small window titled "Wine System Tray", and a
# click there reaches the program as a click on the taskbar's icon would. The icon appears; a
# right click on it opens its menu, Escape closes it; Pause lets a right press through to a host
# that opens its own menu, and unpausing restores ours; a second start (same folder, another
# folder, the other word size when given) ends with code 0 and one watcher stays; Exit ends the
# program with code 0 and the icon goes.
#   tray_test.sh PROGRAM UIDRIVER MENUHOST WORK [OTHER-WORD-SIZE-PROGRAM]
set -u
set -o pipefail
exe=$1
driver=$2
host=$3
work=$4
other=${5:-}
# shellcheck source=../../../scripts/ui-lib.sh
source "$(dirname "$0")/../../../scripts/ui-lib.sh"

program_folder "$work" "$exe" "$driver" "$host" zav_menuhost.exe
log="$prog/host.log"
: > "$log"
wine zav_menuhost.exe rclick host.info host.log &
hostpid=$!
trap zav_end_test EXIT
check "the host is up" quiet D wait "Menu host" 60
wait_info host.info || { echo "FAILED: the host did not say where its list is"; failures=$((failures + 1)); finish; }
read -r _ _ left top _ _ _ < host.info

# The tray window's X id, left and top (nothing when it is not on the screen).
tray_window() {
    local x
    x=$(xdotool search --onlyvisible --name '^Wine System Tray$' 2>/dev/null | head -n 1)
    [ -n "$x" ] || return 1
    # Where its inside is on the screen (a window manager's frame may stand around it).
    xwininfo -id "$x" | sed -n 's/^ *Absolute upper-left [XY]: *//p' | tr '\n' ' '
}
# True when the program's icon (its orange arrow: much red, some green, little blue) is shown in
# the first place of the tray window.
icon_in_tray() {
    local pos tx ty
    pos=$(tray_window) || return 1
    read -r tx ty <<< "$pos"
    import -window root -crop "24x24+$tx+$ty" +repage -depth 8 txt:- 2>/dev/null |
        sed -n 's/^[0-9]*,[0-9]*: *(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \3/p' |
        awk '$1 >= 150 && $2 >= 50 && $2 <= 140 && $3 <= 70 { n++ } END { exit !(n >= 3) }'
}
# Waits up to $1 seconds for the icon to be there (or, with "gone", to be gone).
wait_icon() {
    local i
    for i in $(seq 1 $(($1 * 2))); do
        if [ "${2:-}" = gone ]; then icon_in_tray || return 0; else icon_in_tray && return 0; fi
        sleep 0.5
    done
    return 1
}
# A right click on the first icon of the tray window; true when one menu is open afterwards.
tray_menu() {
    local tx ty i
    read -r tx ty <<< "$(tray_window)"
    xdotool mousemove $((tx + 10)) $((ty + 10)); sleep 0.3; xdotool click 3
    for i in $(seq 1 10); do [ "$(D menus)" = 1 ] && return 0; sleep 0.5; done
    shot no-tray-menu
    return 1
}
# Clicks item N (1 at the top) of the open menu, or its last one. The menu's six items are of
# one height, its one separator about a third of that.
choose() {
    local ml mt mr mb h y
    read -r ml mt mr mb <<< "$(D menurect)" || return 1
    h=$(((mb - mt - 4) * 3 / 19))
    if [ "$1" = last ]; then y=$((mb - 2 - h / 2)); else y=$((mt + 2 + ($1 - 1) * h + h / 2)); fi
    xdotool mousemove $(((ml + mr) / 2)) "$y"; sleep 0.4; xdotool click 1; sleep 0.7
}
host_saw() {
    sleep 0.5
    tr -d '\r' < "$log" | tr '\n' ' ' | sed 's/ $//'
    : > "$log"
}
right_click_list() {
    xdotool mousemove $((left + 50)) $((top + 40)); sleep 0.3
    xdotool mousedown 3; sleep 0.4; xdotool mouseup 3; sleep 1
}

check "no icon before the program runs" wait_icon 2 gone
start_program
check "the program is resident" quiet D wait "ZAV Menu Hook" 60
check "its icon appears in the notification area" wait_icon 20
shot icon

check "a right click on the icon opens its menu" tray_menu
shot tray-menu
xdotool key Escape
check "Escape closes it" same "$(sleep 0.7; D menus)" 0

# Pause: the host gets the right click and opens its own menu; ours stays shut.
check "the menu opens again" tray_menu
choose 3
right_click_list
check "paused, a right click opens the host's menu alone" same "$(D menus)" 1
saw=$(host_saw)
case "$saw" in
    "press menu" | "press release menu") echo "ok: it is the host's menu" ;;
    *) echo "FAILED: the host did not open its menu (saw: [$saw])"; failures=$((failures + 1)) ;;
esac
xdotool key Escape; sleep 0.7; : > "$log"
# Unpaused, ours again and the host sees nothing.
check "the menu opens to unpause" tray_menu
choose 3
right_click_list
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
cp "$exe" "$work/other/$name"
check "a second start from another folder ends with code 0, one watcher stays" second_start "$work/other" "$name"
check "the other folder was left alone" test ! -e "$work/other/settings.ini"
if [ -n "$other" ]; then
    cp "$other" "$work/other/"
    check "a start of the other word size ends with code 0, one watcher stays" \
        second_start "$work/other" "$(basename "$other")"
fi
check "the first copy still answers a right press" tray_menu
xdotool key Escape; sleep 0.7

# Exit: code 0, the icon goes.
check "the menu opens for Exit" tray_menu
choose last
if timeout 30 tail --pid="$pid" -f /dev/null; then
    wait "$pid"
    check "Exit ends the program with code 0" test $? -eq 0
else
    echo "FAILED: Exit did not end the program"
    kill "$pid" 2>/dev/null
    failures=$((failures + 1))
fi
check "the icon is gone" wait_icon 10 gone

D close "Menu host" >/dev/null
wait "$hostpid" 2>/dev/null
finish
