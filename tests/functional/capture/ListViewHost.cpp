// A list-view host for the capture tests: a top-level window holding one list view (or a window
// that only pretends to be one), built from a description file.
//
//   zav_lvhost.exe DESCRIPTION-FILE INFO-FILE
//
// The description is 8-bit text of the ANSI code page (UTF-8 after "unicode"), one instruction a
// line, fields separated by tabs:
//   unicode                      a Unicode program: its windows are Unicode windows, its texts are
//                                set and answered in UTF-16 (the description's texts are UTF-8)
//   title <t> TEXT               caption of the top-level window
//   nest <t> CAPTION             one more child window between the top-level window and the list
//                                view (outermost first); an empty caption makes it captionless
//   view <t> report|icon|smallicon|list
//   noheader                     report view without column header (LVS_NOCOLUMNHEADER)
//   ownerdata                    owner-data (virtual) list: texts are answered on request
//   column <t> WIDTH <t> TEXT    one column (in index order)
//   order <t> I <t> J ...        the on-screen column order (LVM_SETCOLUMNORDERARRAY)
//   row <t> CELL <t> CELL ...    one row of cell texts (missing cells are empty)
//   generate <t> ROWS <t> COLS   further rows whose cell (r, c), 1-based, reads "R<r>C<c>"
//   pace <t> MS                  an owner-data list's texts are answered MS milliseconds late: a
//                                short list is read as slowly as a long one
//   fake <t> CLASS <t> MODE      instead of a list view, a window of that class answering the list
//                                view messages itself (modes: see FakeMode)
//   hang                         stop answering messages once the info file is written
//   headercount <t> N            the header control answers HDM_GETITEMCOUNT from other threads
//                                and processes with N, whatever columns it has
//   itemcount <t> N              the list view answers LVM_GETITEMCOUNT from other threads and
//                                processes with N, whatever items it has
//   escapes                      the texts of the lines after it read \t, \r, \n and \\ as a tab, CR,
//                                LF and a backslash (the description itself cannot hold them)
//   select <t> I <t> J ...       these rows (0-based) are selected, owner-data lists' too
//   checkboxes                   the list has check boxes (LVS_EX_CHECKBOXES)
//   check <t> I <t> J ...        these rows (0-based) are checked
//   params                       each row's item data (LVIF_PARAM) is its number, 1-based
//   shrink <t> N <t> KEEP        once it has answered N item texts to other processes, it keeps
//                                only its first KEEP rows (a live list refreshed while read)
//   resort <t> N                 once it has answered N item texts to other processes, its last
//                                row moves to the top (a list re-sorted while read)
//
// Once the window is ready the host writes INFO-FILE (through a temporary name, so a reader sees
// it whole): "HWND PID LEFT TOP RIGHT BOTTOM TOPLEVEL" in decimal. It ends when its top-level
// window is closed (WM_CLOSE). The message WM_APP+1 to the top-level window makes it hang: it
// replies 0 at once and then stops answering.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr UINT kHangMessage = WM_APP + 1;

enum class FakeMode {
    None,
    Absurd,       // writes a short text, answers a count of 0x7FFFFFFF
    Flood,        // fills the whole buffer without a zero byte, answers 0x7FFFFFFF
    Negative,     // writes a text, answers -5
    Elsewhere,    // points pszText at text of its own and answers its length
    BadPointer,   // points pszText at an unreadable address and answers 100
};

struct Description {
    std::string title = "List view host";
    std::vector<std::string> nest;
    DWORD view = LVS_REPORT;
    bool noHeader = false;
    bool ownerData = false;
    std::vector<std::pair<int, std::string>> columns;
    std::vector<int> order;
    std::vector<std::vector<std::string>> rows;
    long generatedRows = 0;
    int generatedColumns = 0;
    DWORD pace = 0;
    std::string fakeClass;
    FakeMode fakeMode = FakeMode::None;
    bool hang = false;
    bool unicode = false;
    bool lieHeaderCount = false;
    long headerCount = 0;
    bool lieItemCount = false;
    long itemCount = 0;
    std::vector<int> selected;
    bool checkBoxes = false;
    bool params = false;
    long changeAfter = 0;  // item texts answered to other processes before the list changes
    long shrinkTo = -1;
    bool resort = false;
    std::vector<int> checked;
};

