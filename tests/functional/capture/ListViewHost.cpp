// The capture tests' list-view host: a top-level window holding one list view (or a window that
// only pretends to be one), built from a description file.
//
//   zav_lvhost.exe DESCRIPTION-FILE INFO-FILE
//
// The description: 8-bit text of the ANSI code page (UTF-8 after "unicode"), one instruction a
// line, fields separated by tabs:
//   unicode                    a Unicode program: Unicode windows, texts set and answered in UTF-16
//   title <t> TEXT             caption of the top-level window
//   nest <t> CAPTION           one more window between the top-level window and the list view
//                              (outermost first); an empty caption makes it captionless
//   view <t> report|icon|smallicon|list;  noheader (LVS_NOCOLUMNHEADER);  checkboxes
//   ownerdata                  owner-data (virtual) list: texts are answered on request
//   column <t> WIDTH <t> TEXT  one column (in index order)
//   order <t> I <t> J ...      the on-screen column order (LVM_SETCOLUMNORDERARRAY)
//   row <t> CELL <t> CELL ...  one row of cell texts (missing cells are empty)
//   generate <t> ROWS <t> COLS further rows whose cell (r, c), 1-based, reads "R<r>C<c>"
//   pace <t> MS                an owner-data list's texts are answered MS milliseconds late
//   fake <t> CLASS <t> MODE    instead of a list view, a window of that class answering the list
//                              view messages itself; its texts and their lengths by MODE: absurd (a
//                              short text, 2^31-1), flood (the whole buffer without a zero, 2^31-1),
//                              negative (a short text, -5), elsewhere (its own text's address and
//                              length), badpointer (an unreadable address, 100)
//   hang                       stop answering messages once the info file is written
//   headercount <t> N          the header answers HDM_GETITEMCOUNT from elsewhere with N
//   itemcount <t> N            the list view answers LVM_GETITEMCOUNT from elsewhere with N
//   escapes                    the texts of the lines after it read \t, \r, \n and \\ as a tab, CR,
//                              LF and a backslash
//   select|check <t> I <t> J   these rows (0-based) are selected / checked, owner-data lists' too
//   params                     each row's item data (LVIF_PARAM) is its number, 1-based
//   shrink <t> N <t> KEEP      once it has answered N item texts to other processes, it keeps only
//                              its first KEEP rows (a live list refreshed while read)
//   resort <t> N               ... its last row moves to the top (a list re-sorted while read)
//   place <t> X <t> Y <t> W <t> H   where the top-level window stands (else 20, 20, 640 x 480)
//   menu <t> rclick|contextmenu <t> LOG-FILE
//                              like most real programs, it opens its own context menu on a right
//                              click in the list view: on the release, through NM_RCLICK or through
//                              WM_CONTEXTMENU. LOG-FILE gets one line per event, written at once:
//                              press / release (the list view received the right button down / up),
//                              menu (its menu is about to open), command Open|Delete (a command of
//                              that menu ran), closed (the menu is closed)
//
// Once the window is ready it writes INFO-FILE whole: "HWND PID LEFT TOP RIGHT BOTTOM TOPLEVEL" in
// decimal. It ends when its top-level window is closed. A posted WM_APP makes it stop answering
// (it sleeps), for the hung-target tests.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "HostWindow.h"

namespace {

struct Description {
    std::string title = "List view host";
    std::vector<std::string> nest;
    DWORD view = LVS_REPORT;
    bool noHeader = false, ownerData = false, unicode = false, checkBoxes = false, params = false, hang = false;
    std::vector<std::pair<int, std::string>> columns;
    std::vector<int> order, selected, checked, place = {20, 20, 640, 480};
    std::vector<std::vector<std::string>> rows;
    long generatedRows = 0;
    int generatedColumns = 0;
    DWORD pace = 0;
    std::string fakeClass;
    std::string fakeMode;
    std::string menu, log;  // the menu's way ("rclick", "contextmenu"; empty: none) and its log
    std::optional<long> headerCount, itemCount;  // the counts told to other processes
    long changeAfter = 0;  // item texts answered to other processes before the list changes
    long shrinkTo = -1;
    bool resort = false;
};

Description g_desc;
std::string g_scratch;  // owner-data answers live here until the next request

std::vector<std::string> splitTabs(const std::string& line) {
    std::vector<std::string> out;
    for (std::size_t start = 0;;) {
        const std::size_t tab = line.find('\t', start);
        out.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
        if (tab == std::string::npos) return out;
        start = tab + 1;
    }
}

// A text of the description with its escapes (\t, \r, \n, \\) read.
std::string unescape(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const char next = text[++i];
        out += next == 't' ? '\t' : next == 'r' ? '\r' : next == 'n' ? '\n' : next;
    }
    return out;
}

