# Sourced by the scripts that run Windows programs: a 64-bit Wine prefix of the build's own (it
# runs 32-bit programs too where this machine has 32-bit Wine) and a private virtual X display.
# Nothing of a person's own Wine set-up is touched. The loaders are called directly, through the
# wrappers in scripts/bin (wine picks the loader of the program's word size). The display has a
# window manager (openbox), as a desktop has: windows get frames, and activation and stacking go
# through it.
#   wine_session_start DIR [TEMPLATE] - prefix DIR/wineprefix, made there once (with TEMPLATE, a
#                              ready prefix, a fresh copy of it instead: a session of its own);
#                              exports WINEPREFIX, DISPLAY, PATH, ...; starts Xvfb, openbox, the
#                              wineserver and the desktop
#   wine_session_stop        - stops them (also run on exit)
set -o pipefail

ZAV_SCRIPTS=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

wine_session_start() {
    local build_dir template=${2:-}
    mkdir -p "$1"
    build_dir=$(cd "$1" && pwd)
    export WINEPREFIX="$build_dir/wineprefix"
    export WINEARCH=win64
    export PATH="$ZAV_SCRIPTS/bin:$PATH"
    export WINELOADER=/usr/lib/wine/wine64
    export WINESERVER=/usr/lib/wine/wineserver64
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
    export LANG=en_US.UTF-8 LC_ALL=en_US.UTF-8

    # Xvfb picks a free display itself and says which when it is ready (-displayfd): two
    # sessions starting at once never race for the same number.
    local fdfile
    fdfile=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fdfile" >/dev/null 2>&1 &
    ZAV_XVFB_PID=$!
    _zav_chain_exit_trap
    local i n=""
    for i in $(seq 1 200); do
        n=$(tr -dc '0-9' < "$fdfile")
        [ -n "$n" ] && break
        kill -0 "$ZAV_XVFB_PID" 2>/dev/null || break
        sleep 0.05
    done
    rm -f "$fdfile"
    if [ -z "$n" ]; then
        echo "wine-env: the virtual X server (Xvfb) did not come up" >&2
        wine_session_stop
        return 1
    fi
    export DISPLAY=":$n"

    if ! command -v openbox >/dev/null; then
        echo "wine-env: openbox is missing (scripts/setup.sh installs it)" >&2
        wine_session_stop
        return 1
    fi
    # Ready when it has put its check window on the root window. One that ends before that (seen
    # once on a loaded machine) is started again; what it said is shown if it never comes up.
    local attempt wm_log="$build_dir/openbox.$$.log"
    for attempt in 1 2 3; do
        openbox --sm-disable >"$wm_log" 2>&1 </dev/null &
        ZAV_WM_PID=$!
        for i in $(seq 1 100); do
            _zav_wm_up && break
            kill -0 "$ZAV_WM_PID" 2>/dev/null || break
            sleep 0.05
        done
        _zav_wm_up && break
        kill "$ZAV_WM_PID" 2>/dev/null
        wait "$ZAV_WM_PID" 2>/dev/null
    done
    if ! _zav_wm_up; then
        echo "wine-env: the window manager (openbox) did not come up: $(tail -3 "$wm_log")" >&2
        rm -f "$wm_log"
        wine_session_stop
        return 1
    fi
    rm -f "$wm_log"

    local kind
    kind=$(_zav_prefix_kind)
    if [ -n "$template" ]; then
        if [ ! -f "$template/.zav-ready-$kind" ]; then
            echo "wine-env: $template is no ready prefix" >&2
            wine_session_stop
            return 1
        fi
        _zav_copy_prefix "$template" "$WINEPREFIX"
    elif [ ! -f "$WINEPREFIX/.zav-ready-$kind" ]; then
        echo "wine: creating the prefix $WINEPREFIX"
        rm -rf "$WINEPREFIX"
        wine wineboot -i >/dev/null 2>&1 || true
        # A crashing test program must end, not wait in the debugger's dialog.
        wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
        wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Auto /t REG_SZ /d 1 /f >/dev/null 2>&1
        wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /t REG_SZ /d '' /f >/dev/null 2>&1
        wineserver -w
        touch "$WINEPREFIX/.zav-ready-$kind"
    fi
    # One wineserver for the whole session: every program starts faster. Its helper processes
    # start here, detached from the callers' pipes (a test runner would otherwise wait for them).
    wineserver -p >/dev/null 2>&1 </dev/null || true
    wine cmd /c exit >/dev/null 2>&1 </dev/null || true
    # The desktop's process too, kept for the whole session by its starter. Started on demand, it
    # ends a moment after the last program that used it, and the next program to open a window
    # waits for a new one: seconds on an idle machine, minutes on a loaded one, for every test.
    (wine explorer.exe /desktop >/dev/null 2>&1 </dev/null &)
    for _ in $(seq 1 200); do _zav_desktop_up && break; sleep 0.05; done
}

