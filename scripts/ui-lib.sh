# Sourced by the scripts that drive the program with a real mouse (inside a session of
# scripts/wine-env.sh). Expects: ZAV_DRIVER (the window inspector, zav_uidriver.exe), left and top
# (screen position of the host's list view), shots (folder for screenshots); ZAV_IDS names the file
# of the dialogs' control IDs that the build reads from their headers (kTxtOutput=1005 ...): every
# ID the script names is checked here, so one that left its header fails the test at once.
set -u
set -o pipefail
# shellcheck source=scripts/test-lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/test-lib.sh"
# shellcheck disable=SC1090
source "${ZAV_IDS:?ZAV_IDS names no file of control IDs}" || exit 1
for id in $(grep -ohE '\$\{?k[A-Z][A-Za-z0-9_]*' "$0" "${BASH_SOURCE[0]}" | tr -d '${' | sort -u); do
    [ -n "${!id:-}" ] || { echo "FAILED: the control ID $id is not in $ZAV_IDS"; exit 1; }
done
ZAV_DIALOG="LV Export Options"
T=$ZAV_DIALOG
A="LV Export Options Add Replace"
shot() { import -window root "$shots/$1.png" 2>/dev/null; }

x_window_under_pointer() {
    local id
    id=$(xdotool getmouselocation --shell | sed -n 's/^WINDOW=//p')
    xdotool getwindowname "$id" 2>/dev/null || true
}

# open_menu SECONDS: one right press over the list, held that long; true when the popup menu is
# there. A window of ours just closed may stay on the X screen up to 2 s: the press waits for it.
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

# choose_print_grid: releases the button and clicks "Print Grid" (just below the cursor); true when
# the export dialog is up and a right click on it shows no menu.
choose_print_grid() {
    xdotool mouseup 3; sleep 0.3
    xdotool mousemove $((left + 75)) $((top + 52)); sleep 0.4; xdotool click 1
    D wait "$ZAV_DIALOG" 30 >/dev/null || return 1
    sleep 0.5
    local dl dt
    read -r dl dt _ _ < <(D rect "$ZAV_DIALOG" $kTabOptions)
    xdotool mousemove $((dl + 200)) $((dt + 8)); sleep 0.3; xdotool click 3; sleep 0.5
    [ "$(D menus)" = 0 ]
}

# print_grid: the menu opened over the list and Print Grid chosen; true when the dialog is up,
# given half a second to fill its boxes. ok_closes [SECONDS]: OK on it; true when it goes within
# SECONDS (20).
print_grid() { open_menu 0.5 && choose_print_grid && sleep 0.5; }
ok_closes() { click_button "$T" OK && D gone "$T" "${1:-20}"; }

# choose_item N: after open_menu, releases the button and clicks the menu's Nth item (19 pixels each).
choose_item() {
    xdotool mouseup 3; sleep 0.3
    xdotool mousemove $((left + 75)) $((top + 52 + 19 * ($1 - 1))); sleep 0.4; xdotool click 1
}

# progress_row: N of the export dialog's "row N of M", or nothing. wait_progress: up to 60 s for it.
progress_row() { D text "$ZAV_DIALOG" $kLblExport | sed -n 's/^row \([0-9]*\) of .*/\1/p'; }

wait_progress() {
    for _ in $(seq 1 240); do [[ $(D text "$ZAV_DIALOG" $kLblExport) == row* ]] && return 0; sleep 0.25; done
    return 1
}

# long_export TOTAL: OK on the dialog; true when its export counts "row N of TOTAL" and N moves on
# within 5 s (a second is enough on an idle machine, not on a busy one); else says which step failed.
# stop_export: Stop; true when a box says the export stopped and the dialog stays.
long_export() {
    local first now="" until
    click_button "$T" OK || return 1
    wait_progress || { echo "   no progress within 60 s: [$(D text "$T" $kLblExport)]"; return 1; }
    first=$(progress_row)
    same "$(D text "$T" $kLblExport | sed 's/^row [0-9]* //')" "of $1" || return 1
    until=$((SECONDS + 5))
    while :; do
        sleep 0.5
        now=$(progress_row)
        [ "${now:-0}" -gt "${first:-0}" ] && return 0
        [ $SECONDS -lt $until ] || break
    done
    echo "   the count stayed at row $first for 5 s: [$now]"
    return 1
}
stop_export() {
    click_button "$T" Stop &&
        box_says "The export was stopped. The output file was left as it was before." &&
        same "$(D count "$T")" 1
}

# click_at WHAT X Y: clicks there; without a position (WHAT not found) a failed check is counted.
click_at() {
    local what=$1
    shift
    integers 2 "$@" || { echo "FAILED: $what is not there to be clicked"; failures=$((failures + 1)); return 1; }
    xdotool mousemove "$1" "$2"; sleep 0.3; xdotool click 1
}

