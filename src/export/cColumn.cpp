#include "export/cColumn.h"

#include "core/Error.h"
#include "core/Platform.h"

namespace zav {

std::vector<std::wstring> uniqueColumnNames(const ListViewInfo& info) {
    std::vector<std::wstring> names;
    const auto taken = [&](const std::wstring& name) {
        for (const auto& n : names)
            if (n.size() == name.size() && equalsNoCase(n, name)) return true;
        return false;
    };
    for (std::int32_t i = 1; i <= info.lColumnCount; ++i) {
        if (static_cast<std::size_t>(i) >= info.szColumnText.size())
            throw Error(kErrSubscript, L"uniqueColumnNames", L"Subscript out of range");
        const std::wstring& text = info.szColumnText[static_cast<std::size_t>(i)];
        std::wstring name = text;
        for (std::int32_t n = 1; taken(name); ++n) name = text + std::to_wstring(n);
        names.push_back(std::move(name));
    }
    return names;
}

void cColumn::addReplace(const std::wstring& szNewReplace, const std::wstring& szNewWith) {
    auto rule = std::make_shared<cColumnReplaces>();
    rule->szReplace = szNewReplace;
    rule->szWith = szNewWith;
    replaces.add(szNewReplace, std::move(rule));
}

void cColumn::removeReplace(const std::wstring& szRemoveReplace) { replaces.remove(szRemoveReplace); }

VBool AddReplaceModel::validateReplace() {
    VBool valid = vbTrue;
    if (txtReplace.empty()) {
        reporter_->show(kEmptyMessage, kProgramTitle, MessageIcon::Stop);
        valid = vbFalse;
    }
    if (column_) {
        for (const auto& rule : column_->replaces) {
            if (rule->szReplace.size() == txtReplace.size() && equalsNoCase(rule->szReplace, txtReplace)) {
                reporter_->show(txtReplace + kDuplicateSuffix, kProgramTitle, MessageIcon::Stop);
                valid = vbFalse;
                break;
            }
        }
    }
    return valid;
}

bool AddReplaceModel::okClicked() {
    if (!column_) return false;
    if (validateReplace() == vbFalse) return false;
    column_->addReplace(txtReplace, txtWith);
    return true;
}

}  // namespace zav
