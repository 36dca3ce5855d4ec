// The small dialog in which a new replace rule is typed (frmExportOptionsAddReplace), without its
// window.
#pragma once

#include <memory>
#include <string>

#include "core/Platform.h"
#include "core/Types.h"
#include "format/Columns.h"

namespace zav {

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
