#include "views/ChartExport.h"

#include "views/ChartView.h"

namespace ohmlet {

ChartExportResult ExportChart(const ChartView& view, const QString& path) {
    return WriteChartFile(view.Drawing(), view.size(), view.logicalDpiX(), path);
}

}  // namespace ohmlet
