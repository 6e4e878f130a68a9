#include "ReadingStats.h"

#include <algorithm>
#include <cmath>

namespace ohmlet {
namespace {

// The readings a component really holds, whatever its count claims.
std::size_t ReadingCount(const Component& c) {
    return c.pointCount <= 0 ? 0
                             : std::min(static_cast<std::size_t>(c.pointCount), c.points.size());
}

template <typename F>
void ForEachReading(const std::vector<const Component*>& components, F f) {
    for (const Component* c : components) {
        const std::size_t n = ReadingCount(*c);
        const MeasuringPoint* p = c->points.data();
        for (std::size_t i = 0; i < n; ++i) f(p[i].value);
    }
}

// The readings as ascending distinct values with their counts. Readings are whole
// numbers in a narrow range, so a histogram gives them in linear time; a set spread
// too wide for one is sorted instead.
class ValueCounts {
public:
    ValueCounts(const std::vector<const Component*>& components, int64_t count, int32_t min,
                int32_t max)
        : min_(min) {
        const int64_t range = static_cast<int64_t>(max) - min + 1;
        if (range <= 2 * count + 1024) {
            histogram_.assign(static_cast<std::size_t>(range), 0);
            ForEachReading(components, [&](int32_t v) {
                ++histogram_[static_cast<std::size_t>(static_cast<int64_t>(v) - min)];
            });
        } else {
            sorted_.reserve(static_cast<std::size_t>(count));
            ForEachReading(components, [&](int32_t v) { sorted_.push_back(v); });
            std::sort(sorted_.begin(), sorted_.end());
        }
    }

    // f(value, count) for every distinct value, ascending.
    template <typename F>
    void Visit(F f) const {
        for (std::size_t i = 0; i < histogram_.size(); ++i)
            if (histogram_[i] != 0)
                f(static_cast<int32_t>(min_ + static_cast<int64_t>(i)), histogram_[i]);
        for (std::size_t i = 0; i < sorted_.size();) {
            std::size_t j = i + 1;
            while (j < sorted_.size() && sorted_[j] == sorted_[i]) ++j;
            f(sorted_[i], static_cast<int64_t>(j - i));
            i = j;
        }
    }

private:
    int32_t min_;
    std::vector<int64_t> histogram_;
    std::vector<int32_t> sorted_;
};

// A percentile p = num / den of n sorted readings sits at rank (n - 1) * p: between
// the readings at `low` and low + 1, `fraction` of the way. Kept in whole numbers so
// that ranks that fall on a reading land on it exactly.
struct RankPosition {
    int64_t low;
    double fraction;
};

RankPosition PositionOf(int64_t n, int64_t num, int64_t den) {
    const int64_t scaled = (n - 1) * num;
    return {scaled / den, static_cast<double>(scaled % den) / static_cast<double>(den)};
}

}  // namespace

ReadingStats ComputeStats(const std::vector<const Component*>& components,
                          const ClassTable& table) {
    ReadingStats s;
    int64_t sum = 0;
    int64_t passing = 0;
    int32_t min = 0;
    int32_t max = 0;
    for (const Component* c : components) {
        const std::size_t n = ReadingCount(*c);
        if (n == 0) continue;
        const MeasuringPoint* p = c->points.data();
        if (s.count == 0) min = max = p[0].value;
        for (std::size_t i = 0; i < n; ++i) {
            const int32_t v = p[i].value;
            sum += v;
            min = std::min(min, v);
            max = std::max(max, v);
            passing += c->Passes(v) ? 1 : 0;
        }
        s.count += static_cast<int64_t>(n);
    }
    if (s.count == 0) return s;

    const double n = static_cast<double>(s.count);
    const double mean = static_cast<double>(sum) / n;
    s.mean = mean;
    s.min = min;
    s.max = max;
    s.passCount = passing;
    s.passRate = static_cast<double>(passing) / n;

    const ValueCounts values(components, s.count, min, max);
    const RankPosition positions[] = {PositionOf(s.count, 1, 10), PositionOf(s.count, 1, 2),
                                      PositionOf(s.count, 9, 10)};
    // The readings at each position's low rank and the rank after it.
    double at[3][2] = {};
    std::vector<int64_t> classes(table.Size(), 0);
    double squares = 0;
    int64_t seen = 0;  // readings below the current value
    values.Visit([&](int32_t value, int64_t count) {
        const double d = value - mean;
        squares += d * d * static_cast<double>(count);
        classes[table.Classify(value)] += count;
        for (int k = 0; k < 3; ++k) {
            for (int j = 0; j < 2; ++j) {
                const int64_t rank = std::min(positions[k].low + j, s.count - 1);
                if (rank >= seen && rank < seen + count) at[k][j] = value;
            }
        }
        seen += count;
    });
    std::optional<double>* targets[] = {&s.p10, &s.median, &s.p90};
    for (int k = 0; k < 3; ++k)
        *targets[k] = at[k][0] + positions[k].fraction * (at[k][1] - at[k][0]);
    s.classCounts = std::move(classes);
    if (s.count >= 2) {
        s.stddev = std::sqrt(squares / (n - 1));
        if (mean != 0) s.cv = *s.stddev / mean;
    }
    return s;
}

ReadingStats ComputeStats(const Component& component, const ClassTable& table) {
    return ComputeStats(std::vector<const Component*>{&component}, table);
}

DocumentStats ComputeDocumentStats(const std::vector<Component>& components,
                                   const ClassTable& table) {
    DocumentStats stats;
    std::vector<const Component*> selected;
    stats.components.reserve(components.size());
    for (const Component& c : components) {
        stats.components.push_back(ComputeStats(c, table));
        if (c.selected != 0) selected.push_back(&c);
    }
    stats.selected = ComputeStats(selected, table);
    return stats;
}

}  // namespace ohmlet
