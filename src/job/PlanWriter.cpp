#include "job/PlanWriter.h"

#include "format/JsonWriter.h"
#include "format/XmlWriter.h"

namespace zav {

std::unique_ptr<TableWriter> makeTableWriter(ITextWriter& out, const ExportPlan& plan, const OpenedGrid& grid,
                                             const std::vector<const cReplaceList*>& rules) {
    IGridSource& source = *grid.source;
    switch (plan.format) {
        case ExportFormat::Html:
            return std::make_unique<HtmlTableWriter>(out, plan.fragments, grid.info, source, rules, plan.numberFormat);
        case ExportFormat::Json:
            return std::make_unique<JsonTableWriter>(out, grid.info, source, rules, plan.numberFormat);
        case ExportFormat::Xml:
            return std::make_unique<XmlTableWriter>(out, grid.info, source, rules, plan.numberFormat);
        case ExportFormat::Csv:
        case ExportFormat::Tsv: break;
    }
    return std::make_unique<DelimitedTableWriter>(out, plan.delimited, grid.info, source, rules, plan.numberFormat);
}

}  // namespace zav
