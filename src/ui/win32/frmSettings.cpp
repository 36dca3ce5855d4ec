#include "ui/win32/frmSettings.h"

#include <commdlg.h>
#include <objbase.h>
#include <shlobj.h>

#include <iterator>
#include <string>

#include "core/Error.h"
#include "core/ScopeExit.h"
#include "core/win32/ComUse.h"
#include "core/win32/Controls.h"
#include "core/win32/Dpi.h"
#include "core/win32/FocusKeeper.h"
#include "core/win32/Placement.h"
#include "model/ChangeSettings.h"
#include "settings/SettingsEdit.h"
#include "ui/win32/DialogControls.h"

namespace zav {
namespace {

struct Row {
    const wchar_t* label;
    std::wstring Settings::*field;
    bool folder;
};

// Top to bottom, as settings.ini lists them; control IDs follow the same order.
const Row kRows[] = {
    {L"Exports folder (OutputFolder): where new export types write their files", &Settings::outputFolder, true},
    {L"Catalog file (CatalogFile): which export types fit which columns", &Settings::catalogFile, false},
    {L"Replace rules file (ReplacesFile)", &Settings::replacesFile, false},
    {L"Export types folder (OptionFolder): one file a type", &Settings::optionFolder, true},
};

// Ends the browse dialog's folder tree on the folder the box names (its nearest existing part).
int CALLBACK startAtFolder(HWND dialog, UINT msg, LPARAM, LPARAM data) {
    if (msg == BFFM_INITIALIZED && data) SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, data);
    return 0;
}

}  // namespace

void frmSettings::open(ExportDialogs& dialogs, frmSettings*& current) {
    if (!current) {
        current = new frmSettings(dialogs, current);  // deletes itself when its window is gone
        ShowWindow(current->hwnd(), SW_SHOW);
    }
    win::bringForward(current->hwnd());
    SetFocus(GetDlgItem(current->hwnd(), kTxtOutputFolder));
}

frmSettings::frmSettings(ExportDialogs& dialogs, frmSettings*& current) : dialogs_(dialogs), current_(current) {
    const DWORD style = WS_OVERLAPPEDWINDOW & ~(WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME);
    const DWORD exStyle = WS_EX_CONTROLPARENT;
    const int rowHeight = 660, width = 7500;
    const int rows = static_cast<int>(std::size(kRows));
    const int buttonsTop = 120 + rows * rowHeight + 60;
    RECT rc = {0, 0, win::twipsX(width), win::twipsY(buttonsTop + 495)};
    AdjustWindowRectEx(&rc, style, FALSE, exStyle);
    create(L"ZAVExportSettings", kTitle, style, exStyle, CW_USEDEFAULT, CW_USEDEFAULT, rc.right - rc.left,
           rc.bottom - rc.top);
    const POINT at = win::centredPlace(nullptr, rc.right - rc.left, rc.bottom - rc.top, L"ZAVExportSettings");
    SetWindowPos(hwnd(), nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    const HWND dlg = hwnd();
    for (int i = 0; i < rows; ++i) {
        const int top = 120 + i * rowHeight;
        win::createControl(dlg, L"STATIC", kRows[i].label, 0, 0, -1, 120, top, width - 240, 225);
        win::createControl(dlg, L"EDIT", dialogs.settings.*(kRows[i].field),
                           ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 0, kTxtOutputFolder + i, 120, top + 240,
                           width - 1395, 315);
        win::createControl(dlg, L"BUTTON", L"Browse...", BS_PUSHBUTTON | WS_TABSTOP, 0, kCmdBrowseOutputFolder + i,
                           width - 1155, top + 225, 1035, 345);
    }
    win::createControl(dlg, L"BUTTON", L"OK", BS_PUSHBUTTON | WS_TABSTOP, 0, kCmdOK, width - 2700, buttonsTop, 1245,
                       375);
    win::createControl(dlg, L"BUTTON", L"Cancel", BS_PUSHBUTTON | WS_TABSTOP, 0, kCmdCancel, width - 1365,
                       buttonsTop, 1245, 375);
    for (int i = 0; i < rows; ++i) keepPlainButton(GetDlgItem(dlg, kCmdBrowseOutputFolder + i));
    for (int id : {kCmdOK, kCmdCancel}) keepPlainButton(GetDlgItem(dlg, id));
}

LRESULT frmSettings::onMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        const int id = LOWORD(wParam);
        if (id == kCmdOK) {
            okClicked();
            return 0;
        }
        if (id == kCmdCancel) {
            DestroyWindow(hwnd());
            return 0;
        }
        if (id >= kCmdBrowseOutputFolder && id <= kCmdBrowseOptionFolder) {
            browse(id - kCmdBrowseOutputFolder);
            return 0;
        }
    }
    if (msg == WM_CLOSE) {
        DestroyWindow(hwnd());
        return 0;
    }
    return defaultProc(msg, wParam, lParam);
}

