#include "ui/win32/frmExportOptions.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>

#include <algorithm>

#include "core/Error.h"
#include "core/Platform.h"
#include "core/ScopeExit.h"
#include "core/win32/Controls.h"
#include "core/win32/Dpi.h"
#include "core/win32/Placement.h"
#include "text/Ansi.h"
#include "ui/win32/DialogControls.h"
#include "ui/win32/frmExportOptionsAddReplace.h"

namespace zav {
namespace {

using win::createControl;

// The tab control's origin in the dialog: page controls are placed relative to it.
constexpr int kTabLeft = 60, kTabTop = 60;
constexpr const wchar_t* kOptionsClass = L"ZAVExportOptions";

// The controls' styles: every control but the labels is a tab stop.
constexpr DWORD kTabStop = WS_TABSTOP;
constexpr DWORD kEditStyle = ES_AUTOHSCROLL | WS_BORDER | kTabStop;
constexpr DWORD kButtonStyle = BS_PUSHBUTTON | kTabStop;
constexpr DWORD kMultiLineStyle = ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL | WS_VSCROLL | WS_BORDER | kTabStop;

// The list's edit field takes no typing: every character (and paste, cut, delete) is swallowed.
LRESULT CALLBACK swallowTyping(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) noexcept {
    switch (msg) {
        case WM_CHAR:
        case WM_PASTE:
        case WM_CUT:
        case WM_CLEAR:
        case WM_UNDO:
            return 0;
        case WM_KEYDOWN:
            if (wParam == VK_DELETE) return 0;
            break;
        default: break;
    }
    return DefSubclassProc(hwnd, msg, wParam, lParam);
}

COLORREF blend(COLORREF a, COLORREF b) {
    return RGB((GetRValue(a) + GetRValue(b)) / 2, (GetGValue(a) + GetGValue(b)) / 2, (GetBValue(a) + GetBValue(b)) / 2);
}

void addListColumn(HWND list, int index, const wchar_t* heading, int widthTwips) {
    LVCOLUMNW column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = const_cast<wchar_t*>(heading);
    column.cx = win::twipsX(widthTwips);
    SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column));
}

void selectListItem(HWND list, int index) {
    ListView_SetItemState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    if (index >= 0) ListView_SetItemState(list, index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

int selectedListItem(HWND list) { return ListView_GetNextItem(list, -1, LVNI_SELECTED); }

// The list shows `rows` (a text for each of its columns) and nothing else, `selected` selected
// (-1: none).
void showListRows(HWND list, const std::vector<std::vector<std::wstring>>& rows, int selected) {
    ListView_DeleteAllItems(list);
    for (std::size_t r = 0; r < rows.size(); ++r) {
        LVITEMW item = {};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(r);
        for (std::size_t c = 0; c < rows[r].size(); ++c) {
            item.iSubItem = static_cast<int>(c);
            item.pszText = const_cast<wchar_t*>(rows[r][c].c_str());
            if (c == 0)
                SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
            else
                SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(r), reinterpret_cast<LPARAM>(&item));
        }
    }
    selectListItem(list, selected);
}

}  // namespace

void ExportDialogs::openExportOptions(const GridTarget& target) { frmExportOptions::open(*this, target); }

bool ExportDialogs::exportRunning() const {
    for (const frmExportOptions* dialog : open)
        if (dialog->exporting()) return true;
    return false;
}

void ExportDialogs::stopExports() {
    for (frmExportOptions* dialog : open) dialog->abandonExport();
}

void ExportDialogs::closeAll() {
    stopExports();
    if (addReplace) DestroyWindow(addReplace->hwnd());
    // Each dialog leaves the list as its window goes.
    while (!open.empty()) DestroyWindow(open.back()->hwnd());
}

void frmExportOptions::abandonExport() {
    if (!run_) return;
    try {
        run_->abandon();
    } catch (const std::exception&) {
        // The catalog could not be written: it is rebuilt at the next start.
    }
    endExport();
}

frmExportOptions::~frmExportOptions() {
    auto& open = dialogs_.open;
    open.erase(std::remove(open.begin(), open.end(), this), open.end());
}

