# Sourced by the shell tests: a pipeline fails when any command in it fails, every check is
# counted, and the test ends with the count.
set -o pipefail
failures=0

# check DESCRIPTION COMMAND...: runs the command; says ok or FAILED and counts the failures.
check() {
    local what=$1
    shift
    if "$@"; then echo "ok: $what"; else echo "FAILED: $what"; failures=$((failures + 1)); fi
}

# quiet COMMAND...: the command with its output dropped, for checks whose command prints (a
# redirection after `check` would swallow the check's own verdict).
quiet() { "$@" >/dev/null; }

# same GOT EXPECTED: true when equal, else shows both.
same() { [ "$1" = "$2" ] || { echo "   got:      [$1]"; echo "   expected: [$2]"; return 1; }; }

# file_state FILE: the file's size, modification time (to the nanosecond) and a checksum of its
# bytes, or "(no file)": a file written again, even with the same bytes, gives another state.
file_state() {
    if [ -e "$1" ]; then
        printf '%s %s\n' "$(stat -c '%s %.9Y' "$1")" "$(md5sum < "$1" | cut -d' ' -f1)"
    else
        echo "(no file)"
    fi
}

# folder_state: every file and folder below the current folder with its state, one a line, sorted
# (a folder's time changes when an entry is made or removed in it, a temporary file too).
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

# The window inspector (zav_uidriver.exe at $ZAV_DRIVER): where windows and controls are, what they
# say. Its status is the inspector's own (pipefail), not that of the line-ending filter.
D() { wine "$ZAV_DRIVER" "$@" | tr -d '\r'; }

# Ends the test with the number of failed checks.
finish() {
    echo "$failures failed checks"
    exit $((failures > 0))
}
