#pragma once
// What the charts draw, worked out once from the readings so the chart pane on screen and
// the printed chart page show the same figures. Readings are those a component really
// holds (its count clipped to the points present).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "data/Component.h"
#include "data/CorrosionClasses.h"

namespace ohmlet {

// --- readings along the point number ----------------------------------------------------

struct SeriesPoint {
    int64_t number;  // 1-based point number
    int32_t value;
};

// Every reading in point order. Past maxPoints the readings are cut into equal runs and
// each run gives its lowest and highest reading (in the order they come), so a long
// component keeps its peaks while the chart stays light. maxPoints below 2 means no limit.
std::vector<SeriesPoint> ReadingSeries(const Component& component, std::size_t maxPoints = 0);

// Lowest and highest reading; nothing without readings.
struct ValueRange {
    int32_t min;
    int32_t max;
};
std::optional<ValueRange> ReadingRange(const Component& component);

// A value axis around min..max: a margin of 5% of the range (at least 1) on each side, then
// widened to whole steps of 1, 2 or 5 times a power of ten (at least 1), the step chosen so
// that there are at most `ticks` of them.
struct AxisRange {
    double low;
    double high;
    double step;
};
AxisRange NiceAxis(double min, double max, int ticks);

// --- class bands --------------------------------------------------------------------------

// The part of a class's y range that lies inside [low, high]. Class i of the table holds
// readings from its lower bound up to the bound of class i - 1; the first class has no top
// and the last no bottom.
struct ClassBand {
    std::size_t classIndex;  // in ClassTable::Classes()
    double low;
    double high;
};

// The bands that meet [low, high], from the lowest reading up. A band that only touches
// the range at one end is left out; with low == high the one class holding it is given.
std::vector<ClassBand> ClassBands(const ClassTable& table, double low, double high);

// --- histogram ------------------------------------------------------------------------------

// Bins of equal width: the count follows Sturges' rule (ceil(log2 n) + 1), the width is
// the range over that count rounded up to 1, 2 or 5 times a power of ten (at least 1,
// readings being whole numbers), and the first bin starts at the multiple of the width at
// or below the lowest reading. A bin holds low <= reading < low + width.
struct HistogramBin {
    int64_t low;
    int64_t high;  // exclusive
    int64_t count = 0;
    std::vector<int64_t> classCounts;  // how many of those readings fall in each class
};

struct Histogram {
    int64_t width = 0;
    std::vector<HistogramBin> bins;  // none without readings
};

Histogram MakeHistogram(const Component& component, const ClassTable& table);
// The width the rule gives for n readings spread over min..max.
int64_t HistogramBinWidth(int64_t n, int32_t min, int32_t max);

// --- W (grid) component map -----------------------------------------------------------------

struct MapCell {
    int64_t number;  // 1-based point number
    int32_t value;
    std::size_t classIndex;  // meaningless for an invalid reading
    bool valid = true;       // an invalid one keeps its place but has no class
};

// The two blocks of a grid component side by side: the first row holds the points before
// its block offset, the second those from it on (the offset clipped to the readings).
struct GridMap {
    std::vector<MapCell> rows[2];
    std::size_t Columns() const { return std::max(rows[0].size(), rows[1].size()); }
};

// Nothing for a component that is not of the grid kind.
std::optional<GridMap> MakeGridMap(const Component& component, const ClassTable& table);

// --- box overview -----------------------------------------------------------------------------

// One box per component: whiskers at the extremes, the box from p10 to p90.
struct BoxEntry {
    std::size_t component;  // index in the list
    int64_t count;
    double min;
    double p10;
    double median;
    double p90;
    double max;
};

// In list order, the ticked components only unless `all`; components without readings
// have no box.
std::vector<BoxEntry> BoxOverview(const std::vector<Component>& components, bool all = false);

}  // namespace ohmlet
