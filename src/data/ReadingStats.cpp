#include "data/ReadingStats.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace ohmlet {
namespace {

// The first pass over a set: what every reading adds up to. Each reading passes or
// fails by the band of the component it belongs to.
struct Totals {
    int64_t count = 0;  // valid readings
    int64_t invalid = 0;
    int64_t sum = 0;
    int64_t passing = 0;
    int32_t min = 0;
    int32_t max = 0;
};

Totals AddUp(const std::vector<const Component*>& set) {
    Totals t;
    for (const Component* c : set) {
        const std::size_t n = c->HeldPointCount();
        for (std::size_t i = 0; i < n; ++i) {
            const int32_t v = c->points[i].value;
            if (!IsValidReading(v)) {
                ++t.invalid;
                continue;
            }
            if (t.count == 0) t.min = t.max = v;
            ++t.count;
            t.min = std::min(t.min, v);
            t.max = std::max(t.max, v);
            t.sum += v;
            t.passing += c->Passes(v) ? 1 : 0;
        }
    }
    return t;
}

// Calls f(value, count) for each distinct reading of the set, ascending. A histogram
// over [min, max] when the range is modest next to the count, a sorted copy otherwise:
// for a few readings spread far, sorting beats clearing millions of bins.
template <typename F>
void ForEachDistinct(const std::vector<const Component*>& set, const Totals& t, F f) {
    const int64_t range = int64_t{t.max} - t.min + 1;
    const bool histogram = range <= std::min<int64_t>(4 * t.count + 65536, int64_t{1} << 22) &&
                           t.count < (int64_t{1} << 32);  // so a bin cannot overflow
    if (histogram) {
        std::vector<uint32_t> bins(static_cast<std::size_t>(range), 0);
        for (const Component* c : set) {
            const std::size_t n = c->HeldPointCount();
            for (std::size_t i = 0; i < n; ++i)
                if (IsValidReading(c->points[i].value))
                    ++bins[static_cast<std::size_t>(int64_t{c->points[i].value} - t.min)];
        }
        for (std::size_t i = 0; i < bins.size(); ++i)
            if (bins[i] != 0) f(static_cast<int32_t>(t.min + static_cast<int64_t>(i)), bins[i]);
        return;
    }
    std::vector<int32_t> sorted;
    sorted.reserve(static_cast<std::size_t>(t.count));
    for (const Component* c : set) {
        const std::size_t n = c->HeldPointCount();
        for (std::size_t i = 0; i < n; ++i)
            if (IsValidReading(c->points[i].value)) sorted.push_back(c->points[i].value);
    }
    std::sort(sorted.begin(), sorted.end());
    for (std::size_t i = 0; i < sorted.size();) {
        const std::size_t end =
            std::upper_bound(sorted.begin() + i, sorted.end(), sorted[i]) - sorted.begin();
        f(sorted[i], static_cast<int64_t>(end - i));
        i = end;
    }
}

// The squared deviations from the mean, added up. Where they cannot overflow they are
// taken in whole numbers from the whole number nearest the mean, which is exact; the
// mean comes back out at the end, in one rounding. Far-spread sets add doubles.
class SquaredDeviations {
public:
    explicit SquaredDeviations(const Totals& t)
        : n_(static_cast<double>(t.count)),
          mean_(static_cast<double>(t.sum) / n_),
          centre_(std::llround(mean_)),
          whole_(FitsWholeNumbers(t)) {}

    void Add(int32_t value, int64_t count) {
        if (whole_) {
            const int64_t d = value - centre_;
            offsets_ += d * count;
            wholeSquares_ += d * d * count;
        } else {
            const double d = value - mean_;
            squares_ += d * d * static_cast<double>(count);
        }
    }

    double Total() const {
        if (!whole_) return squares_;
        const double offset = static_cast<double>(offsets_);
        return std::max(0.0, static_cast<double>(wholeSquares_) - offset * offset / n_);
    }

private:
    // Every deviation is within the range, so n * range^2 bounds the sum of squares.
    static bool FitsWholeNumbers(const Totals& t) {
        const double range = static_cast<double>(int64_t{t.max} - t.min);
        return static_cast<double>(t.count) * range * range < 0x1p62;
    }

