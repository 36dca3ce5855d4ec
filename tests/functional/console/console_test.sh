#!/usr/bin/env bash
# The console program under Wine, no mouse, while the resident program runs (its files must stay
# byte for byte): the tests' hosts (a Unicode list view reordered with a hidden column, the tree,
# the list boxes, the combo box, a hung and a killed host), Wine's Registry Editor and Task Manager
# exported as CSV, TSV, JSON and XML, read back with Python and compared; the standard output must
# equal the file; every exit code with its line on the standard error.
#   console_test.sh CMDEXE PROGRAM UIDRIVER LVHOST CTLHOST WORK
set -u
set -o pipefail
cmd=$1
# shellcheck source=../../../scripts/test-lib.sh
source "$(dirname "$0")/../../../scripts/test-lib.sh"
rm -rf "$6"
mkdir -p "$6/prog" "$6/out"
cp "$1" "$2" "$6/prog/"
cp "$3" "$6/prog/zav_uidriver.exe"
ZAV_DRIVER="$6/prog/zav_uidriver.exe"
lvhost=$4 ctlhost=$5
out=$6/out
cd "$6/prog" || exit 1
name=$(basename "$2")
cmd=$(basename "$1")
hostpids=()
end_all() {
    local p
    for p in "${hostpids[@]}"; do kill "$p" 2>/dev/null; done
    zav_end_test
}

# run ARGS...: the console program; its exit code in rc, its standard error (CR dropped) in err.
run() {
    wine "$cmd" "$@" 2>"$out/err" </dev/null | cat > "$out/stdout"
    rc=${PIPESTATUS[0]}
    err=$(tr -d '\r' < "$out/err")
}

# wait_listed ARGS...: waits up to 60 s until `list ARGS` shows a control (a program under load
# starts slowly).
wait_listed() {
    local i
    for i in $(seq 1 60); do
        run list "$@"
        [ "$rc" = 0 ] && [ -s "$out/stdout" ] && return 0
        sleep 1
    done
    echo "   nothing listed for $*: $err"
    return 1
}

# grid FILE FORMAT: the grid a file holds, read with Python's own readers, as one JSON array of
# rows (the header first); JSON objects give their keys as the header, XML cells their "name"
# attribute, and an XML cell marked escaped="true" is unescaped (\\ and \uXXXX).
grid() {
    python3 - "$1" "$2" <<'PY'
import csv, io, json, re, sys
import xml.etree.ElementTree as ET
path, fmt = sys.argv[1], sys.argv[2]
data = open(path, "rb").read()
if fmt in ("csv", "tsv"):
    text = data.decode("utf-8-sig")
    rows = list(csv.reader(io.StringIO(text, newline=""), delimiter="," if fmt == "csv" else "\t", strict=True))
    # A record of one empty field is an empty line, which the reader gives as no field.
    rows = [r if r else [""] for r in rows]
elif fmt == "json":
    objects = json.loads(data.decode("utf-8"))
    rows = [list(objects[0].keys())] if objects else []
    rows += [list(o.values()) for o in objects]
else:
    def unescape(text, escaped):
        if not escaped: return text
        return re.sub(r"\\(\\|u([0-9A-F]{4}))", lambda m: "\\" if m.group(1) == "\\" else chr(int(m.group(2), 16)), text)
    root = ET.fromstring(data)
    rows = []
    for row in root.findall("row"):
        cells = row.findall("cell")
        if not rows: rows.append([unescape(c.get("name"), c.get("escaped") == "true") for c in cells])
        rows.append([unescape(c.text or "", c.get("escaped") == "true") for c in cells])
print(json.dumps(rows, ensure_ascii=False))
PY
}