# Clicks the button with that caption in the window with that title.
click_button() { click_at "the button [$2] of [$1]" $(D button "$1" "$2"); }

# pixel X Y: the screen's colour there as "R G B". darkest X Y W H: the darkest grey (0-255) there.
pixel() {
    import -window root -crop "1x1+$1+$2" +repage -depth 8 txt:- 2>/dev/null |
        sed -n 's/^0,0: *(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \3/p'
}

darkest() {
    import -window root -crop "$3x$4+$1+$2" +repage -colorspace gray -format '%[fx:int(minima*255+0.5)]' info: 2>/dev/null
}

# has_program_icon TITLE: true when that window's icon holds the program's orange (0xFFE07020).
has_program_icon() {
    local x
    x=$(xdotool search --onlyvisible --name "^$1\$" | head -n 1)
    [ -n "$x" ] && grep -qw 4292898848 <<< "$(xprop -id "$x" -notype -f _NET_WM_ICON 32c _NET_WM_ICON)"
}

# integers COUNT WORD...: true when exactly COUNT whole numbers are given (a position or colour not
# read must fail the check, not become a syntax error or a 0 in bash's arithmetic).
integers() {
    local want=$1 word
    shift
    [ $# -eq "$want" ] || { echo "   expected $want numbers, got $#: [$*]"; return 1; }
    for word in "$@"; do
        [[ $word =~ ^-?[0-9]+$ ]] || { echo "   not a number: [$word] in [$*]"; return 1; }
    done
}

# same_colour "R G B" "R G B": both read off the screen, and equal.
same_colour() { integers 3 $1 && integers 3 $2 && same "$1" "$2"; }

# seen_on_white R G B: the colour stands out on white (together at least 90 below it).
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

# close_program PID: closes the watcher window; the program must end with code 0.
close_program() {
    D close "ZAV Menu Hook"
    program_ends "$1" "closing the watcher ends the program cleanly" "the program did not end"
}

# add_dialog: the first column chosen in the export dialog's column list (its corner kept in cl
# and ct) and Add clicked; true when the add dialog is up.
add_dialog() {
    read -r cl ct _ _ < <(D rect "$T" $kLvColumns)
    xdotool mousemove $((cl + 20)) $((ct + 28)); sleep 0.3; xdotool click 1; sleep 0.5
    click_button "$T" Add && D wait "$A" 20 >/dev/null && sleep 0.5
}

# comes_forward TITLE: true when that window is the active one within 5 s (on a busy machine the
# activation follows a click a moment later).
comes_forward() {
    local i
    for i in $(seq 1 10); do [ "$(D foreground)" = "$1" ] && return 0; sleep 0.5; done
    same "$(D foreground)" "$1"
}

# set_box TITLE ID TEXT: replaces the text of that window's box with typing.
set_box() {
    click_at "the box $2 of [$1]" $(D center "$1" "$2") || return 1
    xdotool key End shift+Home BackSpace; xdotool type --delay 20 "$3"; sleep 0.3
}

# type_text TITLE ID TEXT: types the text into the focused box (in one xdotool run: characters
# beyond Latin got lost when typed a run each) and waits up to 10 s by the clock for that box to
# show it (each look is a program start, seconds on a loaded machine). On a loaded machine xdotool
# can still drop a character beyond Latin (it lends such a character a spare key for a moment):
# then the box's line is selected and typed again, slower, three times at most.
type_text() {
    local attempt end
    for attempt in 1 2 3; do
        [ $attempt -gt 1 ] && { xdotool key End shift+Home; sleep 0.2; }
        xdotool type --delay $((attempt * 80)) "$3"
        end=$((SECONDS + 10))
        while [ $SECONDS -lt $end ]; do [[ $(D utext "$1" "$2") == *"$3" ]] && return 0; sleep 0.2; done
    done
    echo "   typed [$3]; the box holds [$(D utext "$1" "$2")]"
    return 1
}

# program_folder PROGRAM UIDRIVER HOST WORK HOSTNAME: a fresh WORK/prog holding the program, the
# window inspector and the host program (as HOSTNAME), made the current folder; sets prog, shots
# (WORK/screens), work, name (the program's file name) and ZAV_DRIVER.
program_folder() {
    work=$4
    rm -rf "$work"
    mkdir -p "$work/prog" "$work/screens"
    prog="$work/prog"
    shots="$work/screens"
    name=$(basename "$1")
    cp "$1" "$prog/$name"
    cp "$2" "$prog/zav_uidriver.exe"
    ZAV_DRIVER="$prog/zav_uidriver.exe"
    cp "$3" "$prog/$5"
    cd "$prog" || exit 1
}

# start_host TITLE PROGRAM ARGS...: the host program (the one before it ended) up and showing
# TITLE; sets hostpid. lv_host NAME TITLE: so the list-view host on NAME.txt, its list's place
# read from NAME.info into left and top.
start_host() {
    [ -n "${hostpid:-}" ] && { kill "$hostpid" 2>/dev/null; wait "$hostpid" 2>/dev/null; }
    local title=$1
    shift
    wine "$@" &
    hostpid=$!
    D wait "$title" 120 >/dev/null
}
lv_host() {
    rm -f "$1.info"
    start_host "$2" zav_lvhost.exe "$1.txt" "$1.info" && wait_info "$1.info" && read -r _ _ left top _ _ _ < "$1.info"
}

# ctl_host TITLE [MODE...]: the host of single controls (zav_ctlhost.exe, the one before it ended)
# up and showing TITLE, the place of its control 1 read into left and top; sets hostpid.
ctl_host() { start_host "$1" zav_ctlhost.exe "${@:2}" && read -r left top _ _ < <(D rect "$1" 1); }

# menu_host MODE: lv_host "Menu host", in the lower right of the screen clear of the dialogs, whose
# list view opens the host's own menu on a right click (MODE rclick: through NM_RCLICK;
# contextmenu: through WM_CONTEXTMENU) and logs what it sees to $log (host.log).
menu_host() {
    { printf 'title\tMenu host\nplace\t680\t540\t520\t360\nmenu\t%s\thost.log\n' "$1"
      printf 'column\t120\tFile\ncolumn\t120\tKind\nrow\tnotes.txt\ttext\nrow\tphoto.png\timage\nrow\tdata.csv\ttable\n'; } > menu.txt
    lv_host menu "Menu host"
}

# right_click X Y: one right click (press, a short hold, release) at that point of the list.
right_click() {
    xdotool mousemove $((left + $1)) $((top + $2)); sleep 0.3
    xdotool mousedown 3; sleep 0.4; xdotool mouseup 3
}

# host_saw: what the menu host (menu_host, its log $log) saw and did since the last call, on
# one line. The log is never emptied while the host writes to it: the test reads on from where it
# stopped (kept in $log.seen, as this runs in a subshell), up to the last whole line.
host_saw() {
    sleep 0.5
    local from new
    from=$(cat "$log.seen" 2>/dev/null || echo 0)
    new=$(tail -c +$((from + 1)) "$log"; echo .)
    new=${new%.}
    case "$new" in
        *$'\n'*) new=${new%$'\n'*}$'\n' ;;
        *) new="" ;;
    esac
    echo $((from + $(printf '%s' "$new" | wc -c))) > "$log.seen"
    printf '%s' "$new" | tr -d '\r' | tr '\n' ' ' | sed 's/ $//'
}
# host_menu_opened: the host saw a right press and opened its own menu (the release it may not
# see: a list view takes it in its own loop after the press).
host_menu_opened() {
    local saw
    saw=$(host_saw)
    case "$saw" in
        "press menu" | "press release menu") return 0 ;;
        *) echo "   host saw: [$saw]"; return 1 ;;
    esac
}

