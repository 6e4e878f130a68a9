#include "data/ChartData.h"

#include <cmath>
#include <limits>

#include "data/ReadingStats.h"

namespace ohmlet {
namespace {

// Rounds toward minus infinity, for bins below zero too.
int64_t FloorToMultiple(int64_t value, int64_t step) {
    int64_t q = value / step;
    if (value % step != 0 && value < 0) --q;
    return q * step;
}

}  // namespace

// Invalid readings (no contact, off the scale) are left out of every chart; the valid
// ones keep their point numbers, so a gap shows where one was.
std::vector<SeriesPoint> ReadingSeries(const Component& component, std::size_t maxPoints) {
    std::vector<SeriesPoint> valid;
    const std::size_t held = component.HeldPointCount();
    valid.reserve(held);
    for (std::size_t i = 0; i < held; ++i)
        if (IsValidReading(component.points[i].value))
            valid.push_back({static_cast<int64_t>(i) + 1, component.points[i].value});
    const std::size_t n = valid.size();
    if (maxPoints < 2 || n <= maxPoints) return valid;
    const std::size_t runs = maxPoints / 2;
    const std::size_t length = (n + runs - 1) / runs;
    std::vector<SeriesPoint> series;
    series.reserve(2 * runs);
    for (std::size_t start = 0; start < n; start += length) {
        const std::size_t end = std::min(n, start + length);
        std::size_t lo = start;
        std::size_t hi = start;
        for (std::size_t i = start + 1; i < end; ++i) {
            if (valid[i].value < valid[lo].value) lo = i;
            if (valid[i].value > valid[hi].value) hi = i;
        }
        const std::size_t first = std::min(lo, hi);
        const std::size_t second = std::max(lo, hi);
        series.push_back(valid[first]);
        if (second != first) series.push_back(valid[second]);
    }
    return series;
}

std::optional<ValueRange> ReadingRange(const Component& component) {
    const std::size_t n = component.HeldPointCount();
    std::optional<ValueRange> range;
    for (std::size_t i = 0; i < n; ++i) {
        const int32_t v = component.points[i].value;
        if (!IsValidReading(v)) continue;
        if (!range) range = ValueRange{v, v};
        range->min = std::min(range->min, v);
        range->max = std::max(range->max, v);
    }
    return range;
}

AxisRange NiceAxis(double min, double max, int ticks) {
    if (max < min) std::swap(min, max);
    const double pad = std::max(1.0, (max - min) * 0.05);
    const double low = min - pad;
    const double high = max + pad;
    const double raw = (high - low) / std::max(ticks, 1);
    double step = 1;
    for (double power = 1;; power *= 10) {
        const double m = raw <= power ? 1 : raw <= 2 * power ? 2 : raw <= 5 * power ? 5 : 0;
        if (m != 0) {
            step = m * power;
            break;
        }
    }
    return {std::floor(low / step) * step, std::ceil(high / step) * step, step};
}

std::vector<ClassBand> ClassBands(const ClassTable& table, double low, double high) {
    std::vector<ClassBand> bands;
    if (!(low <= high)) return bands;  // also refuses NaN
    const std::vector<CorrosionClass>& classes = table.Classes();
    constexpr double kInf = std::numeric_limits<double>::infinity();
    const std::size_t last = classes.size() - 1;
    for (std::size_t k = 0; k <= last; ++k) {
        const std::size_t i = last - k;  // lowest readings first
        const double bottom = i == last ? -kInf : classes[i].lowerBound;
        const double top = i == 0 ? kInf : classes[i - 1].lowerBound;
        if (low == high) {
            if (bottom <= low && low < top) bands.push_back({i, low, high});
            continue;
        }
        const double from = std::max(bottom, low);
        const double to = std::min(top, high);
        if (from < to) bands.push_back({i, from, to});
    }
    return bands;
}

int64_t HistogramBinWidth(int64_t n, int32_t min, int32_t max) {
    if (n <= 0 || max < min) return 1;
    // ceil(log2 n) + 1, in whole numbers.
    int64_t bins = 1;
    for (int64_t reach = 1; reach < n; reach *= 2) ++bins;
    // Whole-number readings from min to max fill max - min + 1 places.
    const int64_t span = static_cast<int64_t>(max) - min + 1;
    for (int64_t power = 1;; power *= 10)
        for (int64_t m : {1, 2, 5})
            if (m * power * bins >= span) return m * power;
}

Histogram MakeHistogram(const Component& component, const ClassTable& table) {
    Histogram h;
    const std::optional<ValueRange> range = ReadingRange(component);
    if (!range) return h;
    const std::size_t n = component.HeldPointCount();
    h.width =
        HistogramBinWidth(static_cast<int64_t>(component.ValidCount()), range->min, range->max);
    const int64_t start = FloorToMultiple(range->min, h.width);
    const int64_t count = (range->max - start) / h.width + 1;
    h.bins.reserve(static_cast<std::size_t>(count));
    for (int64_t b = 0; b < count; ++b) {
        HistogramBin bin;
        bin.low = start + b * h.width;
        bin.high = bin.low + h.width;
        bin.classCounts.assign(table.Size(), 0);
        h.bins.push_back(std::move(bin));
    }
    for (std::size_t i = 0; i < n; ++i) {
        const int32_t v = component.points[i].value;
        if (!IsValidReading(v)) continue;
        HistogramBin& bin = h.bins[static_cast<std::size_t>((v - start) / h.width)];
        ++bin.count;
        ++bin.classCounts[table.Classify(v)];
    }
    return h;
}

std::optional<GridMap> MakeGridMap(const Component& component, const ClassTable& table) {
    if (component.Kind() != ComponentKind::Grid) return std::nullopt;
    const std::size_t n = component.HeldPointCount();
    const std::size_t split = component.blockOffset <= 0
                                  ? 0
                                  : std::min(n, static_cast<std::size_t>(component.blockOffset));
    GridMap map;
    for (std::size_t i = 0; i < n; ++i) {
        const int32_t v = component.points[i].value;
        map.rows[i < split ? 0 : 1].push_back(
            {static_cast<int64_t>(i) + 1, v, table.Classify(v), IsValidReading(v)});
    }
    return map;
}

std::vector<BoxEntry> BoxOverview(const std::vector<Component>& components, bool all) {
    std::vector<BoxEntry> boxes;
    // The boxes need no classes; any table will do for the statistics.
    const ClassTable table = ClassTable::Rilem();
    for (std::size_t i = 0; i < components.size(); ++i) {
        const Component& c = components[i];
        if (!all && !c.selected) continue;
        const ReadingStats s = ComputeStats(c, table);
        if (s.count == 0) continue;
        boxes.push_back({i, s.count, static_cast<double>(*s.min), *s.p10, *s.median, *s.p90,
                         static_cast<double>(*s.max)});
    }
    return boxes;
}

}  // namespace ohmlet
