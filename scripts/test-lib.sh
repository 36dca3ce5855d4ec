# Sourced by the shell tests: pipefail, every check counted, the test ending with the count.
set -o pipefail
failures=0

# check DESCRIPTION COMMAND...: runs the command; says ok or FAILED and counts the failures. quiet
# COMMAND...: the command without its output (a redirection after `check` would swallow the verdict).
check() {
    local what=$1
    shift
    if "$@"; then echo "ok: $what"; else echo "FAILED: $what"; failures=$((failures + 1)); fi
}

quiet() { "$@" >/dev/null; }

# same GOT EXPECTED: true when equal, else shows both.
same() { [ "$1" = "$2" ] || { echo "   got:      [$1]"; echo "   expected: [$2]"; return 1; }; }

# file_state FILE: size, modification time (ns) and checksum, or "(no file)": a rewrite shows.
file_state() {
    if [ -e "$1" ]; then
        printf '%s %s\n' "$(stat -c '%s %.9Y' "$1")" "$(md5sum < "$1" | cut -d' ' -f1)"
    else
        echo "(no file)"
    fi
}

# folder_state: every file and folder below the current one with its state (a folder's time
# changes when an entry is made or removed in it, a temporary one too), sorted.
folder_state() {
    local entry
    find . | LC_ALL=C sort | while IFS= read -r entry; do
        if [ -d "$entry" ]; then
            printf '%s/ %s\n' "$entry" "$(stat -c '%.9Y' "$entry")"
        else
            printf '%s %s\n' "$entry" "$(file_state "$entry")"
        fi
    done
}

# same_state GOT EXPECTED: true when the two folder states are equal, else shows what differs.
same_state() {
    [ "$1" = "$2" ] || { diff <(printf '%s\n' "$2") <(printf '%s\n' "$1") | sed -n 's/^[<>]/   &/p'; return 1; }
}

# D ARGS...: the window inspector ($ZAV_DRIVER); its status is its own (pipefail), not tr's.
# The inspector's own codes are 0, 1 and 2; any other is an end it did not choose, said on stderr.
D() {
    local rc=0
    wine "$ZAV_DRIVER" "$@" | tr -d '\r' || rc=$?
    [ $rc -le 2 ] || echo "zav_uidriver $1: ended with code $rc, not one of its own" >&2
    return $rc
}

# program_ends PID CHECK FAILURE [OP]: checks (as CHECK) that it ends within 30 s with a code OP
# (-eq, unless given) 0, else FAILURE.
program_ends() {
    if timeout 30 tail --pid="$1" -f /dev/null; then
        wait "$1"
        check "$2" test $? "${4:--eq}" 0
    else
        echo "FAILED: $3"
        kill "$1" 2>/dev/null
        failures=$((failures + 1))
    fi
}

# Ends the test with the number of failed checks.
finish() {
    echo "$failures failed checks"
    exit $((failures > 0))
}

# One copy of the program runs in a Wine session: a test first ends a copy left over (else every
# start would end at once) and ends its own on every way out. zav_copies: their process ids.
zav_copies() {
    local p first
    for p in /proc/[0-9]*; do
        grep -qxF "WINEPREFIX=$WINEPREFIX" < <(tr '\0' '\n' < "$p/environ" 2>/dev/null) || continue
        first=$(tr '\0' '\n' < "$p/cmdline" 2>/dev/null | head -n 1)
        [[ $first =~ ZAVExport(64)?\.exe$ ]] && echo "${p#/proc/}"
    done
    return 0
}

# no_copy_running: closes (or kills) a copy left over and waits for its mutex to go; false if it stays.
no_copy_running() {
    local i pids
    [ "$(D onecopy)" = 0 ] && return 0
    echo "   a copy of the program is still running: closing it"
    D close "ZAV Menu Hook" >/dev/null
    for i in $(seq 1 20); do [ "$(D onecopy)" = 0 ] && return 0; sleep 0.5; done
    pids=$(zav_copies)
    # shellcheck disable=SC2086
    [ -n "$pids" ] && { echo "   killing $pids"; kill -9 $pids 2>/dev/null; }
    for i in $(seq 1 40); do [ "$(D onecopy)" = 0 ] && return 0; sleep 0.5; done
    echo "FAILED: a copy of the program stays running"
    return 1
}

# zav_end_test: on the way out, the program ($pid) and the host ($hostpid) are ended and awaited.
zav_end_test() {
    local p
    for p in ${pid:-} ${hostpid:-}; do
        kill -0 "$p" 2>/dev/null || continue
        kill "$p" 2>/dev/null
        timeout 10 tail --pid="$p" -f /dev/null || kill -9 "$p" 2>/dev/null
    done
    [ -n "${ZAV_DRIVER:-}" ] && no_copy_running >/dev/null
}
# start_program [PROGRAM]: starts the program ($name unless given) as the only copy and waits for
# its watcher; sets pid. A start that ends at once (as a second copy's) fails the test there.
start_program() {
    trap zav_end_test EXIT
    trap 'exit 1' TERM INT HUP
    no_copy_running || { failures=$((failures + 1)); finish; }
    wine "${1:-$name}" &
    pid=$!
    if ! D wait "ZAV Menu Hook" 60 >/dev/null || ! { sleep 0.5; kill -0 "$pid" 2>/dev/null; }; then
        echo "FAILED: the program did not stay resident (another copy running?)"
        failures=$((failures + 1))
        finish
    fi
}
