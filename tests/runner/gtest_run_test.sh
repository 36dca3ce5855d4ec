#!/usr/bin/env bash
# scripts/gtest-run.sh judges a share by the program's own report: a stand-in program writes the
# report each case gives (or none; and another when it is asked for one test alone) and ends with
# its code; the verdict and the named tests are checked.
#   gtest_run_test.sh SCRIPTS_DIR
set -u
set -o pipefail
scripts=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
case_() { printf '<testcase name="%s" status="run" result="completed" time="%s" timestamp="t" classname="%s" />\n' "$@"; }
fails=0
# name | exit code | report ("-": none) | report of the test alone | verdict | a line the output must hold
while IFS='|' read -r name code report alone verdict expect; do
    printf '%b' "$report" > "$work/report"
    printf '%b' "$alone" > "$work/alone"
    cat > "$work/program" <<PROGRAM
#!/usr/bin/env bash
echo "[ RUN      ] Suite.Started"
out=\${1#--gtest_output=xml:}
report=$work/report
[ \$# -gt 1 ] && report=$work/alone
[ "$report" = - ] || cp "\$report" "\$out"
exit $code
PROGRAM
    chmod +x "$work/program"
    out=$(ZAV_TEST_BUDGET=5 bash "$scripts/gtest-run.sh" "$work/program" 1 2 "$work/results/r")
    rc=$?
    got=pass; [ $rc -ne 0 ] && got=fail
    if [ "$got" != "$verdict" ] || ! grep -qF -- "$expect" <<<"$out"; then
        echo "FAILED: $name: $got (expected $verdict), output without [$expect]:"; echo "$out"
        fails=$((fails + 1))
    else
        echo "ok: $name"
    fi
done <<CASES
every test in time|0|$(case_ Fast 0.01 A)\n$(case_ Slow 4.9 A)\n|-|pass|2 tests
a test over the budget twice|0|$(case_ Fast 0.01 A)\n$(case_ Slow 5.01 A)\n|$(case_ Slow 5.2 A)|fail|FAILED: A.Slow took 5.01 s, and 5.2 s alone
over it once, in time alone|0|$(case_ Slow 7 A)\n|$(case_ Slow 0.3 A)|pass|A.Slow took 7 s, 0.3 s alone
a failed test|1|$(case_ Fast 0.01 A)\n|-|fail|share 1 of 2
no report|0|-|-|fail|Suite.Started
a report of no test|0|<testsuites/>\n|-|fail|ran no test
CASES
exit $((fails != 0))
