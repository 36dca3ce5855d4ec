#!/usr/bin/env bash
# CSV and tab-separated files with a real mouse: a Unicode host whose texts hold quotes, the
# delimiter, tabs, CR, LF, leading = + - @, other scripts and an emoji, its columns reordered and
# one at zero width. CSV; tab-separated text to a file chosen with Browse; CSV in the ANSI code
# page refused naming the first cell it lacks (the earlier file kept); the same type against a host
# the code page holds. Each file is read back with Python's csv module.
#   csv_test.sh PROGRAM UIDRIVER LVHOST WORK
set -o pipefail
source "$(dirname "$0")/../../../scripts/ui-lib.sh"
program_folder "$@" zav_lvhost.exe

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

check "the host is up" lv_host host "Grid host"
start_program
csv_file="Exports/Grid host.csv"
folder=$(tr -d '\r' < settings.ini | sed -n 's/^OutputFolder=//p')

# 1. CSV, UTF-8 (the default), the list separator of the en-US locale.
check "the menu opens, Print Grid opens the dialog" print_grid
check "the File tab shows its page" file_tab
check "a new type is HTML" same "$(D text "$T" $kCmbFileFormat)" "HTML"
check "CSV is chosen with the mouse" choose_format c CSV
check "the output file takes the CSV extension" same "$(D utext "$T" $kTxtOutput)" "${folder}Grid host.csv"
check "the delimiter is the list separator" same "$(D utext "$T" $kTxtDelimiter)" ","
check "UTF-8 is the default" same "$(D checked "$T" $kChkAnsi)" 0
check "OK closes the dialog" ok_closes
check "the CSV file is the grid as shown" csv_rows "$csv_file" utf-8 , "$expected_unicode"
check "the type file keeps the format" grep -q '^Format=CSV' "ExportOptions/Grid host.ini"

# 2. Tab-separated text: the saved type is offered and loaded, the format changed.
check "the menu opens again on a second dialog" print_grid
check "the saved type's format is loaded" eval 'file_tab && same "$(D text "$T" $kCmbFileFormat)" CSV'
check "tab-separated text is chosen" choose_format t "Tab-separated text"
check "the output file takes the text extension" same "$(D utext "$T" $kTxtOutput)" "${folder}Grid host.txt"
# Browse beside the output file: the save-file dialog fills the box.
check "back on the Options tab" eval 'tab 25 && same "$(D visible "$T" $kCmdBrowseFile)" 1'
click_button "$T" Browse
check "Browse opens the save-file dialog" quiet D wait "Output File" 30
sleep 1
xdotool key ctrl+a; sleep 0.2; xdotool type --delay 30 "${folder}chosen.txt"; sleep 0.3; xdotool key Return
check "the dialog closes on Return" D gone "Output File" 20
check "the chosen file is in the box" same "$(D utext "$T" $kTxtOutput)" "${folder}chosen.txt"
tsv_file="Exports/chosen.txt"
check "OK closes the second dialog" ok_closes
check "the tab-separated file is the grid as shown" csv_rows "$tsv_file" utf-8 $'\t' "$expected_unicode"

# 3. CSV in the ANSI code page: Arabic is refused, naming the cell; the type's output file (the
# one chosen with Browse, which a change of format leaves as chosen) stays as it was.
check "the menu opens a third time, on a third dialog" print_grid
check "the File tab again" file_tab
check "CSV again" choose_format c CSV
check "the chosen output file stays" same "$(D utext "$T" $kTxtOutput)" "${folder}chosen.txt"
click_control "$T" $kChkAnsi
check "ANSI is ticked" same "$(D checked "$T" $kChkAnsi)" 1
refused "ANSI CSV, naming the first cell the code page lacks" "$tsv_file" \
    '*Row 5, column "Amount", holds the character U+0645*'

# 4. The saved ANSI type against a host of the same columns whose texts code page 1252 holds: a
# file of that code page, without a mark.
python3 - <<'PY'
text = ("title\tAnsi host\ncolumn\t100\tName\ncolumn\t120\tNote, \"quoted\"\ncolumn\t0\tHidden\n"
        "column\t80\tAmount\norder\t3\t0\t2\t1\nrow\tcafé\tnaïve, \"x\"\tsecret\t€5\n")
open("ansi.txt", "wb").write(text.encode("cp1252"))
PY
check "the ANSI host is up" lv_host ansi "Ansi host"
check "the menu opens over it, on a fourth dialog" print_grid
check "it loads the saved type, ANSI ticked" eval 'file_tab && same "$(D checked "$T" $kChkAnsi)" 1'
check "OK closes the fourth dialog" ok_closes
check "the ANSI CSV file is the grid as shown" csv_rows "$tsv_file" cp1252 , \
    '[["Amount", "Name", "Note, \"quoted\""], ["€5", "café", "naïve, \"x\""]]'

close_program $pid
finish
