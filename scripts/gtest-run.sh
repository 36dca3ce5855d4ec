#!/usr/bin/env bash
# Runs one share of a GoogleTest program's tests in one start of it (gtest's own sharding) and
# judges the share by the program's XML report: it fails when the program fails or ends without
# its report, when it ran no test, and when a test took longer than ZAV_TEST_BUDGET seconds (5
# unless set) twice, in the share and timed again alone, each such test named. The report stays as RESULTS.xml for the run's summary.
#   gtest-run.sh PROGRAM SHARE SHARES RESULTS [RUNNER]    RUNNER: wine for a Windows program
set -u
set -o pipefail
program=$1 share=$2 shares=$3 results=$4 runner=${5:-}
budget=${ZAV_TEST_BUDGET:-5}
xml=$results.xml
log=$results.log
mkdir -p "$(dirname "$results")"
rm -f "$xml"
report=$xml
[ -n "$runner" ] && report="Z:$xml"   # a Windows program takes its drive's path

# The output goes to a file first: a process the tests leave behind could hold a pipe open.
GTEST_TOTAL_SHARDS=$shares GTEST_SHARD_INDEX=$((share - 1)) $runner "$program" --gtest_output="xml:$report" >"$log" 2>&1
rc=$?
tr -d '\r' < "$log"

if [ ! -s "$xml" ]; then
    echo "FAILED: the program ended (code $rc) without its report; the last test it started:"
    tr -d '\r' < "$log" | sed -n 's/^\[ RUN      \] //p' | tail -n 1
    exit 1
fi
# One line a test: seconds, name.
times=$(sed -n 's/.*<testcase name="\([^"]*\)".* time="\([0-9.]*\)".* classname="\([^"]*\)".*/\2 \3.\1/p' "$xml")
[ -n "$times" ] || { echo "FAILED: share $share of $shares ran no test"; exit 1; }
echo "share $share of $shares: $(printf '%s\n' "$times" | wc -l) tests; the slowest:"
printf '%s\n' "$times" | sort -rn | head -n 3 | sed 's/^/  /'
# A test over the budget is timed once more, alone: a moment when the machine was busy with
# something else is not the test's fault, a test slow twice is.
over=$(printf '%s\n' "$times" | awk -v b="$budget" '$1 > b')
while read -r first name; do
    [ -n "$name" ] || continue
    rm -f "$results.again.xml"
    again=""
    $runner "$program" --gtest_output="xml:${report%.xml}.again.xml" --gtest_filter="$name" >/dev/null 2>&1 &&
        again=$(sed -n 's/.*<testcase .* time="\([0-9.]*\)".*/\1/p' "$results.again.xml")
    if awk -v t="${again:-999999}" -v b="$budget" 'BEGIN { exit !(t > b) }'; then
        echo "FAILED: $name took $first s, and ${again:-no report} s alone, over the $budget s a test may take"
        rc=1
    else
        echo "$name took $first s, $again s alone: in time"
    fi
done <<<"$over"
exit $((rc != 0))