Description g_desc;
std::string g_scratch;     // owner-data answers live here until the next request

std::vector<std::string> splitTabs(const std::string& line) {
    std::vector<std::string> out;
    std::size_t start = 0;
    for (;;) {
        std::size_t tab = line.find('\t', start);
        out.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
        if (tab == std::string::npos) break;
        start = tab + 1;
    }
    return out;
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

std::vector<int> numbers(const std::vector<std::string>& fields) {
    std::vector<int> out;
    for (std::size_t i = 1; i < fields.size(); ++i) out.push_back(std::atoi(fields[i].c_str()));
    return out;
}

bool readDescription(const char* path, Description& d) {
    FILE* f = std::fopen(path, "rb");
    if (!f) return false;
    std::string all;
    char buf[65536];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) all.append(buf, n);
    std::fclose(f);

    std::size_t pos = 0;
    bool escapes = false;
    while (pos < all.size()) {
        std::size_t end = all.find('\n', pos);
        if (end == std::string::npos) end = all.size();
        std::string line = all.substr(pos, end - pos);
        pos = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        std::vector<std::string> f = splitTabs(line);
        if (escapes)
            for (std::size_t i = 1; i < f.size(); ++i) f[i] = unescape(f[i]);
        const std::string& key = f[0];
        auto field = [&](std::size_t i) { return i < f.size() ? f[i] : std::string(); };
        if (key == "title") d.title = field(1);
        else if (key == "nest") d.nest.push_back(field(1));
        else if (key == "view") {
            std::string v = field(1);
            d.view = v == "icon" ? LVS_ICON : v == "smallicon" ? LVS_SMALLICON : v == "list" ? LVS_LIST : LVS_REPORT;
        } else if (key == "noheader") d.noHeader = true;
        else if (key == "ownerdata") d.ownerData = true;
        else if (key == "hang") d.hang = true;
        else if (key == "unicode") d.unicode = true;
        else if (key == "escapes") escapes = true;
        else if (key == "select") d.selected = numbers(f);
        else if (key == "checkboxes") d.checkBoxes = true;
        else if (key == "check") d.checked = numbers(f);
        else if (key == "params") d.params = true;
        else if (key == "shrink") {
            d.changeAfter = std::atol(field(1).c_str());
            d.shrinkTo = std::atol(field(2).c_str());
        } else if (key == "resort") {
            d.changeAfter = std::atol(field(1).c_str());
            d.resort = true;
        }
        else if (key == "headercount") {
            d.lieHeaderCount = true;
            d.headerCount = std::atol(field(1).c_str());
        } else if (key == "itemcount") {
            d.lieItemCount = true;
            d.itemCount = std::strtol(field(1).c_str(), nullptr, 0);
        }
        else if (key == "column") d.columns.emplace_back(std::atoi(field(1).c_str()), field(2));
        else if (key == "order") {
            for (std::size_t i = 1; i < f.size(); ++i) d.order.push_back(std::atoi(f[i].c_str()));
        } else if (key == "row") d.rows.emplace_back(f.begin() + 1, f.end());
        else if (key == "generate") {
            d.generatedRows = std::atol(field(1).c_str());
            d.generatedColumns = std::atoi(field(2).c_str());
        } else if (key == "pace") {
            d.pace = static_cast<DWORD>(std::atol(field(1).c_str()));
        } else if (key == "fake") {
            d.fakeClass = field(1);
            std::string m = field(2);
            d.fakeMode = m == "absurd" ? FakeMode::Absurd : m == "flood" ? FakeMode::Flood
                       : m == "negative" ? FakeMode::Negative : m == "elsewhere" ? FakeMode::Elsewhere
                       : m == "badpointer" ? FakeMode::BadPointer : FakeMode::Absurd;
        } else return false;
    }
    return true;
}