# exports WHAT EXPECTED-CSV-JSON EXPECTED-JSON ARGS...: the control ARGS pick, in the formats
# $formats (all four unless set), to a file and to the standard output: each file's grid the
# expected one (CSV and TSV with formula safety's apostrophes; "-": the CSV's grid stands for all),
# and the standard output the file without its byte-order mark.
exports() {
    local what=$1 expected_csv=$2 expected_plain=$3 f got file
    shift 3
    for f in ${formats:-csv tsv json xml}; do
        file=$out/grid.$f
        run export "$@" --format "$f" --out "Z:${file//\//\\}"
        check "$what as $f: exit 0" same "$rc $err" "0 "
        got=$(grid "$file" "$f")
        if [ "$expected_csv" = - ]; then
            [ "$f" = csv ] && expected_csv=$got expected_plain=$got
            check "$what as $f: a grid with rows" test "${#got}" -gt 10
        fi
        case $f in csv | tsv) check "$what as $f: the grid" same "$got" "$expected_csv" ;;
                   *) check "$what as $f: the grid" same "$got" "$expected_plain" ;; esac
        run export "$@" --format "$f"
        check "$what as $f: the standard output is the file" \
            cmp -s "$out/stdout" <(python3 -c 'import sys; d=open(sys.argv[1],"rb").read(); sys.stdout.buffer.write(d[3:] if d[:3]==b"\xef\xbb\xbf" else d)' "$file")
    done
}

# The resident program runs throughout; its folder is kept as it is now.
start_program
trap end_all EXIT
before=$(folder_state)

# The Unicode list view: display order Amount, Name, Note; Hidden has zero width and stays out.
printf '%s\n' unicode escapes 'title	Console grid' 'column	100	Name' 'column	120	Note, "q"' 'column	0	Hidden' \
    'column	80	Amount' 'order	3	0	2	1' 'row	say "hi"	a,b;c	s1	-12' 'row	Жук 😀	line1\r\nline2	s2	=1+1' \
    'row	tab\there	<x&y>	s3	@SUM' > "$out/lv.txt"
printf 'row\tctl\x01char\tback\\\\slash\ts4\t\n' >> "$out/lv.txt"
wine "$lvhost" "Z:${out//\//\\}\\lv.txt" "Z:${out//\//\\}\\lv.info" & hostpids+=($!)
wine "$ctlhost" & hostpids+=($!)
wine "$ctlhost" listbox & hostpids+=($!)
wait_listed --window "console grid"
plain='[["Amount", "Name", "Note, \"q\""], ["-12", "say \"hi\"", "a,b;c"], ["=1+1", "Жук 😀", "line1\r\nline2"],
 ["@SUM", "tab\there", "<x&y>"], ["", "ctl\u0001char", "back\\slash"]]'