    double n_;
    double mean_;
    int64_t centre_;
    bool whole_;
    int64_t offsets_ = 0;
    int64_t wholeSquares_ = 0;
    double squares_ = 0;
};

// PERCENTILE.INC: percentile num / den of n sorted readings sits at rank (n - 1) * p,
// between the readings at `low` and low + 1, `fraction` of the way. The rank is kept
// in whole numbers so that one falling on a reading lands on it exactly.
struct Percentile {
    int64_t low;
    double fraction;
};

Percentile PercentileOf(int64_t num, int64_t den, int64_t n) {
    const int64_t scaled = (n - 1) * num;
    return {scaled / den, static_cast<double>(scaled % den) / static_cast<double>(den)};
}

ReadingStats Summarise(const std::vector<const Component*>& set, const ClassTable& table) {
    const Totals t = AddUp(set);
    ReadingStats s;
    s.count = t.count;
    s.invalidCount = t.invalid;
    if (t.count == 0) return s;

    // p10, median, p90, and the six ranks they sit between, taken in rank order.
    const Percentile percentiles[3] = {PercentileOf(1, 10, t.count), PercentileOf(1, 2, t.count),
                                       PercentileOf(9, 10, t.count)};
    struct Wanted {
        int64_t rank;
        int slot;  // 2 * percentile + (0 low, 1 the one after)
    } wanted[6];
    for (int k = 0; k < 3; ++k) {
        wanted[2 * k] = {percentiles[k].low, 2 * k};
        wanted[2 * k + 1] = {std::min(percentiles[k].low + 1, t.count - 1), 2 * k + 1};
    }
    std::sort(std::begin(wanted), std::end(wanted),
              [](const Wanted& a, const Wanted& b) { return a.rank < b.rank; });

    double at[6] = {};
    int next = 0;
    int64_t seen = 0;  // readings up to and including the current value
    SquaredDeviations squares(t);
    ClassCounts classCounts(table.Size());
    ForEachDistinct(set, t, [&](int32_t value, int64_t count) {
        squares.Add(value, count);
        classCounts[table.Classify(value)] += count;
        seen += count;
        while (next < 6 && wanted[next].rank < seen) at[wanted[next++].slot] = value;
    });

    const double n = static_cast<double>(t.count);
    const double mean = static_cast<double>(t.sum) / n;
    s.mean = mean;
    std::optional<double>* targets[3] = {&s.p10, &s.median, &s.p90};
    for (int k = 0; k < 3; ++k)
        *targets[k] = at[2 * k] + percentiles[k].fraction * (at[2 * k + 1] - at[2 * k]);
    s.min = t.min;
    s.max = t.max;
    s.passCount = t.passing;
    s.passRate = static_cast<double>(t.passing) / n;
    s.classCounts = classCounts;
    if (t.count >= 2) {
        s.stddev = std::sqrt(squares.Total() / (n - 1));
        if (mean != 0) s.cv = *s.stddev / mean;
    }
    return s;
}

}  // namespace

ReadingStats ComputeStats(const std::vector<const Component*>& components,
                          const ClassTable& table) {
    return Summarise(components, table);
}

ReadingStats ComputeStats(const Component& component, const ClassTable& table) {
    return Summarise({&component}, table);
}

DocumentStats ComputeDocumentStats(const std::vector<Component>& components,
                                   const ClassTable& table) {
    DocumentStats stats;
    std::vector<const Component*> ticked;
    stats.components.reserve(components.size());
    for (const Component& c : components) {
        stats.components.push_back(Summarise({&c}, table));
        if (c.selected != 0) ticked.push_back(&c);
    }
    stats.selected = Summarise(ticked, table);
    return stats;
}

DzlFileStats ReadDzlFileWithStats(const std::string& path, const ClassTable& table) {
    DzlFileStats result;
    result.file = ReadDzlFile(path);
    if (result.file.Ok()) result.stats = ComputeDocumentStats(result.file.components, table);
    return result;
}

}  // namespace ohmlet
