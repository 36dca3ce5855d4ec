#include "format/Columns.h"

#include "core/Error.h"

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

}  // namespace zav