plain=$(python3 -c 'import json,sys; print(json.dumps(json.loads(sys.argv[1]), ensure_ascii=False))' "$plain")
safe=${plain/\"=1+1\"/\"\'=1+1\"}
safe=${safe/\"@SUM\"/\"\'@SUM\"}
exports "list view" "$safe" "$plain" --window "CONSOLE GRID"
wait_listed --window zavtreehost && formats="csv xml" exports "tree view" - - --window zavtreehost
formats="csv xml" exports "list box" - - --window zavlistboxhost --kind listbox --id 1
formats="tsv json" exports "combo box" '[["Item"], ["été Ж"], ["second"]]' '[["Item"], ["été Ж"], ["second"]]' --window zavlistboxhost --id 2

# Wine's Registry Editor (its key tree, and the values of a key of ours, shown at its start) and
# Task Manager (its process list: the images and process IDs; its figures change as it runs).
quiet wine reg add 'HKCU\Software\ZavConsole' /v 'Wert ü' /d 'Daten 😀' /f
quiet wine reg add 'HKCU\Software\ZavConsole' /v 'Two' /d 'a,"b"' /f
quiet wine reg add 'HKCU\Software\Microsoft\Windows\CurrentVersion\Applets\Regedit' /v LastKey \
    /d 'HKEY_CURRENT_USER\Software\ZavConsole' /f
wine regedit & hostpids+=($!)
wine taskmgr & hostpids+=($!)
if wait_listed --process regedit.exe; then
    formats="csv json" exports "regedit's keys" - - --process regedit --kind treeview
    # The values appear after the tree (more slowly under load): asked again for up to 30 s.
    values='[["Name", "Type", "Data"], ["(Default)", "REG_SZ", "(value not set)"], ["Two", "REG_SZ", "a,\"b\""], ["Wert ü", "REG_SZ", "Daten 😀"]]'
    for i in $(seq 1 30); do
        run export --process regedit --kind listview --format json
        [ "$rc" = 0 ] && [ "$(grid "$out/stdout" json 2>/dev/null)" = "$values" ] && break
        sleep 1
    done
    check "regedit's values: exit 0" same "$rc $err" "0 "
    check "regedit's values" same "$(grid "$out/stdout" json)" "$values"
fi
if wait_listed --process taskmgr.exe --kind listview; then
    for f in csv json xml; do
        run export --process taskmgr --id 1018 --format $f --columns index
        check "taskmgr's processes as $f" python3 -c '
import json, sys
rows = json.loads(sys.argv[1])
assert rows[0][:2] == ["Image Name", "PID"], rows[0]
names = [r[0].lower() for r in rows[1:]]
assert "taskmgr.exe" in names and "regedit.exe" in names and all(r[1].isdigit() for r in rows[1:]), rows' \
            "$(grid "$out/stdout" $f)"
    done
fi

# Each exit code with its line on the standard error.
echo previous > "$out/kept.csv"
kept="Z:${out//\//\\}\\kept.csv"
while IFS='|' read -r code message args; do
    eval "set -- $args"
    run "$@"
    check "exit $code: $args" same "$rc" "$code"
    [ "$rc" = "$code" ] || echo "   its standard error: $err"
    check "exit $code: the message" grep -qF -- "$message" <<< "$err"
done <<'EOF'
2|--kind "grid": is no kind|export --window "console grid" --kind grid
2|export needs a window|export --id 1
2|--type "None": there is no export type file|export --window "console grid" --type None
3|no window matches --window "no such window"|export --window "no such window"
3|controls match --window "zavlistboxhost"|export --window zavlistboxhost
3|ZAVExportCmd64: no readable control matches --kind treeview|export --window zavlistboxhost --kind treeview
3|No rows are selected|export --window "console grid" --selected
4|cannot read the list box|export --window zavlistboxhost --id 3
6|cannot write "Z:\no\such\folder\x.csv"|export --window "console grid" --out 'Z:\no\such\folder\x.csv'
EOF
check "a failed export keeps the previous file" same "$(cat "$out/kept.csv")" previous

# A hung host and a killed one: 5, the previous file kept, no temporary file left.
printf '%s\n' 'title	Hung grid' 'column	80	A' 'row	x' hang > "$out/hung.txt"
wine "$lvhost" "Z:${out//\//\\}\\hung.txt" "Z:${out//\//\\}\\hung.info" & hostpids+=($!)
for i in $(seq 1 60); do [ -s "$out/hung.info" ] && break; sleep 0.5; done
run export --window "hung grid" --out "$kept"
check "a hung host: exit 5" same "$rc" 5
check "a hung host: the message" grep -qF 'of "Hung grid" (zav_lvhost.exe' <<< "$err"
printf '%s\n' 'title	Long grid' 'column	80	A' 'column	80	B' 'generate	20000	2' > "$out/long.txt"
wine "$lvhost" "Z:${out//\//\\}\\long.txt" "Z:${out//\//\\}\\long.info" & longpid=$!
hostpids+=($longpid)
for i in $(seq 1 120); do [ -s "$out/long.info" ] && break; sleep 0.5; done
# Ctrl+C once the read is under way: 7, the previous file kept, no temporary file left.
wine "$cmd" export --window "long grid" --out "$kept" --quiet </dev/null 2>"$out/err" >/dev/null &
cmdpid=$!
for i in $(seq 1 200); do [ -e "$out/kept.csv.tmp" ] && break; sleep 0.05; done
kill -INT $cmdpid
wait $cmdpid
check "Ctrl+C: exit 7" same "$?" 7
check "Ctrl+C: the message" grep -qF 'stopped by Ctrl+C or Ctrl+Break;' "$out/err"
check "Ctrl+C: the previous file is kept, no temporary file" same "$(cat "$out/kept.csv"; ls "$out" | grep -c tmp)" "previous
0"
# Killed once the read is under way (its temporary file is there).
( for i in $(seq 1 200); do [ -e "$out/kept.csv.tmp" ] && break; sleep 0.05; done; kill -9 $longpid ) &
run export --window "long grid" --out "$kept"
check "a host killed during the read: exit 5" same "$rc" 5
check "a killed host: the message names the control" grep -qF 'of "Long grid"' <<< "$err"
check "the previous file is kept, no temporary file" same "$(cat "$out/kept.csv"; ls "$out" | grep -c tmp)" "previous
0"

check "the resident program's files are byte for byte as they were" same_state "$(folder_state)" "$before"
check "the resident program still runs" kill -0 "$pid"
finish