long totalRows() { return static_cast<long>(g_desc.rows.size()) + g_desc.generatedRows; }

// Text of a cell, 0-based row and column, as the description gives it.
const std::string& cellText(long row, int column) {
    static const std::string empty;
    if (row < static_cast<long>(g_desc.rows.size())) {
        const auto& r = g_desc.rows[static_cast<std::size_t>(row)];
        return static_cast<std::size_t>(column) < r.size() ? r[static_cast<std::size_t>(column)] : empty;
    }
    long g = row - static_cast<long>(g_desc.rows.size()) + 1;
    if (column >= g_desc.generatedColumns) return empty;
    g_scratch = "R" + std::to_string(g) + "C" + std::to_string(column + 1);
    return g_scratch;
}

// A text of the description as the program's UTF-16.
std::wstring toWide(const std::string& text) {
    const UINT codePage = g_desc.unicode ? CP_UTF8 : CP_ACP;
    std::wstring out(text.size() + 1, L'\0');
    const int n = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), &out[0],
                                      static_cast<int>(out.size()));
    out.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    return out;
}

template <class Char>
void copyText(Char* to, int max, const std::basic_string<Char>& text) {
    if (!to || max <= 0) return;
    std::size_t n = std::min<std::size_t>(text.size(), static_cast<std::size_t>(max - 1));
    std::memcpy(to, text.data(), n * sizeof(Char));
    to[n] = 0;
}

void copyText(char* to, int max, const std::string& text) { copyText<char>(to, max, text); }

// ---- the pretend list view ----

template <class Char>
LRESULT answerText(Char*& pszText, int cchTextMax, const std::basic_string<Char>& text) {
    static std::basic_string<Char> elsewhere;  // the fake's own texts
    switch (g_desc.fakeMode) {
        case FakeMode::Flood:
            if (pszText && cchTextMax > 0) std::fill(pszText, pszText + cchTextMax, static_cast<Char>('x'));
            return 0x7FFFFFFF;
        case FakeMode::Negative:
            copyText(pszText, cchTextMax, text);
            return -5;
        case FakeMode::Elsewhere:
            elsewhere = text;
            pszText = &elsewhere[0];
            return static_cast<LRESULT>(elsewhere.size());
        case FakeMode::BadPointer:
            pszText = reinterpret_cast<Char*>(0x10);
            return 100;
        default:
            copyText(pszText, cchTextMax, text);
            return 0x7FFFFFFF;
    }
}

std::string fakeCell(WPARAM row, int subItem) {
    std::string text = "fake cell " + std::to_string(row) + "/" + std::to_string(subItem);
    if (g_desc.fakeMode == FakeMode::Elsewhere) text.append(5000, 'e');
    return text;
}

// Answers the A and the W messages alike (its texts are ASCII).
LRESULT CALLBACK fakeProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case LVM_GETITEMCOUNT: return 3;
        case LVM_GETHEADER: return 0;
        case LVM_GETCOLUMNWIDTH: return 77;
        case LVM_GETITEMTEXTA: {
            auto* item = reinterpret_cast<LVITEMA*>(lParam);
            return answerText(item->pszText, item->cchTextMax, fakeCell(wParam, item->iSubItem));
        }
        case LVM_GETITEMTEXTW: {
            auto* item = reinterpret_cast<LVITEMW*>(lParam);
            return answerText(item->pszText, item->cchTextMax, toWide(fakeCell(wParam, item->iSubItem)));
        }
        case LVM_GETCOLUMNA: {
            auto* col = reinterpret_cast<LVCOLUMNA*>(lParam);
            answerText(col->pszText, col->cchTextMax, std::string("fake header"));
            return TRUE;
        }
        case LVM_GETCOLUMNW: {
            auto* col = reinterpret_cast<LVCOLUMNW*>(lParam);
            answerText(col->pszText, col->cchTextMax, std::wstring(L"fake header"));
            return TRUE;
        }
    }
    return DefWindowProcA(hWnd, msg, wParam, lParam);
}

