#!/usr/bin/env bash
# Builds every tree and runs every test: the native unit tests, then the same tests and the
# functional tests as Windows programs under Wine: the 64-bit build always, the 32-bit build where
# this machine runs 32-bit programs (it is always compiled). Installs what is missing first.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

bash scripts/setup.sh

jobs=$(nproc)
werror=OFF
[ "${CI:-}" = "true" ] && werror=ON
run32=no
bash scripts/probe32.sh && [ -x /usr/lib/wine/wine ] && run32=yes

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

echo "== native build"
cmake -S . -B build/native -DCMAKE_BUILD_TYPE=Release -DZAV_WERROR=$werror >/dev/null
cmake --build build/native -j "$jobs"
echo "== Windows build, x86_64 (ZAVExport64.exe)"
cmake -S . -B build/win64 -DCMAKE_BUILD_TYPE=Release -DZAV_WERROR=$werror \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake" -DZAV_PEER_LVHOST="$peer64" -DZAV_PEER_EXE="$peerexe64" >/dev/null
cmake --build build/win64 -j "$jobs"
echo "== Windows build, i686 (ZAVExport.exe)"
cmake -S . -B build/win32 -DCMAKE_BUILD_TYPE=Release -DZAV_WERROR=$werror \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" -DZAV_PEER_LVHOST="$peer32" -DZAV_PEER_EXE="$peerexe32" >/dev/null
cmake --build build/win32 -j "$jobs"

# How many tests each group must run at least, one line a group: a group whose test discovery
# failed (under Wine a test program that does not start lists no tests) would otherwise vanish
# from the run without a failure. Whoever adds or removes tests updates the group's line with the
# count `ctest -N` prints in that tree (configured as below, inside a Wine session for the Windows
# trees); when merging, take the higher of two counts plus the other side's new tests.
expected_native=221
expected_win64=295        # x86_64 tree, without a 32-bit list-view host
expected_win64_peer32=40 # the x86_64 tests against a 32-bit host, only where 32-bit programs run
expected_win32=296        # i686 tree, only where 32-bit programs run

# run_group NAME EXPECTED TREE [CTEST ARGS...]: runs the tree's tests and fails when ctest failed,
# found no test, or ran fewer than EXPECTED. ctest's summary stays printed.
run_group() {
    local name=$1 expected=$2 tree=$3 log rc=0 ran
    shift 3
    log=$(mktemp)
    (cd "$tree" && ctest --no-tests=error --output-on-failure -j "$jobs" "$@") | tee "$log" || rc=$?
    ran=$(sed -n 's/.* tests failed out of \([0-9][0-9]*\)$/\1/p' "$log" | tail -n 1)
    rm -f "$log"
    if [ -z "$ran" ] || [ "$ran" -lt "$expected" ]; then
        echo "FAILED: the $name group ran ${ran:-no} tests, expected at least $expected"
        rc=1
    fi
    return $rc
}

status=0
echo "== native tests"
run_group native "$expected_native" build/native || status=1

# shellcheck source=scripts/wine-env.sh
source scripts/wine-env.sh
wine_session_start build
echo "== x86_64 tests under 64-bit Wine"
expected64=$expected_win64
[ "$run32" = yes ] && expected64=$((expected_win64 + expected_win64_peer32))
run_group x86_64 "$expected64" build/win64 --timeout 900 || status=1
if [ "$run32" = yes ]; then
    echo "== i686 tests under 32-bit Wine"
    run_group i686 "$expected_win32" build/win32 --timeout 900 || status=1
fi
wine_session_stop

if [ "$run32" = yes ]; then
    echo "Windows builds tested: x86_64 and i686 (this machine runs 32-bit programs)."
else
    echo "Windows builds tested: x86_64 only; the i686 build was compiled but not run (this machine runs no 32-bit programs)."
fi
exit $status