void frmExportOptions::open(ExportDialogs& dialogs, const GridTarget& target) {
    auto* dialog = new frmExportOptions(dialogs);  // deletes itself when its window is gone
    dialogs.open.push_back(dialog);
    {
        auto unmade = scopeExit([&] { DestroyWindow(dialog->hwnd()); });
        dialog->model_.populateExportOptions(target);
        dialog->showModel();
        // Centred on the screen of the list view, not over another dialog standing there.
        RECT rc;
        GetWindowRect(dialog->hwnd(), &rc);
        const POINT at = win::centredPlace(reinterpret_cast<HWND>(target.window), rc.right - rc.left, rc.bottom - rc.top,
                                           kOptionsClass);
        SetWindowPos(dialog->hwnd(), nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        unmade.dismiss();
    }
    ShowWindow(dialog->hwnd(), SW_SHOW);
    SetForegroundWindow(dialog->hwnd());
    SetFocus(dialog->control(kCmbExportTypes));
    // A control that could not be read is said at once, not offered as an empty export.
    const std::wstring problem = dialog->model_.captureProblem();
    if (!problem.empty())
        dialog->reporter_.show(L"This " + dialog->model_.controlName() + L" cannot be exported. " + problem,
                               kProgramTitle, MessageIcon::Stop);
}

frmExportOptions::frmExportOptions(ExportDialogs& dialogs)
    : dialogs_(dialogs), model_(dialogs.storage, dialogs.settings, dialogs.captures, dialogs.windows, reporter_) {
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    const DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
    RECT rc = {0, 0, win::twipsX(5460), win::twipsY(4350)};
    AdjustWindowRectEx(&rc, style, FALSE, exStyle);
    create(kOptionsClass, L"LV Export Options", style, exStyle, CW_USEDEFAULT, CW_USEDEFAULT, rc.right - rc.left,
           rc.bottom - rc.top);
    createControls();
}

// The controls are made in tab order, which is creation order: the tab control, the pages' controls,
// then the buttons and the progress display.
void frmExportOptions::createControls() {
    HWND tabs = createTabs();
    createOptionsPage();
    createFormatPage();
    createFilePage();
    createButtonsAndProgress();
    SetWindowPos(tabs, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    // A multi-line box in a dialog asks the dialog to close on Escape ("Cancel?"): not these.
    for (int id : {kTxtHTMLHeader, kTxtHTMLFooter}) ignoreEscape(control(id));
    for (int id : {kCmdNewExportType, kCmdBrowseFile, kCmdAddReplace, kCmdRemoveReplace, kCmdHelp, kCmdOK, kCmdCancel})
        keepPlainButton(control(id));
    showPage(0);
}

// The tab control lies under its pages' controls (createControls moves it to the bottom of the
// z-order) and leaves them out of its painting. The tab order is a ring, so the tab control at its
// end still comes just before the first control, as the first stop.
HWND frmExportOptions::createTabs() {
    HWND tabs = createControl(hwnd(), WC_TABCONTROLW, L"", WS_CLIPSIBLINGS | kTabStop, 0, kTabOptions, kTabLeft,
                              kTabTop, 5355, 3825);
    TCITEMW item = {};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(L"Options");
    SendMessageW(tabs, TCM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    item.pszText = const_cast<wchar_t*>(L"Format");
    SendMessageW(tabs, TCM_INSERTITEMW, 1, reinterpret_cast<LPARAM>(&item));
    item.pszText = const_cast<wchar_t*>(L"File");
    SendMessageW(tabs, TCM_INSERTITEMW, 2, reinterpret_cast<LPARAM>(&item));
    return tabs;
}

// Tab "Options": the export type, the output file, the columns and their replace rules.
void frmExportOptions::createOptionsPage() {
    const HWND dlg = hwnd();
    const DWORD edit = kEditStyle, button = kButtonStyle, tab = kTabStop;
    const int L = kTabLeft, T = kTabTop;
    auto page = [&](HWND h) { pages_[0].push_back(h); };
    page(createControl(dlg, L"STATIC", L"Compatible Export Types", 0, 0, kLblCompatibleTypes, L + 60, T + 360, 5265,
                       225));
    HWND cmb = createControl(dlg, L"COMBOBOX", L"", CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | tab, 0,
                             kCmbExportTypes, L + 60, T + 600, 4155, 315 + 1800);
    page(cmb);
    COMBOBOXINFO info = {};
    info.cbSize = sizeof info;
    if (GetComboBoxInfo(cmb, &info) && info.hwndItem) SetWindowSubclass(info.hwndItem, swallowTyping, 1, 0);
    page(createControl(dlg, L"BUTTON", L"New", button, 0, kCmdNewExportType, L + 4230, T + 600, 1035, 315));
    page(createControl(dlg, L"STATIC", L"Export Type (Change to save to a new name)", 0, 0, -1, L + 60, T + 990,
                          5265, 225));
    page(createControl(dlg, L"EDIT", L"", edit, 0, kTxtExportType, L + 60, T + 1230, 5205, 315));
    page(createControl(dlg, L"STATIC", L"Output File", 0, 0, -1, L + 60, T + 1620, 2685, 225));
    page(createControl(dlg, L"EDIT", L"", edit, 0, kTxtOutput, L + 60, T + 1860, 4155, 315));
    page(createControl(dlg, L"BUTTON", L"Browse", button, 0, kCmdBrowseFile, L + 4230, T + 1860, 1035, 315));
    const DWORD list = LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_BORDER | tab;
    HWND columns = createControl(dlg, WC_LISTVIEWW, L"", list, 0, kLvColumns, L + 60, T + 2250, 1485, 1155);
    addListColumn(columns, 0, L"Column", 1440);
    ListView_SetExtendedListViewStyle(columns, LVS_EX_FULLROWSELECT);
    page(columns);
    HWND replaces = createControl(dlg, WC_LISTVIEWW, L"", list, 0, kLvReplaces, L + 1560, T + 2250, 3705, 1155);
    addListColumn(replaces, 0, L"Replace", 1800);
    addListColumn(replaces, 1, L"With", 1800);
    ListView_SetExtendedListViewStyle(replaces, LVS_EX_FULLROWSELECT);
    page(replaces);
    page(createControl(dlg, L"BUTTON", L"Add", button, 0, kCmdAddReplace, L + 3060, T + 3420, 1065, 315));
    page(createControl(dlg, L"BUTTON", L"Remove...", button, 0, kCmdRemoveReplace, L + 4170, T + 3420, 1065, 315));
}

// Tab "Format": the HTML fragments the table is written with.
void frmExportOptions::createFormatPage() {
    const HWND dlg = hwnd();
    const DWORD edit = kEditStyle, multi = kMultiLineStyle;
    const int L = kTabLeft, T = kTabTop;
    auto page = [&](HWND h) { pages_[1].push_back(h); };
    page(createControl(dlg, L"STATIC", L"HTML Header", 0, 0, -1, L + 60, T + 360, 2685, 225));
    page(createControl(dlg, L"EDIT", L"", multi, 0, kTxtHTMLHeader, L + 60, T + 600, 5235, 525));
    page(createControl(dlg, L"STATIC", L"Table Format (HTML Table Format)", 0, 0, -1, L + 60, T + 1200, 2685, 225));
    page(createControl(dlg, L"EDIT", L"", edit, 0, kTxtTableFormat, L + 60, T + 1440, 5235, 315));
    page(createControl(dlg, L"STATIC", L"Header Format (HTML TD Format):", 0, 0, -1, L + 60, T + 1770, 2685, 225));
    page(createControl(dlg, L"EDIT", L"", edit, 0, kTxtHeaderFormat, L + 60, T + 2010, 5235, 315));
    page(createControl(dlg, L"STATIC", L"Data Format (HTML TD Format):", 0, 0, -1, L + 60, T + 2370, 2685, 225));
    page(createControl(dlg, L"EDIT", L"", edit, 0, kTxtDataFormat, L + 60, T + 2610, 5235, 315));
    page(createControl(dlg, L"STATIC", L"HTML Footer", 0, 0, -1, L + 60, T + 3000, 2685, 225));
    page(createControl(dlg, L"EDIT", L"", multi, 0, kTxtHTMLFooter, L + 60, T + 3210, 5235, 525));
}

// The file formats in the order the format list shows them.
constexpr ExportFormat kFileFormats[] = {ExportFormat::Html, ExportFormat::Csv, ExportFormat::Tsv, ExportFormat::Json,
                                         ExportFormat::Xml};
constexpr int kFileFormatCount = static_cast<int>(sizeof kFileFormats / sizeof kFileFormats[0]);

// Tab "File": the file's format, the settings of CSV and tab-separated text, and which columns go
// into the file.
void frmExportOptions::createFilePage() {
    const HWND dlg = hwnd();
    const DWORD check = BS_AUTOCHECKBOX | kTabStop;
    const int L = kTabLeft, T = kTabTop;
    auto page = [&](HWND h) { pages_[2].push_back(h); };
    page(createControl(dlg, L"STATIC", L"File Format", 0, 0, -1, L + 60, T + 360, 2685, 225));
    HWND formats = createControl(dlg, L"COMBOBOX", L"", CBS_DROPDOWNLIST | WS_VSCROLL | kTabStop, 0, kCmbFileFormat,
                                 L + 60, T + 600, 2685, 315 + 1350);
    for (const wchar_t* name : {L"HTML", L"CSV", L"Tab-separated text", L"JSON", L"XML"})
        SendMessageW(formats, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    page(formats);
    page(createControl(dlg, L"STATIC", L"CSV Delimiter", 0, 0, -1, L + 60, T + 1020, 2685, 225));
    page(createControl(dlg, L"EDIT", L"", kEditStyle, 0, kTxtDelimiter, L + 60, T + 1260, 600, 315));
    page(createControl(dlg, L"BUTTON", L"ANSI code page instead of UTF-8 (CSV, text)", check, 0, kChkAnsi, L + 60,
                       T + 1680, 5205, 255));
    page(createControl(dlg, L"BUTTON", L"Formula safety: ' before = + - @ (CSV, text)", check, 0, kChkFormulaSafety,
                       L + 60, T + 2010, 5205, 255));
    page(createControl(dlg, L"BUTTON", L"Columns as the list shows them, without hidden ones", check, 0,
                       kChkDisplayOrder, L + 60, T + 2340, 5205, 255));
    page(createControl(dlg, L"BUTTON", L"Open the file after the export", check, 0, kChkOpenAfterExport, L + 60,
                       T + 2670, 5205, 255));
    page(createControl(dlg, L"BUTTON", L"Only the selected rows", check, 0, kChkSelectedRows, L + 60, T + 3000, 5205,
                       255));
    page(createControl(dlg, L"BUTTON", L"A first column \"Checked\" (lists with check boxes)", check, 0,
                       kChkCheckedColumn, L + 60, T + 3330, 5205, 255));
}

void frmExportOptions::fileSettingClicked(int id) {
    const bool on = SendMessageW(control(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
    if (id == kChkAnsi) model_.ansiEncoding = on;
    if (id == kChkFormulaSafety) model_.formulaSafety = on;
    if (id == kChkDisplayOrder) model_.displayOrder = on;
    if (id == kChkOpenAfterExport) model_.openAfterExport = on;
    if (id == kChkSelectedRows) model_.selectedRowsOnly = on;
    if (id == kChkCheckedColumn) model_.checkedColumn = on;
}

namespace {

// The file with the program its type is associated with; without one, the folder that holds it.
void openWritten(const std::wstring& file) {
    const auto opened = reinterpret_cast<INT_PTR>(ShellExecuteW(nullptr, L"open", file.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    if (opened > 32) return;
    const std::size_t slash = file.find_last_of(L"\\/");
    if (slash == std::wstring::npos) return;
    const std::wstring folder = file.substr(0, slash);
    ShellExecuteW(nullptr, L"open", folder.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace

// The buttons under the pages, and the export's progress between Help and OK, shown only while a
// long export runs.
void frmExportOptions::createButtonsAndProgress() {
    const HWND dlg = hwnd();
    const DWORD button = kButtonStyle;
    createControl(dlg, L"BUTTON", L"Help", button, 0, kCmdHelp, 60, 3930, 1245, 375);
    createControl(dlg, L"BUTTON", L"OK", button, 0, kCmdOK, 2880, 3930, 1245, 375);
    createControl(dlg, L"BUTTON", L"Cancel", button, 0, kCmdCancel, 4170, 3930, 1245, 375);
    ShowWindow(createControl(dlg, PROGRESS_CLASSW, L"", PBS_SMOOTH, 0, kPrgExport, 1380, 3945, 1425, 165), SW_HIDE);
    ShowWindow(createControl(dlg, L"STATIC", L"", SS_CENTER, 0, kLblExport, 1380, 4125, 1425, 195), SW_HIDE);
}

void frmExportOptions::showPage(int page) {
    for (int p = 0; p < 3; ++p)
        for (HWND h : pages_[p]) ShowWindow(h, p == page ? SW_SHOW : SW_HIDE);
    TabCtrl_SetCurSel(control(kTabOptions), page);
}

bool frmExportOptions::nameHasSlash() const {
    return model_.txtExportType().find_first_of(L"\\/") != std::wstring::npos;
}

LRESULT frmExportOptions::onMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (run_ && SlicedRun::isSlice(msg, wParam)) {
        exportTick();
        return 0;
    }
    switch (msg) {
        case WM_COMMAND:
            onCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
            return 0;
        case WM_NOTIFY:
            return onNotify(*reinterpret_cast<NMHDR*>(lParam));
        case WM_CTLCOLORSTATIC: {
            HBRUSH brush = pageBrushFor(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam));
            if (brush) return reinterpret_cast<LRESULT>(brush);
            break;
        }
        case WM_THEMECHANGED:
        case WM_SYSCOLORCHANGE:
            pageBrush_.reset();
            pageImage_.reset();
            break;
        case WM_ACTIVATE:
            if (LOWORD(wParam) != WA_INACTIVE) {
                // Rules added in the add dialog meanwhile appear now.
                model_.activated();
                showReplaces();
            }
            break;
        case WM_APP:  // the name box keeps the focus after its check
            SetFocus(control(kTxtExportType));
            return 0;
        case WM_CLOSE:
            // While the export runs, closing stops it and the dialog stays with its edits.
            if (run_) {
                stopExport();
                return 0;
            }
            if (model_.queryClose()) DestroyWindow(hwnd());
            return 0;
        default: break;
    }
    return defaultProc(msg, wParam, lParam);
}

void frmExportOptions::onCommand(int id, int code, HWND) {
    if (updating_) return;
    if (code == BN_CLICKED && nameHasSlash() && id != kTabOptions) {
        // The name box is being sent back the focus: a click elsewhere is lost.
        PostMessageW(hwnd(), WM_APP, 0, 0);
        return;
    }
    switch (id) {
        case kCmbExportTypes:
            if (code == CBN_SELCHANGE) exportTypeChosen();
            return;
        case kCmbFileFormat:
            if (code == CBN_SELCHANGE) {
                const auto index = SendMessageW(control(kCmbFileFormat), CB_GETCURSEL, 0, 0);
                if (index >= 0 && index < kFileFormatCount) model_.setFormat(kFileFormats[index]);
                auto filling = scopedValue(updating_, true);
                win::setWindowText(control(kTxtOutput), model_.txtOutput);  // its extension follows
            }
            return;
        case kTxtExportType:
            nameBoxCommand(code);
            return;
        case kTxtOutput:
        case kTxtDelimiter:
        case kTxtHTMLHeader:
        case kTxtTableFormat:
        case kTxtHeaderFormat:
        case kTxtDataFormat:
        case kTxtHTMLFooter:
            if (code == EN_CHANGE) fieldChanged(id);
            return;
        case kChkAnsi:
        case kChkFormulaSafety:
        case kChkDisplayOrder:
        case kChkOpenAfterExport:
        case kChkSelectedRows:
        case kChkCheckedColumn:
            if (code == BN_CLICKED) fileSettingClicked(id);
            return;
        default: break;
    }
    if (code == BN_CLICKED) buttonClicked(id);
}

void frmExportOptions::exportTypeChosen() {
    const int index = static_cast<int>(SendMessageW(control(kCmbExportTypes), CB_GETCURSEL, 0, 0));
    if (index >= 0) {
        model_.selectExportType(index);
        showModel();
    }
}

void frmExportOptions::nameBoxCommand(int code) {
    if (code == EN_CHANGE) fieldChanged(kTxtExportType);
    // Checked when the focus moves to another control of this dialog (not when the dialog itself
    // loses the focus, for example to the "Cancel?" question).
    if (code == EN_KILLFOCUS && !checkingName_ && IsChild(hwnd(), GetFocus())) {
        checkingName_ = true;
        const bool ok = model_.validateExportTypeText();
        checkingName_ = false;
        if (!ok) PostMessageW(hwnd(), WM_APP, 0, 0);
    }
}

void frmExportOptions::buttonClicked(int id) {
    switch (id) {
        case kCmdNewExportType:
            model_.newExportType();
            showModel();
            break;
        case kCmdBrowseFile: browseOutput(); break;
        case kCmdAddReplace:
            frmExportOptionsAddReplace::openFor(dialogs_, model_, hwnd());
            break;
        case kCmdRemoveReplace:
            model_.removeReplaceClicked();
            showReplaces();
            break;
        case kCmdHelp: model_.helpClicked(); break;
        case kCmdOK:
            startExport();
            break;
        case kCmdCancel:
            if (run_)
                stopExport();  // the button says "Stop" while the export runs
            else
                PostMessageW(hwnd(), WM_CLOSE, 0, 0);
            break;
        default: break;
    }
}

// "Browse": the system's save-file dialog, opened on the output file as it stands, fills the box.
void frmExportOptions::browseOutput() {
    const std::wstring extension = frmExportOptionsModel::extensionOf(model_.format());  // ".csv"
    const std::wstring pattern = L"*" + extension;
    std::wstring filter = pattern + L" files" + L'\0' + pattern + L'\0' + L"All files" + L'\0' + L"*.*" + L'\0';
    // Room for a long path; the box's text is where the dialog starts.
    std::wstring file = model_.txtOutput;
    file.resize(std::max<std::size_t>(file.size() + 1, 32768), L'\0');
    OPENFILENAMEW ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = hwnd();
    ofn.lpstrFilter = filter.c_str();
    ofn.lpstrFile = &file[0];
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrDefExt = extension.c_str() + 1;
    ofn.lpstrTitle = L"Output File";
    // The export replaces the file each time: choosing an existing one asks nothing.
    ofn.Flags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!GetSaveFileNameW(&ofn)) {
        // Cancel is no error; a dialog that could not open is.
        if (const DWORD error = CommDlgExtendedError())
            throw Error(kErrFileAccess, L"GetSaveFileName", L"The file dialog failed (" + std::to_wstring(error) + L")");
        return;
    }
    model_.txtOutput = file.c_str();
    auto filling = scopedValue(updating_, true);
    win::setWindowText(control(kTxtOutput), model_.txtOutput);
}

void frmExportOptions::startExport() {
    if (run_) return;
    // A failed save raises: the handler's edge reports it and the dialog stays.
    if (!model_.okSaving()) return;
    SlicedRun::Progress progress;
    progress.bar = control(kPrgExport);
    progress.text = control(kLblExport);
    progress.stopButton = control(kCmdCancel);
    for (HWND child = GetWindow(hwnd(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (child != progress.stopButton && child != progress.bar && child != progress.text)
            progress.frozen.push_back(child);
    auto rebuild = model_.startCatalogRebuild();
    {
        // An export that cannot start (its error is on its way to the user) still leaves the save
        // complete: the catalog is rebuilt at once.
        auto completeSave = scopeExit([&] {
            try {
                rebuild->finish();
            } catch (const std::exception&) {
            }
        });
        export_ = model_.startExport();
        completeSave.dismiss();
    }
    auto dropExport = scopeExit([&] { export_.reset(); });
    run_ = std::make_unique<SlicedRun>(hwnd(), std::move(rebuild), *export_, std::move(progress));
    dropExport.dismiss();
}

void frmExportOptions::exportTick() {
    // A failed export ends the run (nothing lost: the previous file stays) before it is reported.
    auto endRun = scopeExit([&] { endExport(); });
    const SlicedRun::State state = run_->onTimer();
    if (state == SlicedRun::State::Running) {
        endRun.dismiss();
        return;
    }
    // Ended here, not on the way out: once the export is done the window goes, and this object with it.
    endRun.dismiss();
    endExport();
    if (state == SlicedRun::State::Stopped) {
        model_.exportStopped();
        return;
    }
    model_.bOK = vbTrue;
    const std::wstring open = model_.fileToOpen();  // the model goes with the window
    DestroyWindow(hwnd());
    if (!open.empty()) openWritten(open);
}

void frmExportOptions::endExport() {
    run_.reset();
    export_.reset();
}

void frmExportOptions::stopExport() {
    // While the catalog is still being rebuilt, the run stops once it is written (exportTick).
    if (!run_->stop()) return;
    endExport();
    model_.exportStopped();
}

LRESULT frmExportOptions::onNotify(NMHDR& header) {
    if (header.code == NM_CUSTOMDRAW && (header.idFrom == kLvColumns || header.idFrom == kLvReplaces))
        return drawListItem(reinterpret_cast<NMLVCUSTOMDRAW&>(header));
    if (updating_) return 0;
    if (header.idFrom == kTabOptions && header.code == TCN_SELCHANGE) {
        showPage(TabCtrl_GetCurSel(header.hwndFrom));
        return 0;
    }
    if (header.code != LVN_ITEMCHANGED) return 0;
    const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
    if (!(change.uChanged & LVIF_STATE) || ((change.uNewState ^ change.uOldState) & LVIS_SELECTED) == 0) return 0;
    if (header.idFrom == kLvColumns) {
        model_.selectColumn(selectedListItem(header.hwndFrom));
        showReplaces();
    } else if (header.idFrom == kLvReplaces) {
        model_.selectReplace(selectedListItem(header.hwndFrom));
    }
    return 0;
}

// A list without the focus shows its selected row in a lighter shade of the selection colour
// (the list view's own pale grey is hardly seen on white).
LRESULT frmExportOptions::drawListItem(NMLVCUSTOMDRAW& draw) const {
    if (draw.nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
    if (draw.nmcd.dwDrawStage != CDDS_ITEMPREPAINT) return CDRF_DODEFAULT;
    HWND list = draw.nmcd.hdr.hwndFrom;
    const int item = static_cast<int>(draw.nmcd.dwItemSpec);
    if (GetFocus() != list && ListView_GetItemState(list, item, LVIS_SELECTED)) {
        draw.nmcd.uItemState &= ~CDIS_SELECTED;
        draw.clrText = GetSysColor(COLOR_WINDOWTEXT);
        draw.clrTextBk = blend(GetSysColor(COLOR_HIGHLIGHT), GetSysColor(COLOR_WINDOW));
    }
    return CDRF_DODEFAULT;
}

// The labels of the tab pages are painted with the page under them: the tab control's own
// drawing, taken once into a bitmap, as a brush aligned to the label.
HBRUSH frmExportOptions::pageBrushFor(HWND label, HDC dc) {
    bool onPage = false;
    for (const auto& page : pages_)
        for (HWND h : page) onPage = onPage || h == label;
    if (!onPage) return nullptr;
    HWND tabs = control(kTabOptions);
    if (!pageBrush_) {
        RECT rc;
        GetClientRect(tabs, &rc);
        UniqueMemoryDC memory;
        {
            const UniqueWindowDC screen = windowDC(tabs);
            memory.reset(CreateCompatibleDC(screen.get().dc));
            pageImage_.reset(CreateCompatibleBitmap(screen.get().dc, rc.right, rc.bottom));
        }
        if (!memory || !pageImage_) return nullptr;
        {
            const UniqueSelection drawing = selectInto(memory.get(), pageImage_.get());
            FillRect(memory.get(), &rc, GetSysColorBrush(COLOR_BTNFACE));
            SendMessageW(tabs, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory.get()), PRF_CLIENT);
        }
        memory.reset();
        pageBrush_.reset(CreatePatternBrush(pageImage_.get()));
        if (!pageBrush_) return nullptr;
    }
    POINT origin = {0, 0};
    MapWindowPoints(tabs, label, &origin, 1);
    SetBrushOrgEx(dc, origin.x, origin.y, nullptr);
    SetBkMode(dc, TRANSPARENT);
    return pageBrush_.get();
}

void frmExportOptions::fieldChanged(int id) {
    if (updating_) return;
    const std::wstring text = win::windowText(control(id));
    switch (id) {
        case kTxtExportType: {
            model_.setExportTypeText(text);  // derives the output file
            auto filling = scopedValue(updating_, true);
            win::setWindowText(control(kTxtOutput), model_.txtOutput);
            break;
        }
        case kTxtOutput: model_.txtOutput = text; break;
        case kTxtHTMLHeader: model_.txtHTMLHeader = text; break;
        case kTxtTableFormat: model_.txtTableFormat = text; break;
        case kTxtHeaderFormat: model_.txtHeaderFormat = text; break;
        case kTxtDataFormat: model_.txtDataFormat = text; break;
        case kTxtHTMLFooter: model_.txtHTMLFooter = text; break;
        case kTxtDelimiter: model_.txtDelimiter = text; break;
        default: break;
    }
}

void frmExportOptions::showModel() {
    SetDlgItemTextW(hwnd(), kLblCompatibleTypes, model_.compatibleTypesLabel().c_str());
    showTypeList();
    showFields();
    showColumns();
    showReplaces();
}

void frmExportOptions::showTypeList() {
    auto filling = scopedValue(updating_, true);
    HWND cmb = control(kCmbExportTypes);
    SendMessageW(cmb, CB_RESETCONTENT, 0, 0);
    for (const auto& name : model_.exportTypeItems())
        SendMessageW(cmb, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    SendMessageW(cmb, CB_SETCURSEL, static_cast<WPARAM>(model_.selectedExportType()), 0);
    if (model_.selectedExportType() < 0) win::setWindowText(cmb, model_.exportTypeListText());
}

void frmExportOptions::showFields() {
    auto filling = scopedValue(updating_, true);
    win::setWindowText(control(kTxtExportType), model_.txtExportType());
    win::setWindowText(control(kTxtOutput), model_.txtOutput);
    win::setWindowText(control(kTxtHTMLHeader), model_.txtHTMLHeader);
    win::setWindowText(control(kTxtTableFormat), model_.txtTableFormat);
    win::setWindowText(control(kTxtHeaderFormat), model_.txtHeaderFormat);
    win::setWindowText(control(kTxtDataFormat), model_.txtDataFormat);
    win::setWindowText(control(kTxtHTMLFooter), model_.txtHTMLFooter);
    int format = 0;
    for (int i = 0; i < kFileFormatCount; ++i)
        if (kFileFormats[i] == model_.format()) format = i;
    SendMessageW(control(kCmbFileFormat), CB_SETCURSEL, static_cast<WPARAM>(format), 0);
    win::setWindowText(control(kTxtDelimiter), model_.txtDelimiter);
    auto check = [&](int id, bool on) { SendMessageW(control(id), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0); };
    check(kChkAnsi, model_.ansiEncoding);
    check(kChkFormulaSafety, model_.formulaSafety);
    check(kChkDisplayOrder, model_.displayOrder);
    check(kChkOpenAfterExport, model_.openAfterExport);
    check(kChkSelectedRows, model_.selectedRowsOnly);
    check(kChkCheckedColumn, model_.checkedColumn);
}

void frmExportOptions::showColumns() {
    auto filling = scopedValue(updating_, true);
    std::vector<std::vector<std::wstring>> rows;
    for (const auto& name : model_.columnItems()) rows.push_back({name});
    showListRows(control(kLvColumns), rows, model_.selectedColumn());
}

void frmExportOptions::showReplaces() {
    auto filling = scopedValue(updating_, true);
    std::vector<std::vector<std::wstring>> rows;
    for (const auto& rule : model_.replaceItems()) rows.push_back({rule.first, rule.second});
    showListRows(control(kLvReplaces), rows, model_.selectedReplace());
}

}  // namespace zav