bool readDescription(const char* path, Description& d) {
    FILE* file = std::fopen(path, "rb");
    if (!file) return false;
    std::string all;
    char buf[65536];
    for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, file)) > 0;) all.append(buf, n);
    std::fclose(file);
    bool escapes = false;
    for (std::size_t pos = 0, end; pos < all.size(); pos = end + 1) {
        end = std::min(all.find('\n', pos), all.size());
        std::string line = all.substr(pos, end - pos);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        std::vector<std::string> f = splitTabs(line);
        if (escapes)
            for (std::size_t i = 1; i < f.size(); ++i) f[i] = unescape(f[i]);
        const std::string& key = f[0];
        const auto field = [&](std::size_t i) { return i < f.size() ? f[i] : std::string(); };
        const auto number = [&](std::size_t i) { return std::strtol(field(i).c_str(), nullptr, 0); };
        std::vector<int> numbers;
        for (std::size_t i = 1; i < f.size(); ++i) numbers.push_back(std::atoi(f[i].c_str()));
        const std::pair<const char*, bool*> flags[] = {{"noheader", &d.noHeader}, {"ownerdata", &d.ownerData},
                                                        {"unicode", &d.unicode}, {"escapes", &escapes},
                                                        {"checkboxes", &d.checkBoxes}, {"params", &d.params},
                                                        {"hang", &d.hang}};
        const auto flag = std::find_if(std::begin(flags), std::end(flags), [&](const auto& f) { return key == f.first; });
        if (flag != std::end(flags)) *flag->second = true;
        else if (key == "title") d.title = field(1);
        else if (key == "nest") d.nest.push_back(field(1));
        else if (key == "view") {
            const std::string v = field(1);
            d.view = v == "icon" ? LVS_ICON : v == "smallicon" ? LVS_SMALLICON : v == "list" ? LVS_LIST : LVS_REPORT;
        } else if (key == "select") d.selected = numbers;
        else if (key == "check") d.checked = numbers;
        else if (key == "place" && numbers.size() == 4) d.place = numbers;
        else if (key == "menu") {
            d.menu = field(1);
            d.log = field(2);
        }
        else if (key == "shrink" || key == "resort") {
            d.changeAfter = std::atol(field(1).c_str());
            if (key == "shrink") d.shrinkTo = std::atol(field(2).c_str());
            d.resort = key == "resort";
        } else if (key == "headercount") d.headerCount = std::atol(field(1).c_str());
        else if (key == "itemcount") d.itemCount = number(1);
        else if (key == "column") d.columns.emplace_back(std::atoi(field(1).c_str()), field(2));
        else if (key == "order") d.order = numbers;
        else if (key == "row") d.rows.emplace_back(f.begin() + 1, f.end());
        else if (key == "generate") {
            d.generatedRows = std::atol(field(1).c_str());
            d.generatedColumns = std::atoi(field(2).c_str());
        } else if (key == "pace") d.pace = static_cast<DWORD>(std::atol(field(1).c_str()));
        else if (key == "fake") {
            d.fakeClass = field(1);
            d.fakeMode = field(2);
        } else return false;
    }
    return true;
}

long totalRows() { return static_cast<long>(g_desc.rows.size()) + g_desc.generatedRows; }
int totalColumns() { return std::max<int>(1, std::max<int>(static_cast<int>(g_desc.columns.size()), g_desc.generatedColumns)); }

// Text of a cell, 0-based row and column, as the description gives it.
const std::string& cellText(long row, int column) {
    static const std::string empty;
    if (row < static_cast<long>(g_desc.rows.size())) {
        const auto& r = g_desc.rows[static_cast<std::size_t>(row)];
        return static_cast<std::size_t>(column) < r.size() ? r[static_cast<std::size_t>(column)] : empty;
    }
    if (column >= g_desc.generatedColumns) return empty;
    g_scratch = "R" + std::to_string(row - static_cast<long>(g_desc.rows.size()) + 1) + "C" + std::to_string(column + 1);
    return g_scratch;
}

// A text of the description as the program's UTF-16.
std::wstring toWide(const std::string& text) {
    std::wstring out(text.size() + 1, L'\0');
    const int n = MultiByteToWideChar(g_desc.unicode ? CP_UTF8 : CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                      &out[0], static_cast<int>(out.size()));
    out.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    return out;
}

