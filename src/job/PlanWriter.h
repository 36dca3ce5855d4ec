// The table writer of a plan's format: HTML, CSV, tab-separated text, JSON or XML.
#pragma once

#include <memory>
#include <vector>

#include "ini/FileSystem.h"
#include "job/ExportPlan.h"
#include "job/OpenedGrid.h"

namespace zav {

// A writer of `grid` in the plan's format onto `out`. The plan, the grid and the rules must
// outlive it (a job keeps them).
std::unique_ptr<TableWriter> makeTableWriter(ITextWriter& out, const ExportPlan& plan, const OpenedGrid& grid,
                                             const std::vector<const cReplaceList*>& rules);

}  // namespace zav
