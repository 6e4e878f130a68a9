#pragma once
// The four charts of the chart pane, made from the Qt-free chart data. Each call returns
// a new chart the caller owns (a QChartView takes it over).
#include <QString>
#include <vector>

#include "data/Component.h"
#include "data/CorrosionClasses.h"

class QChart;

namespace ohmlet {

// A long component's line keeps the low and high of runs past this many points.
inline constexpr std::size_t kMaxSeriesPoints = 4000;

// "W007 1#楼四层网格板LB2": the number and the name, from GBK.
QString ComponentTitle(const Component& component);

// Readings along the point number over the class bands they fall in; none: an empty chart.
QChart* MakeReadingsChart(const Component* component, const ClassTable& table);
// How many readings fall in each bin, each bar split by class.
QChart* MakeHistogramChart(const Component* component, const ClassTable& table);
// One box per ticked component with readings.
QChart* MakeOverviewChart(const std::vector<Component>& components, const ClassTable& table);

}  // namespace ohmlet
