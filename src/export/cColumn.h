// The column model of the export options dialog: one replace rule (cColumnReplaces), one list-view
// column with its ordered rules (cColumn), the dialog's column list, and the model of the small
// dialog in which a new rule is typed (frmExportOptionsAddReplace).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "capture/GridSource.h"
#include "core/Platform.h"
#include "core/Types.h"
#include "export/KeyedList.h"

namespace zav {

class cColumnReplaces {
public:
    std::wstring szReplace;  // the text to look for
    std::wstring szWith;     // the text put in its place (may be empty)
};

using cReplaceList = cKeyedList<cColumnReplaces>;

class cColumn {
public:
    std::wstring szName;      // unique name: header text plus a number when repeated
    cReplaceList replaces;    // key = szReplace, letter case ignored
    std::int32_t lColNum = 0; // 1-based position in the list view

    // Appends a rule under szNewReplace; raises kErrDuplicateKey when that key is present.
    void addReplace(const std::wstring& szNewReplace, const std::wstring& szNewWith);
    // Removes the rule under that key; raises kErrSubscript when there is none.
    void removeReplace(const std::wstring& szRemoveReplace);
};

using cColumnList = cKeyedList<cColumn>;

// The unique names of a grid's columns 1..lColumnCount (given 0-based): the header text, with a
// number after it when an earlier column has that name already. Names are compared without regard
// to letter case, as the column list's keys and a type file's rule sections are: 'Name' and 'name'
// become 'Name' and 'name1'. A column's rules are kept under its name.
std::vector<std::wstring> uniqueColumnNames(const ListViewInfo& info);

// The add-rule dialog without its window: the column it adds to, its two text boxes, and OK.
class AddReplaceModel {
public:
    static constexpr const wchar_t* kEmptyMessage = L"You must enter what you want to replace!";
    static constexpr const wchar_t* kDuplicateSuffix = L" is already being replaced!";

    // Its refusals go to the user through `reporter` (the add dialog's own).
    explicit AddReplaceModel(IReporter& reporter) : reporter_(&reporter) {}

    // Remembers the column the rule goes to (the dialog's addReplace(cCol)); the typed texts stay.
    void addReplace(std::shared_ptr<cColumn> cCol) { column_ = std::move(cCol); }
    const std::shared_ptr<cColumn>& column() const { return column_; }

    std::wstring txtReplace;
    std::wstring txtWith;

    // Checks the entry, showing each refusal (stop icon, the program's title). An empty text and
    // a text the column already replaces (in any letter case: rules are keyed without regard to
    // it) are refused.
    VBool validateReplace();
    // OK: when valid, adds the rule to the column and returns true (the dialog then closes).
    bool okClicked();

private:
    IReporter* reporter_;
    std::shared_ptr<cColumn> column_;
};

}  // namespace zav
