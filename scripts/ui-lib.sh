# Sourced by the scripts that drive the program with a real mouse (inside a session of
# scripts/wine-env.sh). Expects: ZAV_DRIVER (the window inspector, zav_uidriver.exe), left and top
# (screen position of the host's list view), shots (folder for screenshots).
# shellcheck source=scripts/test-lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/test-lib.sh"
ZAV_DIALOG="LV Export Options"
shot() { import -window root "$shots/$1.png" 2>/dev/null; }

# The title of the X window under the pointer (empty over the bare screen).
x_window_under_pointer() {
    local id
    id=$(xdotool getmouselocation --shell | sed -n 's/^WINDOW=//p')
    xdotool getwindowname "$id" 2>/dev/null || true
}

# Presses the right button over the list and holds it at least $1 seconds; true when the popup
# menu is there. One press: there is no second. On this bare display (no window manager) a
# window of ours that was just closed stays on the X screen for up to 2 s more, and a press on
# it goes nowhere: the press waits until the list is what lies under the pointer.
open_menu() {
    xdotool mousemove $((left + 50)) $((top + 40)); sleep 0.3
    local i under first=""
    for i in $(seq 1 50); do
        under=$(x_window_under_pointer)
        case "$under" in
            "$ZAV_DIALOG"* | ZAVExport) first=${first:-$under}; sleep 0.1 ;;
            *) break ;;
        esac
    done
    [ -n "$first" ] && echo "   (waited $(((i - 1) * 100)) ms for the closed [$first] to leave the screen)"
    xdotool mousedown 3; sleep "$1"
    for i in $(seq 1 8); do [ "$(D menus)" = 1 ] && return 0; sleep 0.5; done
    shot no-menu
    xdotool mouseup 3
    return 1
}

# Releases the button and clicks "Print Grid" (the menu opens at the cursor; its first item lies
# just below); true when the export options dialog is up and a right click on it showed no menu.
choose_print_grid() {
    xdotool mouseup 3; sleep 0.3
    xdotool mousemove $((left + 75)) $((top + 52)); sleep 0.4; xdotool click 1
    D wait "$ZAV_DIALOG" 30 >/dev/null || return 1
    sleep 0.5
    # A right click on the dialog (no list view there) shows no menu. (Under Wine the release of
    # the button that opened the menu is not seen by later ticks; this click's release is.)
    local dl dt
    read -r dl dt _ _ < <(D rect "$ZAV_DIALOG" 1001)
    xdotool mousemove $((dl + 200)) $((dt + 8)); sleep 0.3; xdotool click 3; sleep 0.5
    [ "$(D menus)" = 0 ]
}

# choose_item N: after open_menu, releases the button and clicks the menu's Nth item (the menu
# opens at the cursor, its first item just below, 19 pixels an item).
choose_item() {
    xdotool mouseup 3; sleep 0.3
    xdotool mousemove $((left + 75)) $((top + 52 + 19 * ($1 - 1))); sleep 0.4; xdotool click 1
}

# progress_row: the row the export dialog's progress shows ("row N of M": N), or nothing.
progress_row() { D text "$ZAV_DIALOG" 1020 | sed -n 's/^row \([0-9]*\) of .*/\1/p'; }

# wait_progress: waits up to 60 s for the export dialog to show its progress ("row N of M"); it
# shows at once on an idle machine, and took longer than 20 s at a load average of 18.
wait_progress() {
    for _ in $(seq 1 240); do [[ $(D text "$ZAV_DIALOG" 1020) == row* ]] && return 0; sleep 0.25; done
    return 1
}

# click_at WHAT X Y: clicks there. Without a position (the inspector did not find WHAT) it is a
# failed step, counted as a failed check is: a click that went nowhere must not pass for one that
# was made, and the checks after it may not notice.
click_at() {
    local what=$1
    shift
    integers 2 "$@" || { echo "FAILED: $what is not there to be clicked"; failures=$((failures + 1)); return 1; }
    xdotool mousemove "$1" "$2"; sleep 0.3; xdotool click 1
}

# Clicks the button with that caption in the window with that title.
click_button() { click_at "the button [$2] of [$1]" $(D button "$1" "$2"); }

# The colour of the screen's pixel at X Y, as "R G B" (0 to 255 each).
pixel() {
    import -window root -crop "1x1+$1+$2" +repage -depth 8 txt:- 2>/dev/null |
        sed -n 's/^0,0: *(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \3/p'
}

# The darkest grey (0 black to 255 white) in the screen's rectangle X Y WIDTH HEIGHT.
darkest() {
    import -window root -crop "$3x$4+$1+$2" +repage -colorspace gray -format '%[fx:int(minima*255+0.5)]' info: 2>/dev/null
}

# has_program_icon TITLE: true when the window manager shows the program's icon for that window
# (its orange arrow, 0xFFE07020, is among the pixels it was given), not Wine's default one.
has_program_icon() {
    local x
    x=$(xdotool search --onlyvisible --name "^$1\$" | head -n 1)
    [ -n "$x" ] && xprop -id "$x" -notype -f _NET_WM_ICON 32c _NET_WM_ICON | grep -qw 4292898848
}

