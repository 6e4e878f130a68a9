#pragma once
// The raw data pages (4 and later): 40 table rows per page, a grey heading row per
// selected component followed by rows of up to 10 readings.
#include <vector>

#include "data/Component.h"
#include "report/ReportRows.h"
#include "report/ReportTextPages.h"

class QPainter;

namespace ohmlet {

void DrawRawDataPage(QPainter& painter, const ReportPageFrame& frame,
                     const std::vector<Component>& components, const std::vector<ReportRow>& rows,
                     int page);

}  // namespace ohmlet
