#!/usr/bin/env bash
# Text of any script with a real mouse: a Unicode host (Latin-1, Cyrillic, Greek, Arabic, CJK, an
# emoji); a type name and a rule typed in such characters; the type and HTML files named exactly so;
# the HTML (code page 1252 and references) decoding to the host's texts, the rule applied; the
# saved type offered again and giving the same file.
#   unicode_test.sh PROGRAM UIDRIVER LVHOST WORK
set -o pipefail
source "$(dirname "$0")/../../../scripts/ui-lib.sh"
program_folder "$@" zav_lvhost.exe

printf 'unicode\ntitle\tWide host\ncolumn\t100\t%s\ncolumn\t100\t%s\ncolumn\t100\t%s\nrow\t%s\t%s\t%s\nrow\t%s\t%s\t%s\n' \
    'Имя' 'Ωμέγα' '名前' 'café' 'Жук' 'x' 'مرحبا' '漢字😀' 'Ünïcödé' > host.txt
check "the host is up" lv_host host "Wide host"
start_program
folder=$(tr -d '\r' < settings.ini | sed -n 's/^OutputFolder=//p')

type_name='Отчёт 報告 😀'
rule_with='Привет 🌍'

check "the menu opens, Print Grid opens the dialog" print_grid
click_control "$T" $kTxtExportType
xdotool key End shift+Home; sleep 0.2; type_text "$T" $kTxtExportType "$type_name"
check "the typed name is kept whole" same "$(D utext "$T" $kTxtExportType)" "$type_name"
xdotool key Tab; sleep 0.5
check "and accepted" same "$(D count ZAVExport)" 0
check "the output file follows it" same "$(D utext "$T" $kTxtOutput)" "${folder}${type_name}.html"

# A rule for the first column: the Arabic cell becomes Cyrillic and an emoji.
check "Add opens the add dialog" add_dialog
click_control "$A" $kAddTxtReplace
type_text "$A" $kAddTxtReplace 'مرحبا'
xdotool key Tab; sleep 0.3
type_text "$A" $kAddTxtWith "$rule_with"
check "the rule's texts are kept whole" same "$(D utext "$A" $kAddTxtReplace)/$(D utext "$A" $kAddTxtWith)" "مرحبا/$rule_with"
click_button "$A" OK
check "OK closes the add dialog" D gone "$A" 10
sleep 0.5
check "OK closes the dialog" ok_closes

type_file="ExportOptions/${type_name}.ini"
html="Exports/${type_name}.html"
check "one type file, named exactly as typed" same "$(ls ExportOptions)" "${type_name}.ini"

# The HTML: bytes of code page 1252, every other character a reference.
expected=$'Имя|Ωμέγα|名前\ncafé|Жук|x\n'"${rule_with}"$'|漢字😀|Ünïcödé'
check "the HTML file, named exactly as derived, decodes to the host's texts, the rule applied" same "$(html_rows "$html")" "$expected"
check "with character references" grep -q "&#" "$html"
check "the type file is 8-bit text" python3 -c "import sys; open(sys.argv[1], 'rb').read().decode('ascii')" "$type_file"
cp "$html" first.html

# The second right press offers the saved type, loads it, and its export gives the same file.
check "the menu opens again on a second dialog" print_grid
check "it offers the saved type" same "$(D utext "$T" $kCmbExportTypes)" "$type_name"
check "and loads its name" same "$(D utext "$T" $kTxtExportType)" "$type_name"
rm -f "$html"
check "OK closes the second dialog" ok_closes
check "the loaded type gives the same HTML" cmp -s "$html" first.html

close_program $pid
finish
