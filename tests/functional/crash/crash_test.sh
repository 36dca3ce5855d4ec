#!/usr/bin/env bash
# The crash handler for real: a faulting program shows "FATAL error => ..." titled "Orvek" and
# ends once the box is closed (inside the session of scripts/wine-env.sh).
#   crash_test.sh PROBE UIDRIVER
set -u
probe=$1
driver=$2
# shellcheck source=../../../scripts/test-lib.sh
source "$(dirname "$0")/../../../scripts/test-lib.sh"
ZAV_DRIVER=$driver
nl=$'\n'
expect() {  # kind, description
    wine "$probe" "$1" &
    local pid=$!
    if D wait Orvek 30 >/dev/null; then
        local text
        text=$(D message Orvek)
        if [ "$text" = "FATAL error => $2${nl}${nl}Program will terminate" ]; then
            echo "ok: $1 shows its message"
        else
            echo "FAILED: $1 shows [$text]"
            failures=$((failures + 1))
        fi
        xdotool mousemove $(D button Orvek OK); sleep 0.3; xdotool click 1
    else
        echo "FAILED: $1 shows no crash message"
        failures=$((failures + 1))
    fi
    if timeout 30 tail --pid=$pid -f /dev/null; then
        wait $pid
        local rc=$?
        if [ $rc -ne 0 ]; then echo "ok: $1 ends the program ($rc)"; else echo "FAILED: $1 exited 0"; failures=$((failures + 1)); fi
    else
        echo "FAILED: $1 did not end after the message"
        kill $pid 2>/dev/null
        failures=$((failures + 1))
    fi
}
expect access "General Protection Fault (Access Violation)"
expect divide "General Protection Fault, Error code hC0000094"
expect code "General Protection Fault, Error code hABCDEF"
finish
