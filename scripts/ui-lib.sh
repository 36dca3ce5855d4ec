# Sourced by the scripts that drive the program with a real mouse (inside a session of
# scripts/wine-env.sh). Expects: ZAV_DRIVER (the window inspector, zav_uidriver.exe), left and top
# (screen position of the host's list view), shots (folder for screenshots).
# shellcheck source=scripts/test-lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/test-lib.sh"
ZAV_DIALOG="LV Export Options"
shot() { import -window root "$shots/$1.png" 2>/dev/null; }

# Presses the right button over the list and holds it at least $1 seconds; true when the popup
# menu is there. One press: there is no second.
open_menu() {
    xdotool mousemove $((left + 50)) $((top + 40)); sleep 0.3; xdotool mousedown 3; sleep "$1"
    local i
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
