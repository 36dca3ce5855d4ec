#!/usr/bin/env bash
# "Copy Grid" with a real mouse: a Unicode host (quotes, tabs, CR, LF, markup, a leading "=",
# Cyrillic, CJK, emoji), its columns reordered and one at zero width: the clipboard's Unicode text
# and "HTML Format", read back by a tool of the tests' own, hold exactly the grid as shown, or its
# selected rows. A long list's copy stopped, and one whose program ends meanwhile, leave the
# clipboard as it was.
#   copy_grid_test.sh PROGRAM UIDRIVER LVHOST WORK
source "$(dirname "$0")/../../../scripts/ui-lib.sh"
C="Copy Grid"

program_folder "$@" zav_lvhost.exe

# The grid as the host shows it (columns in display order, the zero-width one left out) and the
# host's description, both from the one table below. In the description \t \r \n \\ stand for
# the characters (the host's "escapes").
python3 - <<'PY'
import json
headers = ["Name", 'Say "hi"', "Hidden", "Tab\there"]
widths = [100, 100, 0, 100]
order = [4, 1, 2, 3]          # on screen: Tab here, Name, Say "hi", (Hidden)
rows = [
    ["plain", 'quote "q" inside', "h1", "a\tb"],
    ["two\r\nlines", "lf\nonly", "h2", "cr\ronly"],
    ["<b>bold</b> & co", "=SUM(A1)", "h3", ""],
    ["Жук 中文", "emoji 😀🏳", "h4", "Ωμέγα"],
]
esc = lambda s: s.replace("\\", "\\\\").replace("\t", "\\t").replace("\r", "\\r").replace("\n", "\\n")
lines = ["unicode", "escapes", "title\tCopy host"]
lines += ["column\t%d\t%s" % (w, esc(h)) for w, h in zip(widths, headers)]
lines.append("order\t" + "\t".join(str(i - 1) for i in order))
lines += ["row\t" + "\t".join(esc(c) for c in r) for r in rows]
selected = [1, 3]
lines.append("select\t" + "\t".join(str(i) for i in selected))
open("host.txt", "w", encoding="utf-8", newline="\n").write("\n".join(lines) + "\n")
shown = [i - 1 for i in order if widths[i - 1] > 0]
grid = [[headers[i] for i in shown]] + [[r[i] for i in shown] for r in rows]
json.dump(grid, open("expected.json", "w", encoding="utf-8"), ensure_ascii=False)
json.dump([grid[0]] + [grid[i + 1] for i in selected], open("selected.json", "w", encoding="utf-8"), ensure_ascii=False)
PY

# clipboard_matches TEXT-FILE HTML-FILE GRID-JSON: the text is the grid as a spreadsheet copies it (and
# parses back to it), the HTML's offsets slice the document and the fragment, and the
# fragment's table holds the grid's texts.
clipboard_matches() {
    python3 - "$1" "$2" "$3" <<'PY'
import csv, io, json, sys
from html.parser import HTMLParser
grid = json.load(open(sys.argv[3], encoding="utf-8"))
text = open(sys.argv[1], "rb").read().decode("utf-8")
want = io.StringIO()
csv.writer(want, delimiter="\t", lineterminator="\r\n", quoting=csv.QUOTE_MINIMAL).writerows(grid)
assert text == want.getvalue(), "text: %r\nwanted: %r" % (text, want.getvalue())
assert list(csv.reader(io.StringIO(text, newline=""), delimiter="\t")) == grid, "the text parses to another grid"
data = open(sys.argv[2], "rb").read()
head = {}
for line in data[:data.index(b"<")].decode("ascii").split("\r\n"):
    if ":" in line:
        k, v = line.split(":", 1)
        head[k] = v
assert head.get("Version") == "0.9", head
start, end = int(head["StartHTML"]), int(head["EndHTML"])
fs, fe = int(head["StartFragment"]), int(head["EndFragment"])
assert end == len(data), (end, len(data))
assert data[start:end].startswith(b"<html") and data[start:end].endswith(b"</html>")
assert data[:fs].endswith(b"<!--StartFragment-->") and data[fe:].startswith(b"<!--EndFragment-->")
class Cells(HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.rows, self.cell = [], None
    def handle_starttag(self, tag, attrs):
        if tag == "tr": self.rows.append([])
        if tag == "td": self.cell = ""
    def handle_endtag(self, tag):
        if tag == "td": self.rows[-1].append(self.cell); self.cell = None
    def handle_data(self, d):
        if self.cell is not None: self.cell += d
p = Cells()
p.feed(data[fs:fe].decode("utf-8"))
assert p.rows == grid, "html cells: %r" % p.rows
PY
}

check "the host is up" lv_host host "Copy host"
start_program

check "a marker on the clipboard, the menu opens for Copy Grid" copy_item "before the copy" 2
check "Copy Grid puts both forms on the clipboard" wait_for_copy
check "no dialog and no message opened" same "$(D count "$ZAV_DIALOG")/$(D count ZAVExport)" "0/0"
check "both forms hold exactly the grid as shown" clipboard_matches text.out html.out expected.json

# Copy Selected Rows, the third item while two rows are selected: the header and those rows.
check "a marker on the clipboard, the menu opens for the selection" copy_item "before the selection" 3
check "Copy Selected Rows puts both forms on the clipboard" wait_for_copy
check "both hold the header and the selected rows only" clipboard_matches text.out html.out selected.json

# A long list: the progress window comes up, and Stop leaves the clipboard as it was.
rows=200000
printf 'title\tBig list\nownerdata\ncolumn\t80\tA\ncolumn\t80\tB\ncolumn\t80\tC\ncolumn\t80\tD\ncolumn\t80\tE\ngenerate\t%s\t5\nselect\t5\t6\t%s\n' \
    "$rows" $((rows - 1)) > big.txt
check "the big host is up" lv_host big "Big list"
check "a marker on the clipboard, the menu opens over the big list" copy_item "kept through Stop" 2
check "a long copy shows its progress window" quiet D wait "$C" 20
sleep 1
check "which counts the rows" bash -c "[[ \"\$1\" =~ ^row\ [0-9]+\ of\ $rows\$ ]]" _ "$(D text "$C" $kCopyLblProgress)"
click_button "$C" Stop
check "Stop closes it" D gone "$C" 10
sleep 1
check "Stop left the clipboard as it was" clipboard_kept "kept through Stop"
check "and said nothing" same "$(D count ZAVExport)" 0

# The owner-data list's selection (rows 6, 7 and the last) is read the same way.
python3 - "$rows" <<'PY'
import json, sys
last = int(sys.argv[1])
grid = [list("ABCDE")] + [["R%dC%d" % (r, c) for c in range(1, 6)] for r in (6, 7, last)]
json.dump(grid, open("big-selected.json", "w"))
PY
check "the menu opens over the big list for its selection" eval 'open_menu 0.5 && choose_item 3'
check "Copy Selected Rows of an owner-data list fills the clipboard" wait_for_copy
check "with its header and its selected rows" clipboard_matches text.out html.out big-selected.json

# A list whose program ends in the middle of the copy: refused with a message, the clipboard as
# it was.
check "the big host is up once more" lv_host big "Big list"
check "a marker on the clipboard, the menu opens over the big list again" copy_item "kept through an ended host" 2
check "the copy is under way" quiet D wait "$C" 20
kill -9 $hostpid
wait $hostpid 2>/dev/null
check "a box says the grid was not copied" box_says "*was not copied*"
check "the message goes, and the progress window with it" D gone "$C" 10
check "the ended host left the clipboard as it was" clipboard_kept "kept through an ended host"

close_program $pid
finish
