#include "data/ReadingStats.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace ohmlet {
namespace {

// The readings a component really holds, whatever its count claims.
std::size_t ReadingCount(const Component& c) {
    return c.pointCount <= 0 ? 0
                             : std::min(static_cast<std::size_t>(c.pointCount), c.points.size());
}

// What one pass over the readings gives; sets add up.
struct Totals {
    int64_t count = 0;
    int64_t sum = 0;
    int64_t passing = 0;
    int32_t min = 0;
    int32_t max = 0;

    void Add(const Totals& other) {
        if (other.count == 0) return;
        min = count == 0 ? other.min : std::min(min, other.min);
        max = count == 0 ? other.max : std::max(max, other.max);
        count += other.count;
        sum += other.sum;
        passing += other.passing;
    }
};

// A percentile p = num / den of n sorted readings sits at rank (n - 1) * p: between
// the readings at `low` and low + 1, `fraction` of the way. Kept in whole numbers so
// that ranks that fall on a reading land on it exactly.
struct RankPosition {
    int64_t low;
    double fraction;
};

template <int64_t num, int64_t den>
RankPosition PositionOf(int64_t n) {
    const int64_t scaled = (n - 1) * num;
    return {scaled / den, static_cast<double>(scaled % den) / static_cast<double>(den)};
}

// The figures both paths share, from the set's totals, its squared deviations from
// the mean and the readings at the ranks each percentile sits between.
void Finish(ReadingStats& s, const Totals& t, double mean, double squares,
            const RankPosition (&positions)[3], const double (&at)[6],
            std::vector<int64_t> classCounts) {
    const double n = static_cast<double>(t.count);
    s.mean = mean;
    s.min = t.min;
    s.max = t.max;
    s.passCount = t.passing;
    s.passRate = static_cast<double>(t.passing) / n;
    std::optional<double>* targets[] = {&s.p10, &s.median, &s.p90};
    for (int k = 0; k < 3; ++k)
        *targets[k] = at[2 * k] + positions[k].fraction * (at[2 * k + 1] - at[2 * k]);
    s.classCounts = std::move(classCounts);
    if (t.count >= 2) {
        s.stddev = std::sqrt(squares / (n - 1));
        if (mean != 0) s.cv = *s.stddev / mean;
    }
}

// Everything past the totals, from the set's distinct values: visit(f) calls
// f(value, count) for each, ascending. With `band`, the set is that component's
// readings and its passing readings are counted here. `narrow`: every value is within
// 0..kWindow-1 and there are fewer than 2^31 readings, so deviations square exactly in
// whole numbers.
template <typename Visit>
ReadingStats Summarise(Totals t, const ClassTable& table, const Component* band, bool narrow,
                       Visit visit) {
    ReadingStats s;
    s.count = t.count;
    if (t.count == 0) return s;

    const double n = static_cast<double>(t.count);
    const double mean = static_cast<double>(t.sum) / n;
    const RankPosition positions[] = {PositionOf<1, 10>(t.count), PositionOf<1, 2>(t.count),
                                      PositionOf<9, 10>(t.count)};
    // The six ranks wanted, each position's low rank and the one after it, ascending,
    // each with the slot it fills; a sentinel ends them. Either kind ascends from p10 to
    // p90, so the two merge.
    struct Wanted {
        int64_t rank;
        int slot;  // 2 * position + (0 low, 1 after)
    } wanted[7];
    {
        int lows = 0;
        int afters = 0;
        auto after = [&](int k) { return std::min(positions[k].low + 1, t.count - 1); };
        for (int i = 0; i < 6; ++i) {
            if (afters == 3 || (lows < 3 && positions[lows].low <= after(afters))) {
                wanted[i] = {positions[lows].low, 2 * lows};
                ++lows;
            } else {
                wanted[i] = {after(afters), 2 * afters + 1};
                ++afters;
            }
        }
    }
    wanted[6] = {INT64_MAX, 0};
    double at[6] = {};
    int next = 0;
    int64_t seen = 0;  // readings up to the current value

    // Values come ascending, so the class only ever moves up the table. Counting is by
    // where each class begins in the ascending readings; a count per value would make
    // every step wait on the one before.
    const std::vector<CorrosionClass>& classes = table.Classes();
    std::size_t cls = classes.size() - 1;
    auto boundAbove = [&] { return cls > 0 ? classes[cls - 1].lowerBound : INT64_MAX; };
    int64_t nextBound = boundAbove();
    int64_t begins[ClassTable::kMaxClasses] = {};  // readings below each class
    double squares = 0;
    // Deviations from the whole number nearest the mean: their sum is small, so the
    // sum of squares loses nothing when the mean is taken out at the end.
    const int64_t centre = std::llround(mean);
    int64_t wholeSum = 0;
    int64_t wholeSquares = 0;
    int64_t passing = 0;
    visit([&](int32_t value, int64_t count) {
        if (narrow) {
            const int64_t d = value - centre;
            wholeSum += d * count;
            wholeSquares += d * d * count;
        } else {
            const double d = value - mean;
            squares += d * d * static_cast<double>(count);
        }
        while (value >= nextBound) {
            begins[--cls] = seen;
            nextBound = boundAbove();
        }
        if (band && band->Passes(value)) passing += count;
        seen += count;
        while (wanted[next].rank < seen) at[wanted[next++].slot] = value;
    });
    for (std::size_t c = 0; c < cls; ++c) begins[c] = t.count;
    std::vector<int64_t> classCounts(classes.size());
    for (std::size_t c = 0; c < classes.size(); ++c)
        classCounts[c] = (c == 0 ? t.count : begins[c - 1]) - begins[c];
    if (band) t.passing = passing;
    if (narrow) {
        const double offset = static_cast<double>(wholeSum);
        squares = std::max(0.0, static_cast<double>(wholeSquares) - offset * offset / n);
    }

    Finish(s, t, mean, squares, positions, at, std::move(classCounts));
    return s;
}

template <typename F>
void ForEachReading(const std::vector<const Component*>& components, F f) {
    for (const Component* c : components) {
        const std::size_t n = ReadingCount(*c);
        const MeasuringPoint* p = c->points.data();
        for (std::size_t i = 0; i < n; ++i) f(p[i].value);
    }
}

// Any set of readings: a histogram over its range when that is narrow, otherwise a
// sorted copy.
ReadingStats GeneralStats(const std::vector<const Component*>& components,
                          const ClassTable& table) {
    Totals t;
    for (const Component* c : components) {
        const std::size_t n = ReadingCount(*c);
        if (n == 0) continue;
        const MeasuringPoint* p = c->points.data();
        if (t.count == 0) t.min = t.max = p[0].value;
        for (std::size_t i = 0; i < n; ++i) {
            const int32_t v = p[i].value;
            t.sum += v;
            t.min = std::min(t.min, v);
            t.max = std::max(t.max, v);
            t.passing += c->Passes(v) ? 1 : 0;
        }
        t.count += static_cast<int64_t>(n);
    }
    if (t.count == 0) return Summarise(t, table, nullptr, false, [](auto) {});

    const int64_t range = static_cast<int64_t>(t.max) - t.min + 1;
    if (range <= 2 * t.count + 1024) {
        std::vector<int64_t> histogram(static_cast<std::size_t>(range), 0);
        ForEachReading(components, [&](int32_t v) {
            ++histogram[static_cast<std::size_t>(static_cast<int64_t>(v) - t.min)];
        });
        return Summarise(t, table, nullptr, false, [&](auto f) {
            for (std::size_t i = 0; i < histogram.size(); ++i)
                if (histogram[i] != 0)
                    f(static_cast<int32_t>(t.min + static_cast<int64_t>(i)), histogram[i]);
        });
    }
    std::vector<int32_t> sorted;
    sorted.reserve(static_cast<std::size_t>(t.count));
    ForEachReading(components, [&](int32_t v) { sorted.push_back(v); });
    std::sort(sorted.begin(), sorted.end());
    return Summarise(t, table, nullptr, false, [&](auto f) {
        for (std::size_t i = 0; i < sorted.size();) {
            std::size_t j = i + 1;
            while (j < sorted.size() && sorted[j] == sorted[i]) ++j;
            f(sorted[i], static_cast<int64_t>(j - i));
            i = j;
        }
    });
}

// Readings from 0 to kWindow - 1 kΩ·cm, which is where real ones lie, are counted
// straight into fixed histograms: one pass over the points per component, then passes
// over its bins, and the ticked components' counts added bin by bin. Anything else
// takes the general path.
constexpr int32_t kWindow = 1 << 14;
constexpr int64_t kWholeLimit = int64_t{1} << 31;   // readings whose squares add up exactly
constexpr int64_t kTickedLimit = int64_t{1} << 32;  // readings a 32-bit bin can count

// Bins are summed a block at a time; `own` has a block of zero bins past the window so
// that the block holding the highest reading can be summed whole.
constexpr int32_t kBlock = 16;

// The histograms stay with the thread from call to call, zero between calls (each
// walk clears the bins it reads), so that a call neither allocates nor clears them.
struct Window {
    std::vector<uint32_t> own = std::vector<uint32_t>(kWindow + kBlock, 0);
    std::vector<uint32_t> ticked = std::vector<uint32_t>(kWindow, 0);
    bool clean = true;  // false while a call runs, or after one left early
};

Window& ZeroedWindow() {
    thread_local Window window;
    if (!window.clean) {
        std::fill(window.own.begin(), window.own.end(), 0);
        std::fill(window.ticked.begin(), window.ticked.end(), 0);
    }
    window.clean = false;
    return window;
}

// Counts one component's readings into `own`, each at its value taken modulo the
// window, and adds them and their squares up. Returns the bits of all readings
// together: below kWindow exactly when every reading is in the window, and then at
// least the largest. The sums wrap freely; they are exact, and used, only when every
// reading is in the window.
uint32_t CountIntoBins(const MeasuringPoint* p, std::size_t n, uint32_t* own, uint64_t& sum,
                       uint64_t& squares) {
    uint32_t bits = 0;
    uint64_t s = 0;
    uint64_t q = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const uint32_t v = static_cast<uint32_t>(p[i].value);
        ++own[v & (kWindow - 1)];
        bits |= v;
        s += v;
        q += static_cast<uint64_t>(v) * v;
    }
    sum = s;
    squares = q;
    return bits;
}

