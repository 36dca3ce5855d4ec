#include "app/AboutText.h"

#include <vector>

#include "capture/GridSource.h"
#include "ini/FileInfo.h"

namespace zav {
namespace {

// "a list view, tree view, list box or combo box": the kinds this build reads, in that order.
std::wstring kindsRead() {
    std::vector<std::wstring> names;
    for (ControlKind kind : {ControlKind::ListView, ControlKind::TreeView, ControlKind::ListBox, ControlKind::ComboBox})
        if (controlKindIsRead(kind)) names.push_back(describeControlKind(kind));
    std::wstring text;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0) text += i + 1 == names.size() ? L" or " : L", ";
        text += names[i];
    }
    return text;
}

}  // namespace

std::wstring aboutText(const std::wstring& programFolder) {
    std::wstring help = programFolder;
    if (!help.empty() && help.back() != L'\\') help += L'\\';
    return L"ZAVExport " + versionText() + L"\n\nA right press over a " + kindsRead() +
           L" of any program opens \"Print Grid\", which exports the grid as an HTML, CSV or tab-separated file.\n\n"
           L"ZAVExport64.exe reads the controls of 64-bit and 32-bit programs; "
           L"ZAVExport.exe (32-bit) those of 32-bit programs.\n\nHelp: " + help + L"readme.txt";
}

}  // namespace zav
