# Sourced by the scripts that run Windows programs: a 64-bit Wine prefix of the build's own (it
# runs 32-bit programs too where this machine has 32-bit Wine) and a private virtual X display.
# Nothing of a person's own Wine set-up is touched. The loaders are called directly, through the
# wrappers in scripts/bin (wine picks the loader of the program's word size).
#   wine_session_start DIR   - prefix DIR/wineprefix; exports WINEPREFIX, DISPLAY, PATH, ...;
#                              starts Xvfb and the wineserver
#   wine_session_stop        - stops both (also run on exit)

ZAV_SCRIPTS=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

wine_session_start() {
    local build_dir
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

    local n=90
    while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    ZAV_XVFB_PID=$!
    export DISPLAY=":$n"
    local i
    for i in $(seq 1 100); do
        [ -e "/tmp/.X11-unix/X$n" ] && break
        sleep 0.1
    done
    trap wine_session_stop EXIT

    # A prefix made without 32-bit Wine cannot run 32-bit programs: the stamp tells which it is.
    local kind=win64
    [ -x /usr/lib/wine/wine ] && kind=wow64
    if [ ! -f "$WINEPREFIX/.zav-ready-$kind" ]; then
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
}

wine_session_stop() {
    if [ -n "${WINEPREFIX:-}" ]; then
        wineserver -k >/dev/null 2>&1 || true
    fi
    if [ -n "${ZAV_XVFB_PID:-}" ]; then
        kill "$ZAV_XVFB_PID" >/dev/null 2>&1 || true
        wait "$ZAV_XVFB_PID" 2>/dev/null || true
        ZAV_XVFB_PID=
    fi
}
