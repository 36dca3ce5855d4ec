#!/usr/bin/env bash
# The real program started under Wine: a first run makes its files and stays resident until its
# watcher closes; a second run keeps [General] and restamps [FileInfo]; settings without
# OutputFolder end start-up with an error box and a failure code; started from another folder it
# makes its files beside itself and nothing in the current folder.
#   startup_test.sh PROGRAM WORK UIDRIVER
set -u
set -o pipefail
exe=$1
work=$2
driver=$3
# shellcheck source=../../../scripts/test-lib.sh
source "$(dirname "$0")/../../../scripts/test-lib.sh"

rm -rf "$work"
mkdir -p "$work/prog"
name=$(basename "$exe")
cp "$exe" "$work/prog/$name"
cd "$work/prog"

cp "$driver" "$work/zav_uidriver.exe"
ZAV_DRIVER="$work/zav_uidriver.exe"
trap zav_end_test EXIT
no_copy_running || { failures=$((failures + 1)); finish; }
# run_resident [PROGRAM]: runs the program ($name unless given) until its watcher is up, then closes
# that window; the exit code is the program's.
run_resident() {
    wine "${1:-$name}" &
    local pid=$! up=1
    D wait "ZAV Menu Hook" 60 >/dev/null || up=0
    D close "ZAV Menu Hook" >/dev/null
    if ! timeout 30 tail --pid=$pid -f /dev/null; then kill $pid 2>/dev/null; return 2; fi
    wait $pid
    local rc=$?
    [ $up -eq 1 ] && return $rc
    return 3
}
run_resident
check "first run stays resident, then exits cleanly" test $? -eq 0
check "settings.ini created" test -f settings.ini
check "Exports folder created" test -d Exports
check "ExportOptions folder created" test -d ExportOptions
check "catalog.ini created" test -f catalog.ini
winfolder=$(tr -d '\r' < settings.ini | sed -n 's/^OutputFolder=\(.*\)\\Exports\\$/\1/p')
check "defaults in order" test "$(tr -d '\r' < settings.ini | cut -d= -f1 | tr '\n' ' ')" = \
    "[General] OutputFolder CatalogFile ReplacesFile OptionFolder [FileInfo] Type Version "
check "defaults name the program folder" test -n "$winfolder"
check "stamp" grep -q $'^Version=0.1.3\r$' settings.ini
check "lines end with CR LF" test "$(grep -c $'\r$' settings.ini)" -eq 8

# Second run: a hand edit of [General] survives, an old stamp is rewritten.
sed -i 's/^Version=0.1.3/Version=0.0.9/; s/^ReplacesFile=.*/ReplacesFile=C:\\custom.ini\r/' settings.ini
run_resident
check "second run exits cleanly" test $? -eq 0
check "hand edit kept" grep -q 'ReplacesFile=C:\\custom.ini' settings.ini
check "stamp rewritten" grep -q $'^Version=0.1.3\r$' settings.ini

# A settings file without OutputFolder: the error box appears and ends the program.
printf '[General]\r\nOptionFolder=%s\\ExportOptions\\\r\n' "$winfolder" > settings.ini
wine "$name" &
pid=$!
# (Closed with the keyboard on its X window.)
if D wait ZAVExport 90 >/dev/null; then
    echo "ok: error box shown"
    check "it names the setting" grep -q "OutputFolder" <<< "$(D message ZAVExport)"
    win=$(timeout 10 xdotool search --sync --name '^ZAVExport$' 2>/dev/null | head -n 1)
    xdotool windowactivate --sync "$win" key Return 2>/dev/null || xdotool key --window "$win" Return
else
    echo "FAILED: no error box"
    echo "   windows: $(D foreground); processes: $(pgrep -fa '\.exe' | tr '\n' ';')"
    failures=$((failures + 1))
fi
program_ends $pid "failed start-up exits with a failure code" "program did not end after the error box" -ne

# Another current folder: the files go beside the program, and the settings name that folder.
mkdir -p "$work/beside" "$work/elsewhere"
cp "$exe" "$work/beside/$name"
cd "$work/elsewhere"
run_resident "$work/beside/$name"
check "started from another folder, it stays resident and exits cleanly" test $? -eq 0
check "settings.ini, the catalog, Exports and ExportOptions are beside the program" \
    test -f "$work/beside/settings.ini" -a -f "$work/beside/catalog.ini" -a -d "$work/beside/Exports" \
    -a -d "$work/beside/ExportOptions"
check "nothing is made in the current folder" same "$(ls -A)" ""
check "the settings name the program's folder" \
    same "$(tr -d '\r' < "$work/beside/settings.ini" | sed -n 's/^OutputFolder=//p')" \
    "$(wine winepath -w "$work/beside" 2>/dev/null | tr -d '\r')\\Exports\\"
cd "$work/prog"

finish
