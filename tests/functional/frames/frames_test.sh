#!/usr/bin/env bash
# Controls under a frame declared before them (the frame on top in the window order), with a real
# mouse: in a dialog and on a property page of a host of the tests' own, a right press on the list
# view, tree view, list box and combo box opens our menu and Copy Grid copies that control's grid,
# the host seeing none of it; a press on a frame away from any control goes to the host. Then the
# application list of Wine's configuration program, under its frame "Application settings".
#   frames_test.sh PROGRAM UIDRIVER FRAMESHOST WORK
set -o pipefail
source "$(dirname "$0")/../../../scripts/ui-lib.sh"
program_folder "$@" zav_frameshost.exe
: > host.log
wine zav_frameshost.exe host.log &
hostpid=$!
start_program
check "the host is up" wait_info host.log
check "with every frame above its control" same "$(tr -d '\r' < host.log)" ready
: > host.log

# copies_grid TITLE CLASS GRID: a right press in the middle of that window's control of that class
# opens the menu, and Copy Grid puts GRID on the clipboard (cells joined by "," and rows by ";").
copies_grid() {
    local l t r b text
    read -r l t r b < <(D classrect "$1" "$2")
    integers 4 "$l" "$t" "$r" "$b" || return 1
    left=$(((l + r) / 2 - 50))
    top=$(((t + b) / 2 - 40))
    copy_item marker 2 && wait_for_copy || { echo "   nothing was copied"; return 1; }
    text=$(tr -d '\r' < text.out | tr '\t\n' ',;')
    same "${text%;}" "$3"
}

rows=()
for where in dialog sheet; do
    p=${where:0:1}-
    rows+=("Frames $where|SysListView32|Name,Size;${p}alpha,1;${p}beta,2"
           "Frames $where|SysTreeView32|Item,Level,Path;${p}root,1,${p}root;${p}leaf,2,${p}root\\${p}leaf"
           "Frames $where|ListBox|Item;${p}one;${p}two"
           "Frames $where|ComboBox|Item;${p}one;${p}two")
done
for row in "${rows[@]}"; do
    IFS='|' read -r title class grid <<< "$row"
    check "over the $class under its frame in [$title], the menu opens and Copy Grid copies its grid" \
        copies_grid "$title" "$class" "$grid"
done
check "the host saw none of those presses" same "$(tr -d '\r' < host.log)" ""

# On a frame's border and on its caption, away from any control: no menu of ours, the host's press.
read -r fl ft _ fb < <(D rect "Frames dialog" 100)
for at in "$((fl + 4)) $((fb - 4))" "$((fl + 30)) $((ft + 6))"; do
    : > host.log
    # shellcheck disable=SC2086
    xdotool mousemove $at; sleep 0.3; xdotool mousedown 3; sleep 0.4; xdotool mouseup 3; sleep 1
    check "a press on the frame at [$at] opens no menu of ours" same "$(D menus)" 0
    check "and goes on to the host" same "$(tr -d '\r' < host.log)" "context 0"
done

# Wine's configuration program, its application list holding two applications of the test's own.
apps='HKCU\Software\Wine\AppDefaults'
for app in zav-one.exe zav-two.exe; do wine reg add "$apps\\$app" /f >/dev/null 2>&1; done
wine winecfg &
hostpid="$hostpid $!"
check "winecfg is up" quiet D wait "Wine configuration" 60
sleep 1
check "its application list, under its frame, copies line for line" \
    copies_grid "Wine configuration" SysListView32 ";Default Settings;zav-one.exe;zav-two.exe"
D close "Wine configuration" >/dev/null
for app in zav-one.exe zav-two.exe; do wine reg delete "$apps\\$app" /f >/dev/null 2>&1; done

close_program "$pid"
kill $hostpid 2>/dev/null
finish