template <class Char>
void copyText(Char* to, int max, const std::basic_string<Char>& text) {
    if (!to || max <= 0) return;
    const std::size_t n = std::min<std::size_t>(text.size(), static_cast<std::size_t>(max - 1));
    std::memcpy(to, text.data(), n * sizeof(Char));
    to[n] = 0;
}

// ---- the pretend list view: answers the A and the W messages alike (its texts are ASCII) ----

// `item`: an LVITEM or LVCOLUMN, A or W.
template <class Item, class Char>
LRESULT answerText(Item* item, const std::basic_string<Char>& text) {
    static std::basic_string<Char> elsewhere;  // the fake's own texts
    Char*& pszText = item->pszText;
    const int cchTextMax = item->cchTextMax;
    const std::string& mode = g_desc.fakeMode;
    if (mode == "flood") {
        if (pszText && cchTextMax > 0) std::fill(pszText, pszText + cchTextMax, static_cast<Char>('x'));
        return 0x7FFFFFFF;
    }
    if (mode == "elsewhere") {
        elsewhere = text;
        pszText = &elsewhere[0];
        return static_cast<LRESULT>(elsewhere.size());
    }
    if (mode == "badpointer") return pszText = reinterpret_cast<Char*>(0x10), 100;
    copyText(pszText, cchTextMax, text);
    return mode == "negative" ? -5 : 0x7FFFFFFF;
}

std::string fakeCell(WPARAM row, LPARAM item) {  // the sub-item is at the same place in LVITEMA and LVITEMW
    std::string text = "fake cell " + std::to_string(row) + "/" + std::to_string(reinterpret_cast<LVITEMA*>(item)->iSubItem);
    if (g_desc.fakeMode == "elsewhere") text.append(5000, 'e');
    return text;
}

LRESULT CALLBACK fakeProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case LVM_GETITEMCOUNT: return 3;
        case LVM_GETHEADER: return 0;
        case LVM_GETCOLUMNWIDTH: return 77;
        case LVM_GETITEMTEXTA: return answerText(reinterpret_cast<LVITEMA*>(lParam), fakeCell(wParam, lParam));
        case LVM_GETITEMTEXTW: return answerText(reinterpret_cast<LVITEMW*>(lParam), toWide(fakeCell(wParam, lParam)));
        case LVM_GETCOLUMNA: return answerText(reinterpret_cast<LVCOLUMNA*>(lParam), std::string("fake header")), TRUE;
        case LVM_GETCOLUMNW: return answerText(reinterpret_cast<LVCOLUMNW*>(lParam), std::wstring(L"fake header")), TRUE;
    }
    return DefWindowProcA(hWnd, msg, wParam, lParam);
}

// ---- the real list view; its lies are told to other threads and processes only (the control's
// own painting asks too) ----

WNDPROC g_listProc = nullptr;
WNDPROC g_headerProc = nullptr;

// The change of "shrink" or "resort", made once, through the list's own procedure.
void changeList(HWND lv) {
    const auto call = [&](UINT m, WPARAM w, LPARAM l) { return CallWindowProcA(g_listProc, lv, m, w, l); };
    const long rows = static_cast<long>(call(LVM_GETITEMCOUNT, 0, 0));
    if (g_desc.shrinkTo >= 0) {
        call(WM_SETREDRAW, FALSE, 0);
        for (long r = rows - 1; r >= g_desc.shrinkTo; --r) call(LVM_DELETEITEM, static_cast<WPARAM>(r), 0);
        call(WM_SETREDRAW, TRUE, 0);
        return;
    }
    // The last row to the top, its texts and item data with it.
    std::vector<std::string> texts;
    char buffer[256];
    for (int c = 0; c < totalColumns(); ++c) {
        LVITEMA get = {};
        get.iSubItem = c;
        get.pszText = buffer;
        get.cchTextMax = sizeof buffer;
        buffer[0] = 0;
        call(LVM_GETITEMTEXTA, static_cast<WPARAM>(rows - 1), reinterpret_cast<LPARAM>(&get));
        texts.push_back(buffer);
    }
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    item.iItem = static_cast<int>(rows - 1);
    call(LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    call(LVM_DELETEITEM, static_cast<WPARAM>(rows - 1), 0);
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = 0;
    for (int c = 0; c < totalColumns(); ++c) {
        item.iSubItem = c;
        item.pszText = &texts[static_cast<std::size_t>(c)][0];
        call(c == 0 ? LVM_INSERTITEMA : LVM_SETITEMTEXTA, 0, reinterpret_cast<LPARAM>(&item));
    }
}

LRESULT CALLBACK lyingListProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!g_desc.menu.empty() && (msg == WM_RBUTTONDOWN || msg == WM_RBUTTONUP))
        zavhost::record(g_desc.log.c_str(), msg == WM_RBUTTONDOWN ? "press" : "release");
    if (msg == LVM_GETITEMCOUNT && InSendMessage() && g_desc.itemCount) return *g_desc.itemCount;
    const bool text = msg == LVM_GETITEMTEXTA || msg == LVM_GETITEMTEXTW || msg == LVM_GETITEMA || msg == LVM_GETITEMW;
    if (text && InSendMessage() && g_desc.changeAfter > 0 && --g_desc.changeAfter == 0) changeList(hWnd);
    return CallWindowProcA(g_listProc, hWnd, msg, wParam, lParam);
}

