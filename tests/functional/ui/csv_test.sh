#!/usr/bin/env bash
# CSV and tab-separated files through the real program with a real mouse, inside the session of
# scripts/wine-env.sh. A Unicode list-view host whose texts hold quotes, the delimiter, tabs, CR,
# LF, leading = + - @, non-Latin scripts and an emoji, its columns shown in another order than
# their index order and one of them dragged to zero width. On the File tab: CSV, OK; then
# tab-separated text, OK; then CSV in the ANSI code page, refused with a message naming the first
# cell the code page lacks, the earlier file left as it was; then the same saved type against an
# ANSI host whose texts the code page holds. Each file is parsed with Python's csv module and
# compared with the grid as the host shows it.
#   csv_test.sh PROGRAM UIDRIVER LVHOST WORK
set -u
set -o pipefail
exe=$1
driver=$2
host=$3
work=$4
# shellcheck source=../../../scripts/ui-lib.sh
source "$(dirname "$0")/../../../scripts/ui-lib.sh"
T=$ZAV_DIALOG
kFormats=1021
kAnsi=1023

program_folder "$work" "$exe" "$driver" "$host" zav_lvhost.exe

# The texts are written with the host's escapes: \t, \r and \n. Index order: Name, Note, Hidden
# (zero width), Amount; the list shows Amount, Name, Hidden, Note.
cat > host.txt <<'EOF'
unicode
escapes
title	Grid host
column	100	Name
column	120	Note, "quoted"
column	0	Hidden
column	80	Amount
order	3	0	2	1
row	say "hi"	a,b;c	secret1	-12
row	tab\there	line1\r\nline2	secret2	+3.5
row	lf\nonly	cr\ronly	secret3	=1+1
row	+A1	-1e5	secret4	@SUM(A1)
row	Жук Ωμέγα	漢字😀	secret5	مرحبا
row	\tlead tab	\rlead cr	secret6	
EOF
# The grid as the list shows it, and as a spreadsheet must read it back: display order, the
# hidden column left out, every cell that would run as a formula behind an apostrophe.
expected_unicode='[["Amount", "Name", "Note, \"quoted\""],
 ["-12", "say \"hi\"", "a,b;c"],
 ["+3.5", "tab\there", "line1\r\nline2"],
 ["'"'"'=1+1", "lf\nonly", "cr\ronly"],
 ["'"'"'@SUM(A1)", "'"'"'+A1", "'"'"'-1e5"],
 ["مرحبا", "Жук Ωμέγα", "漢字😀"],
 ["", "'"'"'\tlead tab", "'"'"'\rlead cr"]]'

# parsed FILE ENCODING DELIMITER EXPECTED-JSON: true when the file, read with Python's csv module,
# is exactly the expected rows, every record ends with CR LF, and (UTF-8) the file starts with a
# byte-order mark or (ANSI) has none.
parsed() {
    python3 - "$@" <<'PY'
import csv, io, json, sys
path, encoding, delimiter, expected = sys.argv[1], sys.argv[2], sys.argv[3], json.loads(sys.argv[4])
data = open(path, "rb").read()
ok = True
if encoding == "utf-8":
    if not data.startswith(b"\xef\xbb\xbf"):
        print("   no byte-order mark"); ok = False
    text = data[3:].decode("utf-8")
else:
    if data.startswith(b"\xef\xbb\xbf"):
        print("   a byte-order mark in an ANSI file"); ok = False
    text = data.decode(encoding)
rows = list(csv.reader(io.StringIO(text, newline=""), delimiter=delimiter, strict=True))
if rows != expected:
    print("   got:      " + json.dumps(rows, ensure_ascii=False))
    print("   expected: " + json.dumps(expected, ensure_ascii=False)); ok = False
if not text.endswith("\r\n") or text.count("\r\n") < len(expected):
    print("   records are not ended by CR LF"); ok = False
if "secret" in text:
    print("   the hidden column was written"); ok = False
sys.exit(0 if ok else 1)
PY
}

# choose_format KEY CAPTION: opens the format list with the mouse, picks the entry by its first
# letter and closes the list with Enter; true when the list shows CAPTION then.
choose_format() {
    click_control "$T" $kFormats || return 1
    xdotool key "$1"; sleep 0.3; xdotool key Return; sleep 0.5
    same "$(D text "$T" $kFormats)" "$2"
}

wine zav_lvhost.exe host.txt host.info &
hostpid=$!
start_program
check "the host is up" quiet D wait "Grid host" 60
check "the program is resident" quiet D wait "ZAV Menu Hook" 60
read -r _ _ left top _ _ _ < host.info
csv_file="Exports/Grid host.csv"
folder=$(tr -d '\r' < settings.ini | sed -n 's/^OutputFolder=//p')

# 1. CSV, UTF-8 (the default), the list separator of the en-US locale.
check "the menu opens" open_menu 0.5
check "Print Grid opens the dialog" choose_print_grid
sleep 0.5
check "the File tab shows its page" file_tab
check "a new type is HTML" same "$(D text "$T" $kFormats)" "HTML"
check "CSV is chosen with the mouse" choose_format c CSV
check "the output file takes the CSV extension" same "$(D utext "$T" 1005)" "${folder}Grid host.csv"
check "the delimiter is the list separator" same "$(D utext "$T" 1022)" ","
check "UTF-8 is the default" same "$(D checked "$T" $kAnsi)" 0
shot csv-file-tab
click_button "$T" OK
check "OK closes the dialog" D gone "$T" 20
check "the CSV file is the grid as shown" parsed "$csv_file" utf-8 , "$expected_unicode"
check "the type file keeps the format" grep -q '^Format=CSV' "ExportOptions/Grid host.ini"

# 2. Tab-separated text: the saved type is offered and loaded, the format changed.
check "the menu opens again" open_menu 0.5
check "a second dialog opens" choose_print_grid
sleep 0.5
check "the saved type's format is loaded" eval 'file_tab && same "$(D text "$T" $kFormats)" CSV'
check "tab-separated text is chosen" choose_format t "Tab-separated text"
check "the output file takes the text extension" same "$(D utext "$T" 1005)" "${folder}Grid host.txt"
# Browse beside the output file: the save-file dialog fills the box.
browse_page() {
    read -r tl tt _ _ < <(D rect "$T" 1001)
    xdotool mousemove $((tl + 25)) $((tt + 10)); sleep 0.3; xdotool click 1; sleep 0.5
    same "$(D visible "$T" 1006)" 1
}
check "back on the Options tab" browse_page
click_button "$T" Browse
check "Browse opens the save-file dialog" quiet D wait "Output File" 30
sleep 1
xdotool key ctrl+a; sleep 0.2; xdotool type --delay 30 "${folder}chosen.txt"; sleep 0.3; xdotool key Return
check "the dialog closes on Return" D gone "Output File" 20
check "the chosen file is in the box" same "$(D utext "$T" 1005)" "${folder}chosen.txt"
tsv_file="Exports/chosen.txt"
click_button "$T" OK
check "OK closes the second dialog" D gone "$T" 20
check "the tab-separated file is the grid as shown" parsed "$tsv_file" utf-8 $'\t' "$expected_unicode"

# 3. CSV in the ANSI code page: Arabic is refused, naming the cell; the type's output file (the
# one chosen with Browse, which a change of format leaves as chosen) stays as it was.
before=$(file_state "$tsv_file")
check "the menu opens a third time" open_menu 0.5
check "a third dialog opens" choose_print_grid
sleep 0.5
check "the File tab again" file_tab
check "CSV again" choose_format c CSV
check "the chosen output file stays" same "$(D utext "$T" 1005)" "${folder}chosen.txt"
click_control "$T" $kAnsi
check "ANSI is ticked" same "$(D checked "$T" $kAnsi)" 1
click_button "$T" OK
D wait ZAVExport 10 >/dev/null
message=$(D message ZAVExport)
check "the export is refused, naming the first cell the code page lacks" \
    eval '[[ $message == *'"'"'Row 5, column "Amount", holds the character U+0645'"'"'* ]] || { echo "   message: [$message]"; false; }'
shot ansi-refused
click_button ZAVExport OK
sleep 0.5
check "the dialog stays open" same "$(D count "$T")" 1
check "the earlier file was left as it was" same "$(file_state "$tsv_file")" "$before"
check "no partial file is left" same "$(ls Exports | grep -c tmp)" 0
click_button "$T" Cancel; sleep 1
click_button ZAVExport "&Yes"
check "Cancel and Yes close it" D gone "$T" 20
D close "Grid host"
wait $hostpid 2>/dev/null

# 4. The saved ANSI type against a host of the same columns whose texts code page 1252 holds: a
# file of that code page, without a mark.
python3 - <<'PY'
text = ("title\tAnsi host\ncolumn\t100\tName\ncolumn\t120\tNote, \"quoted\"\ncolumn\t0\tHidden\n"
        "column\t80\tAmount\norder\t3\t0\t2\t1\nrow\tcafé\tnaïve, \"x\"\tsecret\t€5\n")
open("ansi.txt", "wb").write(text.encode("cp1252"))
PY
wine zav_lvhost.exe ansi.txt ansi.info &
hostpid=$!
check "the ANSI host is up" quiet D wait "Ansi host" 60
read -r _ _ left top _ _ _ < ansi.info
check "the menu opens over it" open_menu 0.5
check "a fourth dialog opens" choose_print_grid
sleep 0.5
check "it loads the saved type, ANSI ticked" eval 'file_tab && same "$(D checked "$T" $kAnsi)" 1'
click_button "$T" OK
check "OK closes the fourth dialog" D gone "$T" 20
check "the ANSI CSV file is the grid as shown" parsed "$tsv_file" cp1252 , \
    '[["Amount", "Name", "Note, \"quoted\""], ["€5", "café", "naïve, \"x\""]]'

close_program $pid
D close "Ansi host"
wait $hostpid 2>/dev/null
echo "screenshots: $work/screens"
finish