// The sum of the kBlock bins from `from`.
uint32_t BlockSum(const uint32_t* from) {
    uint32_t total = 0;
    for (int i = 0; i < kBlock; ++i) total += from[i];
    return total;
}

// The highest bin at or below `top` that holds a reading; there is one at or below it.
int32_t HighestFilled(const uint32_t* bins, int32_t top) {
    while (top >= kBlock && BlockSum(bins + top - kBlock + 1) == 0) top -= kBlock;
    while (bins[top] == 0) --top;
    return top;
}

// Cumulative counts of one component's histogram over [low, high], kept per block of
// bins so that a count up to any value takes a block look-up and a short sum. Bins
// past `high` are zero up to the end of its block. A component has fewer than 2^31
// readings, so 32 bits hold any sum of its bins.
class Cumulative {
public:
    Cumulative(const uint32_t* bins, int32_t low, int32_t high, std::vector<uint32_t>& before)
        : bins_(bins), low_(low), high_(high), before_(before) {
        const int32_t blocks = (high - low) / kBlock + 1;
        before_.resize(static_cast<std::size_t>(blocks) + 1);
        uint32_t total = 0;
        for (int32_t b = 0; b < blocks; ++b) {
            before_[static_cast<std::size_t>(b)] = total;
            total += BlockSum(bins + low + b * kBlock);
        }
        before_[static_cast<std::size_t>(blocks)] = total;
    }

