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

# Clicks the button with that caption in the window with that title.
click_button() {
    xdotool mousemove $(D button "$1" "$2"); sleep 0.3; xdotool click 1
}
