// What an export writes, as one value: the format with its settings, the columns and their order,
// the rows, the rules of each column, the number format and the output file. The same start
// functions make a file export or a clipboard copy of it, whoever built it: the export dialog from
// what it shows, "Copy Grid" from a saved export type without any dialog.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "capture/GridSource.h"
#include "core/NumberFormat.h"
#include "core/Platform.h"
#include "exporttype/ExportType.h"
#include "exporttype/ExportTypeFile.h"
#include "format/Columns.h"
#include "format/DelimitedWriter.h"
#include "format/HtmlWriter.h"
#include "ini/Storage.h"
#include "settings/Settings.h"

namespace zav {

struct ExportPlan {
    ExportFormat format = ExportFormat::Html;
    HtmlFragments fragments;    // HTML
    DelimitedOptions delimited;  // CSV and TSV (whose delimiter is the tab)
    // The columns written, in this order (1-based; kCheckedColumn: the rows' check boxes).
    std::vector<std::int32_t> columns;
    // Only the rows selected in the list when the job starts; else every row.
    bool selectedRowsOnly = false;
    // rules[c]: the rules of column c (1-based; index 0 unused; missing: none).
    std::vector<cReplaceList> rules;
    NumberFormat numberFormat;
    std::wstring output;  // the file a file export writes
};

// The columns of a grid an export writes: as the list shows them, without those of zero width
// (displayOrder; every column when all are hidden, index order when the order the capture read
// does not name every column once), or every column in index order; kCheckedColumn first when asked
// for and the grid shows check boxes.
std::vector<std::int32_t> exportedColumns(const ListViewInfo& info, bool displayOrder, bool checkedColumn);

// The rules of each column of the grid by its index (rules[c], 1-based), found under the column's
// unique name; a name the grid does not have is left out.
std::vector<cReplaceList> rulesByColumn(const ListViewInfo& info, const std::vector<ColumnRules>& rules);

// The plan of an export type for a grid: its format and settings, the columns it chooses, and its
// rules (by the unique column names). The number format is the host's.
ExportPlan exportPlanOf(const ExportType& type, const std::vector<ColumnRules>& rules, const ListViewInfo& info,
                        const NumberFormat& numberFormat);

// The CSV delimiter a type without one takes: the host's list separator, or the comma where that
// cannot separate fields (several characters, say).
std::wstring userDelimiter(IHost& host);

// The rules `source` (a type file, or the replaces file) holds for each column of the grid, under
// the columns' unique names, in index order.
std::vector<ColumnRules> columnRulesOf(ExportTypeReader& source, const ListViewInfo& info);

// A saved export type as it applies to a grid: its values (a CSV delimiter it lacks is the user's)
// and the rules of the grid's columns.
struct SavedExportType {
    ExportType type;
    std::vector<ColumnRules> rules;
};
SavedExportType readSavedExportType(const Storage& storage, const Settings& settings, const std::wstring& name,
                                    const ListViewInfo& info);

}  // namespace zav