LRESULT CALLBACK lyingHeaderProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == HDM_GETITEMCOUNT && InSendMessage()) return *g_desc.headerCount;
    return CallWindowProcA(g_headerProc, hWnd, msg, wParam, lParam);
}

template <class Proc>
WNDPROC subclass(HWND w, Proc proc) {
    return reinterpret_cast<WNDPROC>(SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc)));
}

// The selection and the check marks of the description, owner-data lists' too.
void setStates(HWND lv) {
    for (const auto& [rows, mask, state] : {std::tuple{&g_desc.selected, LVIS_SELECTED, LVIS_SELECTED},
                                            std::tuple{&g_desc.checked, LVIS_STATEIMAGEMASK, INDEXTOSTATEIMAGEMASK(2)}})
        for (int row : *rows) {
            LVITEMA item = {};
            item.stateMask = mask;
            item.state = state;
            SendMessageA(lv, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
        }
}

HWND createListView(HWND parent, const RECT& rc) {
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_BORDER | g_desc.view | (g_desc.noHeader ? LVS_NOCOLUMNHEADER : 0) |
                        (g_desc.ownerData ? LVS_OWNERDATA : 0);
    HWND lv = g_desc.unicode ? CreateWindowExW(0, WC_LISTVIEWW, L"", style, 0, 0, rc.right, rc.bottom, parent,
                                               reinterpret_cast<HMENU>(1), GetModuleHandleW(nullptr), nullptr)
                             : CreateWindowExA(0, WC_LISTVIEWA, "", style, 0, 0, rc.right, rc.bottom, parent,
                                               reinterpret_cast<HMENU>(1), GetModuleHandleA(nullptr), nullptr);
    if (!lv) return nullptr;
    for (std::size_t i = 0; i < g_desc.columns.size(); ++i)
        zavhost::addColumn(lv, static_cast<int>(i), g_desc.columns[i].first, toWide(g_desc.columns[i].second));
    if (!g_desc.order.empty())
        SendMessageA(lv, LVM_SETCOLUMNORDERARRAY, g_desc.order.size(), reinterpret_cast<LPARAM>(g_desc.order.data()));
    if (g_desc.checkBoxes) SendMessageA(lv, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES, LVS_EX_CHECKBOXES);
    const long rows = totalRows();
    SendMessageA(lv, WM_SETREDRAW, FALSE, 0);
    SendMessageA(lv, LVM_SETITEMCOUNT, static_cast<WPARAM>(rows), 0);
    for (long r = 0; r < rows && !g_desc.ownerData; ++r) {
        std::vector<std::wstring> cells;
        for (int c = 0; c < totalColumns(); ++c) cells.push_back(toWide(cellText(r, c)));
        zavhost::addRow(lv, static_cast<int>(r), cells, g_desc.params ? r + 1 : 0);
    }
    SendMessageA(lv, WM_SETREDRAW, TRUE, 0);
    setStates(lv);
    return lv;
}

// The host's own context menu at `pt`, and what became of it, in the log.
void showOwnMenu(HWND hWnd, POINT pt) {
    const char* log = g_desc.log.c_str();
    zavhost::record(log, "menu");
    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, 1, "Open");
    AppendMenuA(menu, MF_STRING, 2, "Delete");
    HWND top = GetAncestor(hWnd, GA_ROOT);
    SetForegroundWindow(top);
    const int chosen = static_cast<int>(TrackPopupMenuEx(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, pt.x, pt.y, top, nullptr));
    PostMessageA(top, WM_NULL, 0, 0);
    DestroyMenu(menu);
    zavhost::record(log, "closed");
    if (chosen == 1 || chosen == 2) zavhost::record(log, chosen == 1 ? "command Open" : "command Delete");
}

