#pragma once
// The workbook's second sheet, 统计汇总: the statistics and class counts of every ticked
// component, then of all of them together.
#include <xlsxwriter.h>

#include <vector>

#include "data/Component.h"
#include "data/CorrosionClasses.h"

namespace ohmlet {

lxw_error WriteSummarySheet(lxw_workbook* book, const std::vector<Component>& components,
                            const ClassTable& table);

}  // namespace ohmlet
