#include "job/ExportPlan.h"

#include <algorithm>

#include "text/Ansi.h"

namespace zav {
namespace {

// The columns of the list itself, without the check boxes.
std::vector<std::int32_t> listColumns(const ListViewInfo& info, bool displayOrder) {
    const std::int32_t count = std::max<std::int32_t>(0, info.lColumnCount);
    if (!displayOrder) return indexOrder(count);
    // The order the capture read, when it names every column once; else index order.
    std::vector<std::int32_t> order = info.lColumnOrder;
    std::vector<bool> seen(static_cast<std::size_t>(count) + 1, false);
    bool whole = order.size() == static_cast<std::size_t>(count);
    for (std::int32_t c : order) {
        if (!whole || c < 1 || c > count || seen[static_cast<std::size_t>(c)]) {
            whole = false;
            break;
        }
        seen[static_cast<std::size_t>(c)] = true;
    }
    if (!whole) order = indexOrder(count);
    std::vector<std::int32_t> visible;
    for (std::int32_t c : order) {
        const auto index = static_cast<std::size_t>(c);
        if (index >= info.lColumnWidth.size() || info.lColumnWidth[index] > 0) visible.push_back(c);
    }
    // Every column hidden: an export of nothing would say nothing; take them all.
    return visible.empty() ? order : visible;
}

}  // namespace

std::vector<std::int32_t> exportedColumns(const ListViewInfo& info, bool displayOrder, bool checkedColumn) {
    std::vector<std::int32_t> columns = listColumns(info, displayOrder);
    if (checkedColumn && info.checkBoxes) columns.insert(columns.begin(), kCheckedColumn);
    return columns;
}

std::vector<cReplaceList> rulesByColumn(const ListViewInfo& info, const std::vector<ColumnRules>& rules) {
    const std::vector<std::wstring> names = uniqueColumnNames(info);
    std::vector<cReplaceList> byColumn(names.size() + 1);
    for (const ColumnRules& column : rules) {
        // The names are unique in any letter case, as the rule sections of a type file are.
        const auto named = std::find_if(names.begin(), names.end(), [&](const std::wstring& name) {
            return name.size() == column.column.size() && equalsNoCase(name, column.column);
        });
        if (named == names.end()) continue;
        cReplaceList& list = byColumn[static_cast<std::size_t>(named - names.begin()) + 1];
        for (const ReplaceRule& rule : column.rules) {
            if (list.contains(rule.replace)) continue;  // of two rules for one text the first stands
            auto replace = std::make_shared<cColumnReplaces>();
            replace->szReplace = rule.replace;
            replace->szWith = rule.with;
            list.add(rule.replace, std::move(replace));
        }
    }
    return byColumn;
}

ExportPlan exportPlanOf(const ExportType& type, const std::vector<ColumnRules>& rules, const ListViewInfo& info,
                        const NumberFormat& numberFormat) {
    ExportPlan plan;
    plan.format = exportFormatOf(type.format);
    plan.fragments = HtmlFragments{type.htmlHeader, type.tableFormat, type.headerFormat, type.dataFormat,
                                   type.htmlFooter};
    plan.delimited.delimiter =
        plan.format == ExportFormat::Tsv ? L'\t' : (type.delimiter.empty() ? L',' : type.delimiter[0]);
    plan.delimited.utf8 = type.textEncoding != kEncodingAnsi;
    plan.delimited.formulaSafety = type.formulaSafety != L"0";
    // A type of an earlier version has no order and kept index order.
    plan.columns = exportedColumns(info, type.columnOrder == kColumnOrderDisplay, type.checkedColumn == L"1");
    plan.selectedRowsOnly = type.selectedRowsOnly == L"1";
    plan.rules = rulesByColumn(info, rules);
    plan.numberFormat = numberFormat;
    plan.output = type.file;
    return plan;
}

std::wstring userDelimiter(IHost& host) {
    std::wstring separator = host.listSeparator();
    return delimiterProblem(separator).empty() ? separator : std::wstring(L",");
}

std::vector<ColumnRules> columnRulesOf(ExportTypeReader& source, const ListViewInfo& info) {
    std::vector<ColumnRules> rules;
    for (std::wstring& name : uniqueColumnNames(info)) {
        std::vector<ReplaceRule> found = source.rulesFor(name);
        rules.push_back(ColumnRules{std::move(name), std::move(found)});
    }
    return rules;
}

SavedExportType readSavedExportType(const Storage& storage, const Settings& settings, const std::wstring& name,
                                    const ListViewInfo& info) {
    ExportTypeReader source = ExportTypeReader::typeFile(storage, settings.optionFolder + name + L".ini");
    SavedExportType saved;
    saved.type = source.readType();
    if (saved.type.delimiter.empty()) saved.type.delimiter = userDelimiter(storage.host);
    saved.rules = columnRulesOf(source, info);
    return saved;
}

}  // namespace zav