    // Readings at or below v.
    int64_t UpTo(int64_t v) const {
        if (v < low_) return 0;
        if (v >= high_) return before_.back();
        const int32_t b = static_cast<int32_t>(v - low_) / kBlock;
        uint32_t total = before_[static_cast<std::size_t>(b)];
        for (int32_t u = low_ + b * kBlock; u <= v; ++u) total += bins_[u];
        return total;
    }

    // The smallest value with more than `rank` readings at or below it; `rank` is
    // below the count.
    int32_t ValueAtRank(int64_t rank, int64_t& upTo) const {
        std::size_t b = 0;
        while (before_[b + 1] <= rank) ++b;
        int32_t v = low_ + static_cast<int32_t>(b) * kBlock;
        int64_t seen = before_[b] + bins_[v];
        while (seen <= rank) seen += bins_[++v];
        upTo = seen;
        return v;
    }

    // The first value above v that holds a reading; v is below the highest.
    int32_t NextAbove(int32_t v) const {
        while (bins_[++v] == 0) {
        }
        return v;
    }

private:
    const uint32_t* bins_;
    int32_t low_;
    int32_t high_;
    std::vector<uint32_t>& before_;  // readings in the blocks before each block
};

// One component whose readings are all in the window, counted into `own`: its
// figures from cumulative counts rather than bin by bin. `t` holds the count, sum,
// min and max; `sumSquares` the readings' squares added up.
ReadingStats WindowStats(Totals t, uint64_t sumSquares, const uint32_t* own,
                         const ClassTable& table, const Component& band,
                         std::vector<uint32_t>& scratch) {
    ReadingStats s;
    s.count = t.count;
    const int64_t n = t.count;
    const Cumulative cumulative(own, t.min, t.max, scratch);
    const RankPosition positions[] = {PositionOf<1, 10>(n), PositionOf<1, 2>(n),
                                      PositionOf<9, 10>(n)};
    double at[6];
    for (int k = 0; k < 3; ++k) {
        int64_t upTo = 0;
        const int32_t v = cumulative.ValueAtRank(positions[k].low, upTo);
        at[2 * k] = v;
        const bool nextIsAnother = positions[k].low + 1 < n && upTo <= positions[k].low + 1;
        at[2 * k + 1] = nextIsAnother ? cumulative.NextAbove(v) : v;
    }

    // Passes() compares the reading as a float with float bounds; readings in the
    // window are exact as floats, so those passing are the whole numbers between.
    const float lowest = band.designValue + band.lowerTolerance;
    const float highest = band.designValue + band.upperTolerance;
    const double from = std::ceil(static_cast<double>(lowest));
    const double to = std::floor(static_cast<double>(highest));
    t.passing = 0;
    if (from <= to && from <= t.max && to >= t.min)
        t.passing = cumulative.UpTo(static_cast<int64_t>(std::min<double>(to, t.max))) -
                    cumulative.UpTo(static_cast<int64_t>(std::max<double>(from, t.min)) - 1);

    // Each class takes the readings from its bound up to the bound of the class above.
    const std::vector<CorrosionClass>& classes = table.Classes();
    std::vector<int64_t> classCounts(classes.size());
    int64_t above = n;  // readings below the class above
    for (std::size_t c = 0; c + 1 < classes.size(); ++c) {
        const int64_t below = cumulative.UpTo(classes[c].lowerBound - 1);
        classCounts[c] = above - below;
        above = below;
    }
    classCounts.back() = above;

    // Deviations from the whole number nearest the mean, as the general path takes
    // them, found from the sums: both are exact, so the deviation is the same.
    const double mean = static_cast<double>(t.sum) / static_cast<double>(n);
    const int64_t centre = std::llround(mean);
    const int64_t wholeSum = t.sum - n * centre;
    const int64_t wholeSquares =
        static_cast<int64_t>(sumSquares) - centre * (2 * t.sum - n * centre);
    const double offset = static_cast<double>(wholeSum);
    const double squares =
        std::max(0.0, static_cast<double>(wholeSquares) - offset * offset / static_cast<double>(n));
    Finish(s, t, mean, squares, positions, at, std::move(classCounts));
    return s;
}

}  // namespace

