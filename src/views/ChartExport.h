#pragma once
// Writes the chart a view shows to a file: PNG at the view's size on screen, or a one-page
// PDF of the same size in vector shapes and text. No dialog here; the pane asks for the name.
#include <QString>

#include "report/ChartFile.h"

namespace ohmlet {

class ChartView;

// The chart is drawn afresh at the view's size. The file is replaced only when the whole
// picture could be written.
ChartExportResult ExportChart(const ChartView& view, const QString& path);

}  // namespace ohmlet
