#!/usr/bin/env bash
# The crash handler in a real faulting program: "FATAL error => ..." titled "Orvek", then its end
# with a failure code once the box is closed.
#   crash_test.sh PROBE UIDRIVER
set -u
probe=$1
set -o pipefail
# shellcheck source=../../../scripts/test-lib.sh
source "$(dirname "$0")/../../../scripts/test-lib.sh"
ZAV_DRIVER=$2
# kind of fault | what the box says of it
while IFS="|" read -r kind what <&3; do
    wine "$probe" "$kind" &
    pid=$!
    check "$kind shows a crash message" quiet D wait Orvek 30
    check "$kind: [$what]" same "$(D message Orvek)" "FATAL error => $what"$'\n\n'"Program will terminate"
    xdotool mousemove $(D button Orvek OK); sleep 0.3; xdotool click 1
    program_ends $pid "$kind ends the program with a failure code" "$kind did not end after the message" -ne
done 3<<'EOF2'
access|General Protection Fault (Access Violation)
divide|General Protection Fault, Error code hC0000094
code|General Protection Fault, Error code hABCDEF
EOF2
finish