void frmSettings::browse(int row) {
    const HWND box = GetDlgItem(hwnd(), kTxtOutputFolder + row);
    std::wstring now = win::windowText(box);
    if (kRows[row].folder) {
        ComUse com;  // the folder tree is a shell object
        BROWSEINFOW info = {};
        info.hwndOwner = hwnd();
        info.lpszTitle = kRows[row].label;
        info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
        info.lpfn = startAtFolder;
        while (now.size() > 3 && now.back() == L'\\') now.pop_back();
        info.lParam = reinterpret_cast<LPARAM>(now.c_str());
        PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&info);
        if (!chosen) return;
        wchar_t path[MAX_PATH] = L"";
        const BOOL ok = SHGetPathFromIDListW(chosen, path);
        CoTaskMemFree(chosen);
        if (!ok) return;
        std::wstring folder = path;
        if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
        win::setWindowText(box, folder);
        return;
    }
    std::wstring file = now;
    file.resize(MAX_PATH * 4, L'\0');
    OPENFILENAMEW ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = hwnd();
    ofn.lpstrFilter = L"Settings files (*.ini)\0*.ini\0All files (*.*)\0*.*\0";
    ofn.lpstrFile = &file[0];
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrDefExt = L"ini";
    ofn.lpstrTitle = kRows[row].label;
    // An existing file is what the setting may well name: choosing one asks nothing.
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (GetSaveFileNameW(&ofn)) win::setWindowText(box, file.c_str());
}

void frmSettings::okClicked() {
    Settings wanted = dialogs_.settings;
    const int rows = static_cast<int>(std::size(kRows));
    for (int i = 0; i < rows; ++i) wanted.*(kRows[i].field) = win::windowText(GetDlgItem(hwnd(), kTxtOutputFolder + i));
    wanted = tidySettings(wanted);
    // Each open export dialog keeps the settings it was opened with, and a save there would go
    // to the old folders and catalog.
    if (!dialogs_.open.empty()) {
        reporter_.show(L"Close the open export dialogs first: they work with the settings they were opened with.",
                       kProgramTitle, MessageIcon::Information);
        return;
    }
    const std::wstring problem = settingsProblem(dialogs_.storage.fs, wanted);
    if (!problem.empty()) {
        reporter_.show(problem, kProgramTitle, MessageIcon::Stop);
        return;
    }
    try {
        HCURSOR before = SetCursor(LoadCursor(nullptr, IDC_WAIT));
        auto restore = scopeExit([before] { SetCursor(before); });
        dialogs_.settings = ChangeSettings(dialogs_.storage, wanted);
    } catch (const std::exception& e) {
        // settings.ini may hold part of the change: the program goes on with what it reads now.
        reporter_.show(errorReport(e), kProgramTitle, MessageIcon::Stop);
        try {
            dialogs_.settings = readSettings(dialogs_.storage, dialogs_.settings.settingsFile);
        } catch (const std::exception&) {
        }
        return;
    }
    DestroyWindow(hwnd());
}

void frmSettings::onDestroyed() {
    if (current_ == this) current_ = nullptr;
    delete this;
}

}  // namespace zav