// ---- the real list view ----

// Counts answered to other threads and processes only: the controls' own painting asks them too.
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
    const int columns = std::max<int>(1, std::max<int>(static_cast<int>(g_desc.columns.size()), g_desc.generatedColumns));
    std::vector<std::string> texts;
    char buffer[256];
    for (int c = 0; c < columns; ++c) {
        LVITEMA get = {};
        get.iSubItem = c;
        get.pszText = buffer;
        get.cchTextMax = sizeof buffer;
        buffer[0] = 0;
        call(LVM_GETITEMTEXTA, static_cast<WPARAM>(rows - 1), reinterpret_cast<LPARAM>(&get));
        texts.push_back(buffer);
    }
    LVITEMA last = {};
    last.mask = LVIF_PARAM;
    last.iItem = static_cast<int>(rows - 1);
    call(LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&last));
    call(LVM_DELETEITEM, static_cast<WPARAM>(rows - 1), 0);
    LVITEMA top = {};
    top.mask = LVIF_TEXT | LVIF_PARAM;
    top.pszText = &texts[0][0];
    top.lParam = last.lParam;
    call(LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&top));
    for (int c = 1; c < columns; ++c) {
        LVITEMA sub = {};
        sub.iSubItem = c;
        sub.pszText = &texts[static_cast<std::size_t>(c)][0];
        call(LVM_SETITEMTEXTA, 0, reinterpret_cast<LPARAM>(&sub));
    }
}

LRESULT CALLBACK lyingListProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == LVM_GETITEMCOUNT && InSendMessage() && g_desc.lieItemCount) return g_desc.itemCount;
    const bool text = msg == LVM_GETITEMTEXTA || msg == LVM_GETITEMTEXTW || msg == LVM_GETITEMA || msg == LVM_GETITEMW;
    if (text && InSendMessage() && g_desc.changeAfter > 0 && --g_desc.changeAfter == 0) changeList(hWnd);
    return CallWindowProcA(g_listProc, hWnd, msg, wParam, lParam);
}

LRESULT CALLBACK lyingHeaderProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == HDM_GETITEMCOUNT && InSendMessage()) return g_desc.headerCount;
    return CallWindowProcA(g_headerProc, hWnd, msg, wParam, lParam);
}

void installLies(HWND lv) {
    if (g_desc.lieItemCount || g_desc.changeAfter > 0)
        g_listProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(lv, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(lyingListProc)));
    HWND header = reinterpret_cast<HWND>(SendMessageA(lv, LVM_GETHEADER, 0, 0));
    if (g_desc.lieHeaderCount && header)
        g_headerProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(header, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(lyingHeaderProc)));
}

