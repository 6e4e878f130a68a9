#pragma once
// The chart pages that may close the printed report: a box overview of the ticked
// components with a small readings chart of each, drawn with QPainter from the same chart
// data as the chart pane, so printing and the PDF export show the same pages.
#include <cstddef>
#include <vector>

#include "data/Component.h"
#include "data/CorrosionClasses.h"
#include "report/ReportTextPages.h"

class QPainter;

namespace ohmlet {

// The first chart page holds the overview and this many readings charts, later ones more.
inline constexpr int kChartsOnFirstPage = 4;
inline constexpr int kChartsPerPage = 8;

// The ticked components with readings, in list order: those that get a chart.
std::vector<std::size_t> ChartedComponents(const std::vector<Component>& components);

// The pages that many charts take; none without any.
int ChartPageCount(std::size_t chartCount);

// chartPage counts from 0 among the chart pages.
void DrawChartPage(QPainter& painter, const ReportPageFrame& frame,
                   const std::vector<Component>& components,
                   const std::vector<std::size_t>& charted, const ClassTable& table, int chartPage);

}  // namespace ohmlet