LRESULT CALLBACK panelProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_NOTIFYFORMAT: return g_desc.unicode ? NFR_UNICODE : NFR_ANSI;
        case WM_CONTEXTMENU:
            if (g_desc.menu != "contextmenu") break;
            showOwnMenu(hWnd, POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
            return 0;
        case WM_NOTIFY: {
            if (g_desc.menu == "rclick" && reinterpret_cast<NMHDR*>(lParam)->code == static_cast<UINT>(NM_RCLICK)) {
                POINT pt;
                GetCursorPos(&pt);
                showOwnMenu(hWnd, pt);
                return TRUE;  // handled: no WM_CONTEXTMENU after it
            }
            auto* info = reinterpret_cast<NMLVDISPINFOW*>(lParam);  // the A and W forms agree up to the text
            const bool wide = info->hdr.code == LVN_GETDISPINFOW;
            if (!wide && info->hdr.code != LVN_GETDISPINFOA) break;
            if (g_desc.pace) Sleep(g_desc.pace);
            if (!(info->item.mask & LVIF_TEXT)) return 0;
            const std::string& text = cellText(info->item.iItem, info->item.iSubItem);
            if (wide) copyText(info->item.pszText, info->item.cchTextMax, toWide(text));  // a list view asking in UTF-16
            else copyText(reinterpret_cast<char*>(info->item.pszText), info->item.cchTextMax, text);
            return 0;
        }
        case WM_SIZE: {
            HWND child = GetWindow(hWnd, GW_CHILD);
            if (child) MoveWindow(child, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
            return 0;
        }
        case WM_CLOSE: DestroyWindow(hWnd); return 0;
        case WM_DESTROY:
            if (!GetParent(hWnd)) PostQuitMessage(0);
            return 0;
    }
    return IsWindowUnicode(hWnd) ? DefWindowProcW(hWnd, msg, wParam, lParam) : DefWindowProcA(hWnd, msg, wParam, lParam);
}

// A panel window of the host's kind: a Unicode window with a UTF-16 caption in a Unicode host.
HWND createPanel(HWND parent, const std::string& caption, DWORD style, int x, int y, int w, int h) {
    if (g_desc.unicode)
        return CreateWindowExW(0, L"ZavHostPanel", toWide(caption).c_str(), style, x, y, w, h, parent, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    return CreateWindowExA(0, "ZavHostPanel", caption.c_str(), style, x, y, w, h, parent, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: zav_lvhost DESCRIPTION-FILE INFO-FILE\n");
        return 2;
    }
    if (!readDescription(argv[1], g_desc)) {
        std::fprintf(stderr, "zav_lvhost: cannot read %s\n", argv[1]);
        return 2;
    }
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    zavhost::registerClass(L"ZavHostPanel", panelProc, g_desc.unicode);
    const std::vector<int>& at = g_desc.place;
    HWND top = createPanel(nullptr, g_desc.title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, at[0], at[1], at[2], at[3]);
    if (!top) return 3;
    HWND parent = top;
    RECT rc;
    for (const std::string& caption : g_desc.nest) {
        GetClientRect(parent, &rc);
        parent = createPanel(parent, caption, WS_CHILD | WS_VISIBLE, 0, 0, rc.right, rc.bottom);
    }
    GetClientRect(parent, &rc);
    HWND list = nullptr;
    if (!g_desc.fakeClass.empty()) {
        WNDCLASSA fc = {};
        fc.lpfnWndProc = fakeProc;
        fc.hInstance = GetModuleHandleA(nullptr);
        fc.lpszClassName = g_desc.fakeClass.c_str();
        RegisterClassA(&fc);
        list = CreateWindowExA(0, fc.lpszClassName, "", WS_CHILD | WS_VISIBLE, 0, 0, rc.right, rc.bottom, parent, nullptr,
                               fc.hInstance, nullptr);
    } else if ((list = createListView(parent, rc))) {
        if (g_desc.itemCount || g_desc.changeAfter > 0 || !g_desc.menu.empty()) g_listProc = subclass(list, lyingListProc);
        HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
        if (g_desc.headerCount && header) g_headerProc = subclass(header, lyingHeaderProc);
    }
    if (!list) return 4;
    ShowWindow(top, SW_SHOWNORMAL);
    UpdateWindow(top);
    if (!zavhost::writeInfo(argv[2], list, top)) return 5;
    if (g_desc.hang) PostMessageA(top, WM_APP, 0, 0);
    return zavhost::messageLoop(false, WM_APP);
}
