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

# The window inspector (zav_uidriver.exe at $ZAV_DRIVER): where windows and controls are, what they
# say. Its status is the inspector's own (pipefail), not that of the line-ending filter.
D() { wine "$ZAV_DRIVER" "$@" | tr -d '\r'; }

# Ends the test with the number of failed checks.
finish() {
    echo "$failures failed checks"
    exit $((failures > 0))
}
