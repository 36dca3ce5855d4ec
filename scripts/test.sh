#!/usr/bin/env bash
# Builds every tree and runs every test: the native unit tests, then the same tests and the
# functional tests as Windows programs under Wine: the 64-bit build always, the 32-bit build where
# this machine runs 32-bit programs (elsewhere only its program is compiled). Installs what is
# missing first. Ends with the wall time and the slowest tests; a run over 15 minutes says so.
set -euo pipefail
started=$(date +%s)
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash scripts/setup.sh

jobs=$(nproc)
werror=OFF
[ "${CI:-}" = "true" ] && werror=ON
run32=no
why32="this machine runs no 32-bit programs"
if bash scripts/probe32.sh; then
    why32="32-bit Wine could not be installed"
    [ -x /usr/lib/wine/wine ] && run32=yes
fi

# Each Windows tree's tests also read a list view of the other word size where both can run.
# The program of the other word size too: a second start of it must find the running one.
peer64=""
peer32=""
peerexe64=""
peerexe32=""
if [ "$run32" = yes ]; then
    peer64="$root/build/win32/tests/functional/capture/zav_lvhost.exe"   # given to the 64-bit tree
    peer32="$root/build/win64/tests/functional/capture/zav_lvhost.exe"   # given to the 32-bit tree
    peerexe64="$root/build/win32/ZAVExport.exe"
    peerexe32="$root/build/win64/ZAVExport64.exe"
fi

# Each target's sources compiled a batch at a time (a unity build): the test programs' sources,
# GoogleTest's header read once a batch instead of once a file.
common=(-DCMAKE_BUILD_TYPE=Release -DZAV_WERROR=$werror -DCMAKE_UNITY_BUILD=ON)

echo "== native build"
cmake -S . -B build/native "${common[@]}" >/dev/null
cmake --build build/native -j "$jobs"
echo "== Windows build, x86_64 (ZAVExport64.exe)"
cmake -S . -B build/win64 "${common[@]}" \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake" -DZAV_PEER_LVHOST="$peer64" -DZAV_PEER_EXE="$peerexe64" >/dev/null
cmake --build build/win64 -j "$jobs"
echo "== Windows build, i686 (ZAVExport.exe)"
# Where 32-bit programs do not run, its tests could not run either: the program alone.
tests32=OFF
[ "$run32" = yes ] && tests32=ON
cmake -S . -B build/win32 "${common[@]}" -DZAV_TESTS=$tests32 \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" -DZAV_PEER_LVHOST="$peer32" -DZAV_PEER_EXE="$peerexe32" >/dev/null
cmake --build build/win32 -j "$jobs"
built=$(date +%s)

logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT
# run_group NAME TREE [CTEST ARGS...]: runs those tests of the tree (ctest's summary stays printed)
# and fails when ctest failed (its own code: 8 when tests failed) or ran fewer tests than the tree
# registers for them (1).
run_group() {
    local name=$1 tree=$2 rc=0 ran expected
    shift 2
    expected=$(cd "$tree" && ctest -N "$@" | sed -n 's/^Total Tests: //p')
    (cd "$tree" && ctest --no-tests=error --output-on-failure "$@") | tee "$logs/$name" || rc=$?
    ran=$(sed -n 's/.* tests failed out of \([0-9][0-9]*\)$/\1/p' "$logs/$name" | tail -n 1)
    if [ -z "$ran" ] || [ "$ran" -lt "${expected:-1}" ]; then
        echo "FAILED: the $name group ran ${ran:-no} tests, expected $expected"
        rc=1
    fi
    return $rc
}

# run_e2e NAME TREE: the end-to-end tests of the tree, three side by side. A program driven by a
# real mouse under Wine on a busy machine now and then misses a moment, so a group in which at most
# two tests failed runs those once more, alone. One that passes then is named at the end as having
# passed only on its second run (its failed output stays above); one that fails again fails the
# run, as does a group with more failures or fewer tests.
second_runs=()
run_e2e() {
    local name=$1 tree=$2 rc=0 failed
    run_group "$name" "$tree" -L '^e2e$' -j 3 || rc=$?
    [ $rc -eq 8 ] || return $rc
    failed=$(cut -d: -f2- "$tree/Testing/Temporary/LastTestsFailed.log")
    [ "$(wc -l <<<"$failed")" -le 2 ] || return 1
    echo "== $name: the failed tests once more, alone: $(tr '\n' ' ' <<<"$failed")"
    (cd "$tree" && ctest --rerun-failed --output-on-failure) || return 1
    while IFS= read -r test; do second_runs+=("$name $test"); done <<<"$failed"
}

# The Windows tests each run in a Wine session of their own, their prefix copied from
# build/wineprefix, made here once. The GoogleTest programs run one at a time, so that each test's
# time is its own (a test over its budget fails); the end-to-end tests, three side by side.
status=0
rm -rf build/*/test-results
echo "== native tests"
run_group native build/native -j "$jobs" || status=1
bash scripts/in-session.sh build
echo "== x86_64 tests under 64-bit Wine"
run_group x86_64 build/win64 -LE '^e2e$' || status=1
run_e2e x86_64-e2e build/win64 || status=1
if [ "$run32" = yes ]; then
    echo "== i686 tests under 32-bit Wine"
    run_group i686 build/win32 -LE '^e2e$' || status=1
    run_e2e i686-e2e build/win32 || status=1
fi

# The unit program is one source for every tree: a Windows tree whose reports hold fewer of its
# tests than the native tree's lost some on the way (a test program that ends early or lists less).
unit_tests() { cat "$1"/test-results/unit.*.xml 2>/dev/null | grep -c '<testcase ' || true; }
native_units=$(unit_tests build/native)
for tree in build/win64 $([ "$run32" = yes ] && echo build/win32); do
    if [ "$(unit_tests "$tree")" -lt "$native_units" ]; then
        echo "FAILED: $tree ran $(unit_tests "$tree") unit tests, fewer than the native tree's $native_units"
        status=1
    fi
done

echo "== summary"
if [ "$run32" = yes ]; then
    echo "Windows builds tested: x86_64 and i686 (this machine runs 32-bit programs)."
else
    echo "Windows builds tested: x86_64 only; the i686 program was compiled but not run ($why32)."
fi
for test in "${second_runs[@]}"; do
    echo "PASSED ONLY ON ITS SECOND RUN: $test (its first run's output is above)"
done
echo "The slowest tests (seconds, group, test):"
for f in "$logs"/*; do
    sed -n "s|^ *[0-9]*/[0-9]* Test *#[0-9]*: \([^ ]*\) .* \([0-9.]*\) sec\$|\2 ${f##*/} \1|p" "$f"
done | sort -rn | head -n 5 | sed 's/^/  /'
echo "The slowest unit tests (seconds, test, share):"
for f in build/*/test-results/*.xml; do
    sed -n "s|.*<testcase name=\"\([^\"]*\)\".* time=\"\([0-9.]*\)\".* classname=\"\([^\"]*\)\".*|\2 \3.\1 ${f#build/}|p" "$f"
done | sort -rn | head -n 5 | sed 's/^/  /'
now=$(date +%s)
minutes() { printf '%d min %02d s' $(($1 / 60)) $(($1 % 60)); }
echo "Wall time: $(minutes $((now - started))) (builds $(minutes $((built - started))), tests $(minutes $((now - built))))."
if [ $((now - started)) -gt 900 ]; then
    echo "OVER BUDGET: the run took longer than its 15 minutes (a slower or busier machine, or tests that grew)."
fi
exit $status