ReadingStats ComputeStats(const std::vector<const Component*>& components,
                          const ClassTable& table) {
    return GeneralStats(components, table);
}

ReadingStats ComputeStats(const Component& component, const ClassTable& table) {
    return GeneralStats(std::vector<const Component*>{&component}, table);
}

DocumentStats ComputeDocumentStats(const std::vector<Component>& components,
                                   const ClassTable& table) {
    DocumentStats stats;
    stats.components.reserve(components.size());
    Window& window = ZeroedWindow();
    uint32_t* own = window.own.data();        // zero again after each component
    uint32_t* ticked = window.ticked.data();  // the ticked components' readings
    std::vector<uint32_t> blocks;             // scratch for each component's counts
    std::vector<const Component*> selected;
    Totals all;
    bool allInWindow = true;

    for (const Component& c : components) {
        const std::size_t n = ReadingCount(c);
        const bool isSelected = c.selected != 0;
        if (isSelected) selected.push_back(&c);
        if (n == 0) {
            stats.components.push_back(Summarise(Totals{}, table, &c, true, [](auto) {}));
            continue;
        }
        const MeasuringPoint* p = c.points.data();
        uint64_t sum = 0;
        uint64_t sumSquares = 0;
        const uint32_t bits = CountIntoBins(p, n, own, sum, sumSquares);
        if (bits >= static_cast<uint32_t>(kWindow)) {
            for (std::size_t i = 0; i < n; ++i)
                own[static_cast<uint32_t>(p[i].value) & (kWindow - 1)] = 0;
            stats.components.push_back(GeneralStats({&c}, table));
            if (isSelected) allInWindow = false;
            continue;
        }
        Totals t;
        t.count = static_cast<int64_t>(n);
        t.sum = static_cast<int64_t>(sum);
        t.min = 0;
        while (own[t.min] == 0) ++t.min;
        t.max = HighestFilled(own, static_cast<int32_t>(bits));
        stats.components.push_back(WindowStats(t, sumSquares, own, table, c, blocks));
        t.passing = *stats.components.back().passCount;
        uint32_t* bins = own + t.min;
        const std::size_t width = static_cast<std::size_t>(t.max - t.min) + 1;
        // 32-bit ticked bins cannot overflow while the ticked readings stay below
        // 2^32; past that the ticked set takes the general path.
        if (isSelected && all.count + t.count >= kTickedLimit) allInWindow = false;
        if (isSelected && allInWindow) {
            uint32_t* into = ticked + t.min;
            for (std::size_t i = 0; i < width; ++i) into[i] += bins[i];
        }
        std::fill(bins, bins + width, 0u);
        if (isSelected) all.Add(t);
    }

    if (!allInWindow) {
        stats.selected = GeneralStats(selected, table);
    } else {
        stats.selected = Summarise(all, table, nullptr, all.count < kWholeLimit, [&](auto f) {
            for (int32_t v = all.min; v <= all.max && all.count > 0; ++v) {
                const int64_t count = ticked[static_cast<std::size_t>(v)];
                ticked[static_cast<std::size_t>(v)] = 0;
                f(v, count);
            }
        });
    }
    window.clean = allInWindow;  // a general set may have left ticked bins behind
    return stats;
}

}  // namespace ohmlet
