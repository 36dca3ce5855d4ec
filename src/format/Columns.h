// The columns of a grid and their replace rules: one replace rule (cColumnReplaces), one column
// with its ordered rules (cColumn), a list of columns, and the unique names a column's rules are
// kept under.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "capture/GridSource.h"
#include "format/KeyedList.h"

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

}  // namespace zav