# clip read|set ARGS...: the inspector's look at the clipboard. wait_for_copy: true once the
# clipboard holds HTML again, read into text.out and html.out (10 s at most).
clip() { D clip "$@"; }
wait_for_copy() {
    for _ in $(seq 1 50); do clip read text.out html.out && [ -s html.out ] && return 0; sleep 0.2; done
    return 1
}
# copy_item MARKER N: MARKER put on the clipboard, then the menu's Nth item (2 Copy Grid, 3 Copy
# Selected Rows) chosen over the list; true when the menu opened. clipboard_kept MARKER: the
# clipboard holds MARKER still, and no HTML.
copy_item() { clip set "$1" && open_menu 0.5 && choose_item "$2"; }
clipboard_kept() { clip read text.out html.out && same "$(cat text.out)" "$1" && test ! -e html.out; }

# message_has PATTERN: true when the program's message box says PATTERN (among other words).
message_has() {
    local said
    said=$(D message ZAVExport)
    [[ $said == *$1* ]] || { echo "   said: [$said]"; return 1; }
}
# box_says TEXT [SECONDS]: the program's message box comes within SECONDS (30) and says TEXT, all
# of it or (TEXT written between two *) among other words; it is closed with OK.
box_says() {
    local said want=$1
    D wait ZAVExport "${2:-30}" >/dev/null
    said=$(D message ZAVExport)
    click_button ZAVExport OK
    sleep 0.5
    if [[ $want == \*?*\* ]]; then want=${want:1:-1}; [[ $said == *"$want"* ]]; else [ "$said" = "$want" ]; fi ||
        { echo "   said: [$said]"; return 1; }
}
# left_as FILE COPY: FILE is byte for byte COPY, and no temporary file of it is left.
left_as() { cmp -s "$1" "$2" && test ! -e "$1.tmp"; }
# refused WHAT FILE TEXT [SECONDS]: checks that OK on the open dialog is refused by a box saying
# TEXT (as box_says takes it), the dialog staying, that FILE is as it was (or still absent) with no
# temporary file in its folder, and that Cancel and Yes then close the dialog.
refused() {
    local what=$1 file=$2 was
    was=$(file_state "$file")
    click_button "$T" OK
    check "$what: a box says why [$3]" box_says "$3" "${4:-30}"
    check "$what: the dialog stays open" same "$(D count "$T")" 1
    check "$what: the file is as it was, no temporary file" \
        eval 'same "$(file_state "$file")" "$was" && same "$(find "${file%/*}" -name "*.tmp" | wc -l)" 0'
    check "$what: Cancel and Yes close the dialog" cancel_dialog
}