# integers COUNT WORD...: true when exactly COUNT words are given and each is a whole number. A
# pixel or a rectangle that could not be read gives no words or others; bash's arithmetic would
# read a missing number as a syntax error, which drops the whole check line without a verdict, and
# a word as a variable that is 0.
integers() {
    local want=$1 word
    shift
    [ $# -eq "$want" ] || { echo "   expected $want numbers, got $#: [$*]"; return 1; }
    for word in "$@"; do
        [[ $word =~ ^-?[0-9]+$ ]] || { echo "   not a number: [$word] in [$*]"; return 1; }
    done
}

# same_colour "R G B" "R G B": true when both are colours read off the screen and equal; a pixel
# that could not be read equals nothing.
same_colour() { integers 3 $1 && integers 3 $2 && same "$1" "$2"; }

# seen_on_white R G B: true when the colour stands out on white (its parts lie, together, at least
# 90 below white); a pale grey does not.
seen_on_white() {
    integers 3 "$@" || return 1
    [ $((765 - $1 - $2 - $3)) -ge 90 ] || { echo "   colour: $1 $2 $3"; return 1; }
}

# near A B TOLERANCE: true when the two numbers differ by at most the tolerance.
near() {
    integers 3 "$@" || return 1
    [ $(($1 - $2)) -le "$3" ] && [ $(($2 - $1)) -le "$3" ] || { echo "   $1 is not within $3 of $2"; return 1; }
}

# apart L1 T1 R1 B1 L2 T2 R2 B2: true when the two rectangles do not overlap.
apart() {
    integers 8 "$@" || return 1
    [ "$3" -le "$5" ] || [ "$7" -le "$1" ] || [ "$4" -le "$6" ] || [ "$8" -le "$2" ] ||
        { echo "   [$1 $2 $3 $4] overlaps [$5 $6 $7 $8]"; return 1; }
}

# Clicks the control with that ID in the window with that title.
click_control() { click_at "the control $2 of [$1]" $(D center "$1" "$2") && sleep 0.3; }

# program_ends PID CHECK FAILURE: waits up to 30 s for the program to end and checks (as CHECK)
# that it ended with exit code 0; when it does not end, FAILURE is told and it is killed.
program_ends() {
    if timeout 30 tail --pid="$1" -f /dev/null; then
        wait "$1"
        check "$2" test $? -eq 0
    else
        echo "FAILED: $3"
        kill "$1" 2>/dev/null
        failures=$((failures + 1))
    fi
}

# close_program PID: closes the watcher window from outside and checks that the program then ends,
# with exit code 0.
close_program() {
    D close "ZAV Menu Hook"
    program_ends "$1" "closing the watcher ends the program cleanly" "the program did not end"
}

# set_box TITLE ID TEXT: replaces the text of that window's box with typing.
set_box() {
    click_at "the box $2 of [$1]" $(D center "$1" "$2") || return 1
    xdotool key End shift+Home BackSpace; xdotool type --delay 20 "$3"; sleep 0.3
}

# type_text TITLE ID TEXT: types the text into that box and waits until the box shows it (10 s at
# most). One xdotool run types the whole text: xdotool types a character that no key gives by
# lending it a spare key for a moment, and with one run a character the characters beyond Latin
# did not arrive at all, even on an idle machine.
type_text() {
    xdotool type --delay 80 "$3"
    for _ in $(seq 1 100); do [[ $(D utext "$1" "$2") == *"$3" ]] && return 0; sleep 0.1; done
    return 1
}

# program_folder WORK PROGRAM UIDRIVER HOST HOSTNAME: a fresh WORK/prog holding the program, the
# window inspector and the host program (as HOSTNAME), made the current folder; sets prog, shots
# (WORK/screens), name (the program's file name) and ZAV_DRIVER.
program_folder() {
    rm -rf "$1"
    mkdir -p "$1/prog" "$1/screens"
    prog="$1/prog"
    shots="$1/screens"
    name=$(basename "$2")
    cp "$2" "$prog/$name"
    cp "$3" "$prog/zav_uidriver.exe"
    ZAV_DRIVER="$prog/zav_uidriver.exe"
    cp "$4" "$prog/$5"
    cd "$prog" || return 1
}

# Shows the export options dialog's File tab, its third (the tab control's items are about 50
# pixels wide); true when the page's format list is shown.
file_tab() {
    local tl tt
    read -r tl tt _ _ < <(D rect "$ZAV_DIALOG" 1001)
    integers 2 "$tl" "$tt" || return 1
    xdotool mousemove $((tl + 115)) $((tt + 10)); sleep 0.3; xdotool click 1; sleep 0.5
    same "$(D visible "$ZAV_DIALOG" 1021)" 1
}

# html_rows FILE: the rows of an exported HTML file (ANSI code page 1252, numeric references), one a
# line, the cells' texts unescaped and joined with "|".
html_rows() {
    python3 - "$1" <<'PY'
import html, re, sys
text = open(sys.argv[1], "rb").read().decode("cp1252")
rows = re.findall(r"<tr>(.*?)</tr>", text, re.S)
print("\n".join("|".join(html.unescape(c) for c in re.findall(r"<t[dh][^>]*>(.*?)</t[dh]>", r, re.S)) for r in rows))
PY
}

# wait_info FILE: waits up to 10 s for a host's information line; the host writes it after its
# window shows, so a test that reads it as soon as the window is there may find no file yet.
wait_info() {
    local i
    for i in $(seq 1 100); do
        [ -f "$1" ] && [ "$(wc -l < "$1")" -ge 1 ] && return 0
        sleep 0.1
    done
    echo "   no information line in $1"
    return 1
}

# The notification-area icon. With no tray on the display, Wine shows the icons in a small window
# titled "Wine System Tray"; a click there reaches the program as a click on the icon would.
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
tray_choose() {
    local ml mt mr mb h y
    read -r ml mt mr mb <<< "$(D menurect)" || return 1
    h=$(((mb - mt - 4) * 3 / 19))
    if [ "$1" = last ]; then y=$((mb - 2 - h / 2)); else y=$((mt + 2 + ($1 - 1) * h + h / 2)); fi
    xdotool mousemove $(((ml + mr) / 2)) "$y"; sleep 0.4; xdotool click 1; sleep 0.7
}