# A prefix made without 32-bit Wine cannot run 32-bit programs: its stamp tells which it is.
_zav_prefix_kind() { if [ -x /usr/lib/wine/wine ]; then echo wow64; else echo win64; fi; }

# wine_prefix_ready DIR: true when DIR/wineprefix is made (and fits this machine's Wine).
wine_prefix_ready() { [ -f "$1/wineprefix/.zav-ready-$(_zav_prefix_kind)" ]; }

# True when the session's window manager has put its check window on the root window.
_zav_wm_up() { grep -q 'window id' <<< "$(xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null)"; }

# True when the session's desktop process runs.
_zav_desktop_up() {
    local p
    for p in $(pgrep -f 'explorer.exe /desktop'); do
        grep -qxF "WINEPREFIX=$WINEPREFIX" < <(tr '\0' '\n' < "/proc/$p/environ" 2>/dev/null) && return 0
    done
    return 1
}

# _zav_copy_prefix FROM TO: TO becomes a copy of the prefix FROM in a fraction of a second. The
# Windows folder's files are hard links, nothing writes them once the prefix is made (the copy
# never updates itself); what Wine does write (the registry, the INI files of the Windows folder,
# the user's folders) is copied.
_zav_copy_prefix() {
    rm -rf "$2"
    mkdir -p "$2/drive_c"
    cp -a "$1"/*.reg "$1"/.zav-ready-* "$1/dosdevices" "$2/"
    cp -a --link "$1/drive_c/windows" "$2/drive_c/"
    cp -a --remove-destination "$1"/drive_c/windows/*.ini "$2/drive_c/windows/"
    find "$1/drive_c" -mindepth 1 -maxdepth 1 ! -name windows -exec cp -a {} "$2/drive_c/" \;
    echo disable > "$2/.update-timestamp"
}

# Adds wine_session_stop to the caller's EXIT trap instead of replacing it.
_zav_chain_exit_trap() {
    local previous=""
    # "trap -p" prints the trap as a command with its text quoted for the shell: parse it back.
    if [ -n "$(trap -p EXIT)" ]; then eval "set -- $(trap -p EXIT)"; previous=$3; fi
    case "$previous" in
        *wine_session_stop*) return 0 ;;
        "") trap wine_session_stop EXIT ;;
        *) trap "wine_session_stop; $previous" EXIT ;;
    esac
}

wine_session_stop() {
    if [ -n "${WINEPREFIX:-}" ]; then
        wineserver -k >/dev/null 2>&1 || true
        wineserver -w >/dev/null 2>&1 || true
    fi
    if [ -n "${ZAV_WM_PID:-}" ]; then
        kill "$ZAV_WM_PID" >/dev/null 2>&1 || true
        wait "$ZAV_WM_PID" 2>/dev/null || true
        ZAV_WM_PID=
    fi
    if [ -n "${ZAV_XVFB_PID:-}" ]; then
        kill "$ZAV_XVFB_PID" >/dev/null 2>&1 || true
        wait "$ZAV_XVFB_PID" 2>/dev/null || true
        ZAV_XVFB_PID=
    fi
}