// The selection and the check marks of the description.
void setStates(HWND lv) {
    for (int row : g_desc.selected) {
        LVITEMA item = {};
        item.stateMask = LVIS_SELECTED;
        item.state = LVIS_SELECTED;
        SendMessageA(lv, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    }
    for (int row : g_desc.checked) {
        LVITEMA item = {};
        item.stateMask = LVIS_STATEIMAGEMASK;
        item.state = INDEXTOSTATEIMAGEMASK(2);
        SendMessageA(lv, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    }
}

HWND createListView(HWND parent, const RECT& rc) {
    DWORD style = WS_CHILD | WS_VISIBLE | WS_BORDER | g_desc.view;
    if (g_desc.noHeader) style |= LVS_NOCOLUMNHEADER;
    if (g_desc.ownerData) style |= LVS_OWNERDATA;
    HWND lv = g_desc.unicode ? CreateWindowExW(0, WC_LISTVIEWW, L"", style, 0, 0, rc.right, rc.bottom, parent,
                                               reinterpret_cast<HMENU>(1), GetModuleHandleW(nullptr), nullptr)
                             : CreateWindowExA(0, WC_LISTVIEWA, "", style, 0, 0, rc.right, rc.bottom, parent,
                                               reinterpret_cast<HMENU>(1), GetModuleHandleA(nullptr), nullptr);
    if (!lv) return nullptr;

    for (std::size_t i = 0; i < g_desc.columns.size(); ++i) {
        if (g_desc.unicode) {
            std::wstring text = toWide(g_desc.columns[i].second);
            LVCOLUMNW col = {};
            col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
            col.cx = g_desc.columns[i].first;
            col.pszText = &text[0];
            col.iSubItem = static_cast<int>(i);
            SendMessageW(lv, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&col));
            continue;
        }
        LVCOLUMNA col = {};
        col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        col.cx = g_desc.columns[i].first;
        col.pszText = &g_desc.columns[i].second[0];
        col.iSubItem = static_cast<int>(i);
        SendMessageA(lv, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&col));
    }
    if (!g_desc.order.empty())
        SendMessageA(lv, LVM_SETCOLUMNORDERARRAY, g_desc.order.size(), reinterpret_cast<LPARAM>(g_desc.order.data()));

    if (g_desc.checkBoxes) SendMessageA(lv, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_CHECKBOXES, LVS_EX_CHECKBOXES);
    const long rows = totalRows();
    if (g_desc.ownerData) {
        SendMessageA(lv, LVM_SETITEMCOUNT, static_cast<WPARAM>(rows), 0);
        setStates(lv);
        return lv;
    }
    SendMessageA(lv, WM_SETREDRAW, FALSE, 0);
    SendMessageA(lv, LVM_SETITEMCOUNT, static_cast<WPARAM>(rows), 0);
    const int columns = std::max<int>(1, std::max<int>(static_cast<int>(g_desc.columns.size()), g_desc.generatedColumns));
    for (long r = 0; r < rows && g_desc.unicode; ++r) {
        for (int c = 0; c < columns; ++c) {
            std::wstring text = toWide(cellText(r, c));
            LVITEMW item = {};
            item.mask = LVIF_TEXT | (g_desc.params && c == 0 ? LVIF_PARAM : 0);
            item.lParam = r + 1;
            item.iItem = static_cast<int>(r);
            item.iSubItem = c;
            item.pszText = &text[0];
            SendMessageW(lv, c == 0 ? LVM_INSERTITEMW : LVM_SETITEMTEXTW, c == 0 ? 0 : static_cast<WPARAM>(r),
                         reinterpret_cast<LPARAM>(&item));
        }
    }
    for (long r = 0; r < rows && !g_desc.unicode; ++r) {
        std::string first = cellText(r, 0);
        LVITEMA item = {};
        item.mask = LVIF_TEXT | (g_desc.params ? LVIF_PARAM : 0);
        item.lParam = r + 1;
        item.iItem = static_cast<int>(r);
        item.pszText = &first[0];
        SendMessageA(lv, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        for (int c = 1; c < columns; ++c) {
            std::string text = cellText(r, c);
            if (text.empty()) continue;
            LVITEMA sub = {};
            sub.iSubItem = c;
            sub.pszText = &text[0];
            SendMessageA(lv, LVM_SETITEMTEXTA, static_cast<WPARAM>(r), reinterpret_cast<LPARAM>(&sub));
        }
    }
    SendMessageA(lv, WM_SETREDRAW, TRUE, 0);
    setStates(lv);
    return lv;
}

LRESULT CALLBACK panelProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_NOTIFYFORMAT:
            return g_desc.unicode ? NFR_UNICODE : NFR_ANSI;
        case WM_NOTIFY: {
            auto* hdr = reinterpret_cast<NMHDR*>(lParam);
            if ((hdr->code == LVN_GETDISPINFOA || hdr->code == LVN_GETDISPINFOW) && g_desc.pace) Sleep(g_desc.pace);
            if (hdr->code == LVN_GETDISPINFOA) {
                auto* info = reinterpret_cast<NMLVDISPINFOA*>(lParam);
                if (info->item.mask & LVIF_TEXT)
                    copyText(info->item.pszText, info->item.cchTextMax, cellText(info->item.iItem, info->item.iSubItem));
                return 0;
            }
            if (hdr->code == LVN_GETDISPINFOW) {  // a list view that asks in wide characters
                auto* info = reinterpret_cast<NMLVDISPINFOW*>(lParam);
                if ((info->item.mask & LVIF_TEXT) && info->item.pszText && info->item.cchTextMax > 0) {
                    const std::string& t = cellText(info->item.iItem, info->item.iSubItem);
                    copyText(info->item.pszText, info->item.cchTextMax, toWide(t));
                }
                return 0;
            }
            break;
        }
        case WM_SIZE: {
            HWND child = GetWindow(hWnd, GW_CHILD);
            if (child) MoveWindow(child, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
            return 0;
        }
        case kHangMessage:
            ReplyMessage(0);
            for (;;) Sleep(INFINITE);
        case WM_CLOSE:
            DestroyWindow(hWnd);
            return 0;
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

bool writeInfo(const char* path, HWND list, HWND top) {
    RECT rc = {};
    GetWindowRect(list, &rc);
    DWORD pid = GetCurrentProcessId();
    std::string tmp = std::string(path) + ".tmp";
    FILE* f = std::fopen(tmp.c_str(), "wb");
    if (!f) return false;
    std::fprintf(f, "%lu %lu %ld %ld %ld %ld %lu\n", static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(list)),
                 static_cast<unsigned long>(pid), rc.left, rc.top, rc.right, rc.bottom,
                 static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(top)));
    std::fclose(f);
    return MoveFileExA(tmp.c_str(), path, MOVEFILE_REPLACE_EXISTING) != 0;
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
    HINSTANCE inst = GetModuleHandleA(nullptr);

    if (g_desc.unicode) {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = panelProc;
        wc.hInstance = inst;
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = L"ZavHostPanel";
        RegisterClassW(&wc);
    } else {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = panelProc;
        wc.hInstance = inst;
        wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = "ZavHostPanel";
        RegisterClassA(&wc);
    }

    HWND top = createPanel(nullptr, g_desc.title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 640, 480);
    if (!top) return 3;
    HWND parent = top;
    for (const std::string& caption : g_desc.nest) {
        RECT rc;
        GetClientRect(parent, &rc);
        parent = createPanel(parent, caption, WS_CHILD | WS_VISIBLE, 0, 0, rc.right, rc.bottom);
    }
    RECT rc;
    GetClientRect(parent, &rc);

    HWND list = nullptr;
    if (!g_desc.fakeClass.empty()) {
        WNDCLASSA fc = {};
        fc.lpfnWndProc = fakeProc;
        fc.hInstance = inst;
        fc.lpszClassName = g_desc.fakeClass.c_str();
        RegisterClassA(&fc);
        list = CreateWindowExA(0, g_desc.fakeClass.c_str(), "", WS_CHILD | WS_VISIBLE, 0, 0, rc.right, rc.bottom, parent,
                               nullptr, inst, nullptr);
    } else {
        list = createListView(parent, rc);
        if (list) installLies(list);
    }
    if (!list) return 4;
    ShowWindow(top, SW_SHOWNORMAL);
    UpdateWindow(top);
    if (!writeInfo(argv[2], list, top)) return 5;

    if (g_desc.hang)
        for (;;) Sleep(INFINITE);

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