# cancel_dialog: Cancel, Yes to the question; true when the export dialog has gone.
cancel_dialog() {
    click_button "$T" Cancel
    D wait ZAVExport 20 >/dev/null && click_button ZAVExport "&Yes"
    D gone "$T" 20
}

# csv_rows FILE ENCODING DELIMITER EXPECTED-JSON: true when the file, read with Python's csv
# module, is exactly the expected rows, every record ends with CR LF, no hidden cell ("secret")
# was written, and (UTF-8) the file starts with a byte-order mark or (ANSI) has none.
csv_rows() {
    python3 - "$@" <<'PY'
import csv, io, json, sys
path, encoding, delimiter, expected = sys.argv[1], sys.argv[2], sys.argv[3], json.loads(sys.argv[4])
data = open(path, "rb").read()
ok = True
if (encoding == "utf-8") != data.startswith(b"\xef\xbb\xbf"):
    print("   a byte-order mark missing or one too many"); ok = False
text = data[3:].decode("utf-8") if encoding == "utf-8" else data.decode(encoding)
rows = list(csv.reader(io.StringIO(text, newline=""), delimiter=delimiter, strict=True))
if rows != expected:
    print("   got:      " + json.dumps(rows, ensure_ascii=False))
    print("   expected: " + json.dumps(expected, ensure_ascii=False)); ok = False
if not text.endswith("\r\n") or text.count("\r\n") < len(expected):
    print("   records are not ended by CR LF"); ok = False
if "secret" in text:
    print("   the hidden column was written"); ok = False
sys.exit(0 if ok else 1)
PY
}

# tab X: clicks the export dialog's tab control X pixels in (Options 25, Format 75, File 115: its
# items are about 50 pixels wide); tl and tt keep the control's corner. file_tab: the File tab;
# true when its format list is shown.
tab() {
    read -r tl tt _ _ < <(D rect "$ZAV_DIALOG" $kTabOptions)
    integers 2 "$tl" "$tt" || return 1
    xdotool mousemove $((tl + $1)) $((tt + 10)); sleep 0.3; xdotool click 1; sleep 0.5
}
file_tab() { tab 115 && same "$(D visible "$ZAV_DIALOG" $kCmbFileFormat)" 1; }

# choose_format KEY CAPTION: on the File tab, picks the format by its first letter with the mouse
# and Enter; true when the list shows CAPTION then.
choose_format() {
    click_control "$T" $kCmbFileFormat || return 1
    xdotool key "$1"; sleep 0.3; xdotool key Return; sleep 0.5
    same "$(D text "$T" $kCmbFileFormat)" "$2"
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
# tray_menu [ITEM]: a right click on the first icon of the tray window; true when one menu is open
# afterwards, and ITEM (as tray_choose takes it) then chosen.
tray_menu() {
    local tx ty i
    read -r tx ty <<< "$(tray_window)"
    xdotool mousemove $((tx + 10)) $((ty + 10)); sleep 0.3; xdotool click 3
    for i in $(seq 1 10); do
        [ "$(D menus)" = 1 ] && { [ $# -eq 0 ] || tray_choose "$1"; return; }
        sleep 0.5
    done
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

# at WINDOW CONTROL: the next open_menu (which presses at left + 50, top + 40) goes 10 pixels into
# that control of that window.
at() {
    local l t
    read -r l t _ _ < <(D rect "$1" "$2")
    integers 2 "$l" "$t" && left=$((l - 40)) && top=$((t - 30))
}
