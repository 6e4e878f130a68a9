#include "data/ReadingStats.h"

#include "data/ReadingSums.h"
#include "data/WorkerThread.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <climits>
#include <cmath>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <thread>

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
            const ClassCounts& classCounts) {
    const double n = static_cast<double>(t.count);
    s.mean = mean;
    s.min = t.min;
    s.max = t.max;
    s.passCount = t.passing;
    s.passRate = static_cast<double>(t.passing) / n;
    std::optional<double>* targets[] = {&s.p10, &s.median, &s.p90};
    for (int k = 0; k < 3; ++k)
        *targets[k] = at[2 * k] + positions[k].fraction * (at[2 * k + 1] - at[2 * k]);
    s.classCounts = classCounts;
    if (t.count >= 2) {
        s.stddev = std::sqrt(squares / (n - 1));
        if (mean != 0) s.cv = *s.stddev / mean;
    }
}

// Everything past the totals, from the set's distinct values: visit(f) calls
// f(value, count) for each, ascending. With `band`, the set is that component's
// readings and its passing readings are counted here. `narrow`: every value is within
// 0..kReadingWindow-1 and there are fewer than 2^31 readings, so deviations square exactly in
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
    ClassCounts classCounts(classes.size());
    for (std::size_t c = 0; c < classes.size(); ++c)
        classCounts[c] = (c == 0 ? t.count : begins[c - 1]) - begins[c];
    if (band) t.passing = passing;
    if (narrow) {
        const double offset = static_cast<double>(wholeSum);
        squares = std::max(0.0, static_cast<double>(wholeSquares) - offset * offset / n);
    }

    Finish(s, t, mean, squares, positions, at, classCounts);
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

// Readings in the window are counted straight into fixed histograms: one pass over the
// points per component, then passes over its bins, and the ticked components' counts
// added bin by bin. Anything else takes the general path.
constexpr int64_t kWholeLimit = int64_t{1} << 31;   // readings whose squares add up exactly
constexpr int64_t kTickedLimit = int64_t{1} << 32;  // readings a 32-bit bin can count

// The histograms stay with the thread from call to call, zero between calls (each
// walk clears the bins it reads), so that a call neither allocates nor clears them.
struct Window {
    std::vector<uint32_t> own = std::vector<uint32_t>(kReadingWindow, 0);
    std::vector<uint32_t> ticked = std::vector<uint32_t>(kReadingWindow, 0);
    std::vector<uint32_t> upTo = std::vector<uint32_t>(kReadingWindow, 0);  // scratch
    bool clean = true;  // false while a call runs, or after one left early
};

Window& Zeroed(Window& window) {
    if (!window.clean) {
        std::fill(window.own.begin(), window.own.end(), 0);
        std::fill(window.ticked.begin(), window.ticked.end(), 0);
    }
    window.clean = false;
    return window;
}

Window& ThreadWindow() {
    thread_local Window window;
    return Zeroed(window);
}

// The second thread of a large file and its histograms, lent to one call at a time.
struct Helper {
    Window window;
    WorkerThread thread;
};
std::mutex helperInUse;
Helper& TheHelper() {
    static Helper helper;
    return helper;
}

// Below this many readings a second thread costs more than it saves.
constexpr std::size_t kReadingsForTwoThreads = std::size_t{1} << 17;
constexpr std::size_t kComponentsForTwoThreads = 512;

// Cumulative counts of one component's readings over [low, high]: upTo[i] readings
// are at or below low + i. A component has fewer than 2^31 readings, so 32 bits hold
// them.
class Cumulative {
public:
    Cumulative(const uint32_t* upTo, int32_t low, int32_t high)
        : upTo_(upTo), low_(low), high_(high) {}

    // Readings at or below v.
    int64_t UpTo(int64_t v) const {
        if (v < low_) return 0;
        if (v > high_) v = high_;
        return upTo_[v - low_];
    }

    // For each rank, the smallest value with more than that many readings at or below
    // it; each rank is below the count. Searches without branches on the data, all six
    // in step: the ranks fall anywhere, so a branch would be mispredicted about half
    // the time, and six searches side by side do not wait on each other.
    void ValuesAtRanks(const int64_t (&ranks)[6], double (&values)[6]) const {
        std::size_t at[6] = {};
        std::size_t left = static_cast<std::size_t>(high_ - low_) + 1;
        while (left > 1) {
            const std::size_t half = left / 2;
            for (int k = 0; k < 6; ++k) at[k] += upTo_[at[k] + half - 1] <= ranks[k] ? half : 0;
            left -= half;
        }
        for (int k = 0; k < 6; ++k) values[k] = low_ + static_cast<int32_t>(at[k]);
    }

private:
    const uint32_t* upTo_;
    int32_t low_;
    int32_t high_;
};

// One component whose readings are all in the window, from its cumulative counts, into
// `s` as default-made (filled in place: a file has thousands of these).
// `t` holds the count, sum, min and max; `sumSquares` the readings' squares added up.
void WindowStats(Totals t, uint64_t sumSquares, const Cumulative& cumulative,
                 const ClassTable& table, const Component& band, ReadingStats& s) {
    s.count = t.count;
    const int64_t n = t.count;
    const RankPosition positions[] = {PositionOf<1, 10>(n), PositionOf<1, 2>(n),
                                      PositionOf<9, 10>(n)};
    // Each position's low rank and the one after it; past the last reading, the last.
    int64_t ranks[6];
    for (int k = 0; k < 3; ++k) {
        ranks[2 * k] = positions[k].low;
        ranks[2 * k + 1] = std::min(positions[k].low + 1, n - 1);
    }
    double at[6];
    cumulative.ValuesAtRanks(ranks, at);

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
    ClassCounts classCounts(classes.size());
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
    Finish(s, t, mean, squares, positions, at, classCounts);
}

// What a thread's share of the list adds to the ticked set.
struct TickedPart {
    Totals all;
    bool allInWindow = true;  // while so, its readings are counted in window.ticked
};

// The figures of components [begin, end), each into its place in `out`; the ticked
// ones are added to `part`.
void ComputePart(const Component* components, std::size_t begin, std::size_t end,
                 const ClassTable& table, Window& window, std::vector<ReadingStats>& out,
                 TickedPart& part) {
    uint32_t* own = window.own.data();        // zero again after each component
    uint32_t* ticked = window.ticked.data();  // the ticked components' readings
    for (std::size_t index = begin; index < end; ++index) {
        const Component& c = components[index];
        const std::size_t n = ReadingCount(c);
        const bool isSelected = c.selected != 0;
        if (n == 0) {
            out[index] = Summarise(Totals{}, table, &c, true, [](auto) {});
            continue;
        }
        const MeasuringPoint* p = c.points.data();
        const ReadingSums sums = AddUpReadings(p, n);
        if (!sums.InWindow()) {
            out[index] = GeneralStats({&c}, table);
            if (isSelected) part.allInWindow = false;
            continue;
        }
        Totals t;
        t.count = static_cast<int64_t>(n);
        t.sum = static_cast<int64_t>(sums.sum);
        t.min = sums.min;
        t.max = sums.max;
        // 32-bit ticked bins cannot overflow while the ticked readings stay below
        // 2^32; past that the ticked set takes the general path.
        if (isSelected && part.all.count + t.count >= kTickedLimit) part.allInWindow = false;
        CountIntoBins(p, n, own);
        CumulateAndClear(own + t.min, static_cast<std::size_t>(t.max - t.min) + 1,
                         window.upTo.data(),
                         isSelected && part.allInWindow ? ticked + t.min : nullptr);
        const Cumulative cumulative(window.upTo.data(), t.min, t.max);
        WindowStats(t, sums.squares, cumulative, table, c, out[index]);
        t.passing = *out[index].passCount;
        if (isSelected) part.all.Add(t);
    }
}

bool HasTwoProcessors() {
    static const bool two = std::thread::hardware_concurrency() >= 2;
    return two;
}

// Whether a second thread is worth waking. Counting the readings walks every
// component, which a large file just read no longer has in cache, so a long list is
// taken as large enough without.
bool WorthTwoThreads(const std::vector<Component>& components) {
    if (!HasTwoProcessors()) return false;
    if (components.size() >= kComponentsForTwoThreads) return true;
    std::size_t readings = 0;
    for (const Component& c : components) readings += ReadingCount(c);
    return readings >= kReadingsForTwoThreads;
}

// Deals the list out in runs of components: the helper takes them from the front,
// this thread from the back, where a file just read is still in this processor's
// cache. They meet wherever the work balances, however late the helper starts.
class Runs {
public:
    explicit Runs(std::size_t count)
        : length_(std::clamp<std::size_t>(count / 64, 1, 32)), back_(count) {}

    enum class Taken { kRun, kNotYet, kNoneLeft };

    // A run from the front, of components below `ready` only.
    Taken FromFront(std::size_t& begin, std::size_t& end, std::size_t ready) {
        std::lock_guard<std::mutex> lock(mutex_);
        if (front_ == back_) return Taken::kNoneLeft;
        const std::size_t limit = std::min(back_, ready);
        if (front_ >= limit) return Taken::kNotYet;
        begin = front_;
        end = front_ = front_ + std::min(length_, limit - front_);
        return Taken::kRun;
    }

    bool FromBack(std::size_t& begin, std::size_t& end) {
        std::lock_guard<std::mutex> lock(mutex_);
        if (front_ == back_) return false;
        end = back_;
        begin = back_ = back_ - std::min(length_, back_ - front_);
        return true;
    }

private:
    const std::size_t length_;
    std::mutex mutex_;
    std::size_t front_ = 0;
    std::size_t back_;
};

// The helper's ticked counts added to this thread's, once the helper has ended.
void AddHelpersPart(const TickedPart& helpersPart, Window& helpers, Window& mine,
                    TickedPart& result) {
    if (result.all.count + helpersPart.all.count >= kTickedLimit) result.allInWindow = false;
    result.allInWindow = result.allInWindow && helpersPart.allInWindow;
    if (result.allInWindow && helpersPart.all.count > 0) {
        for (int32_t v = helpersPart.all.min; v <= helpersPart.all.max; ++v) {
            const std::size_t bin = static_cast<std::size_t>(v);
            mine.ticked[bin] += helpers.ticked[bin];
            helpers.ticked[bin] = 0;
        }
    }
    helpers.clean = result.allInWindow;  // else ticked bins may be left behind
    result.all.Add(helpersPart.all);
}

// The list shared between this thread and the helper. Returns false, having done
// nothing, when the helper is not to be had; the caller then does it all.
bool ComputeOnTwoThreads(const std::vector<Component>& components, const ClassTable& table,
                         std::vector<ReadingStats>& out, Window& mine, TickedPart& result) {
    std::unique_lock<std::mutex> lock(helperInUse, std::try_to_lock);
    if (!lock.owns_lock()) return false;
    Helper& helper = TheHelper();
    Window& helpers = Zeroed(helper.window);
    TickedPart helpersPart;
    Runs runs(components.size());
    const Component* list = components.data();
    auto helpersWork = [&] {
        std::size_t begin = 0;
        std::size_t end = 0;
        while (runs.FromFront(begin, end, components.size()) == Runs::Taken::kRun)
            ComputePart(list, begin, end, table, helpers, out, helpersPart);
    };
    if (!helper.thread.Start(helpersWork)) {
        helpers.clean = true;  // untouched
        return false;
    }
    // The helper must have ended before this returns, even if this throws.
    try {
        std::size_t begin = 0;
        std::size_t end = 0;
        while (runs.FromBack(begin, end)) ComputePart(list, begin, end, table, mine, out, result);
    } catch (...) {
        try {
            helper.thread.Wait();
        } catch (...) {  // this thread's failure is the one to report
        }
        throw;  // `helpers` stays marked unclean
    }
    helper.thread.Wait();  // throws again what the helper threw
    AddHelpersPart(helpersPart, helpers, mine, result);
    return true;
}

// The figures over the ticked components: from the ticked bins while every ticked
// reading was counted there, otherwise by the general path.
void ComputeSelected(const std::vector<Component>& components, const ClassTable& table,
                     Window& window, const TickedPart& ticked, DocumentStats& stats) {
    const Totals& all = ticked.all;
    if (!ticked.allInWindow) {
        std::vector<const Component*> selected;
        for (const Component& c : components)
            if (c.selected != 0) selected.push_back(&c);
        stats.selected = GeneralStats(selected, table);
    } else {
        uint32_t* bins = window.ticked.data();
        stats.selected = Summarise(all, table, nullptr, all.count < kWholeLimit, [&](auto f) {
            for (int32_t v = all.min; v <= all.max && all.count > 0; ++v) {
                const int64_t count = bins[static_cast<std::size_t>(v)];
                bins[static_cast<std::size_t>(v)] = 0;
                f(v, count);
            }
        });
    }
    window.clean = ticked.allInWindow;  // a general set may have left ticked bins behind
}

// Statistics worked out while a file is read: the helper takes up each component as
// soon as the reader has finished it. Once the file is read, this thread joins in
// from the end of the list, which it has just read and so still has in its cache.
class ReadAlong final : public DzlReadWatcher {
public:
    ReadAlong(Helper& helper, const ClassTable& table, DocumentStats& stats)
        : helper_(helper), table_(table), stats_(stats) {}

    // Lets the helper go before the list it works on is gone.
    ~ReadAlong() { Abandon(); }

    void Sized(const Component* first, std::size_t count) override {
        if (count < kComponentsForTwoThreads || !HasTwoProcessors()) return;
        first_ = first;
        count_ = count;
        runs_.emplace(count);
        Window& window = Zeroed(helper_.window);
        started_ = helper_.thread.Start([this] { HelpersWork(); });
        if (!started_) window.clean = true;  // untouched
    }

    void Finished(std::size_t index) override {
        finished_.store(index + 1, std::memory_order_release);
    }

    void Abandon() override {
        if (!started_) return;
        SetState(kAbandoned);
        started_ = false;
        try {
            helper_.thread.Wait();
        } catch (...) {  // the read's own failure is the one to report
        }
    }

    bool Started() const { return started_; }

    // The whole list read: this thread takes runs from the back until the two meet,
    // then adds the helper's share.
    void Finish(const std::vector<Component>& components) {
        SetState(kRead);
        Window& mine = ThreadWindow();
        TickedPart part;
        try {
            while (!resized_.load(std::memory_order_acquire)) {
                if (helperEnded_.load(std::memory_order_acquire)) {
                    started_ = false;
                    helper_.thread.Wait();  // throws what stopped it
                    throw std::logic_error("the statistics helper ended without its list");
                }
                std::this_thread::yield();
            }
            std::size_t begin = 0;
            std::size_t end = 0;
            while (runs_->FromBack(begin, end))
                ComputePart(first_, begin, end, table_, mine, stats_.components, part);
        } catch (...) {
            Abandon();
            throw;  // both windows stay marked unclean
        }
        started_ = false;
        helper_.thread.Wait();  // throws again what the helper threw
        AddHelpersPart(helpersPart_, helper_.window, mine, part);
        ComputeSelected(components, table_, mine, part, stats_);
    }

private:
    enum State { kReading, kRead, kAbandoned };

    // The reader is behind: a short while, then a sleep in which it reads ahead, cut
    // short when the read ends.
    void Pause(int waits) {
        if (waits < 8) {
            std::this_thread::yield();
            return;
        }
        std::unique_lock<std::mutex> lock(pauseMutex_);
        readEnded_.wait_for(lock, std::chrono::microseconds(20),
                            [&] { return state_.load(std::memory_order_acquire) != kReading; });
    }

    void SetState(State state) {
        {
            std::lock_guard<std::mutex> lock(pauseMutex_);
            state_.store(state, std::memory_order_release);
        }
        readEnded_.notify_all();
    }

    void HelpersWork() {
        struct Ended {
            std::atomic<bool>& flag;
            ~Ended() { flag.store(true, std::memory_order_release); }
        } ended{helperEnded_};
        stats_.components.resize(count_);
        resized_.store(true, std::memory_order_release);
        std::size_t begin = 0;
        std::size_t end = 0;
        for (int waits = 0;;) {
            const State state = state_.load(std::memory_order_acquire);
            if (state == kAbandoned) return;
            const std::size_t ready =
                state == kRead ? count_ : finished_.load(std::memory_order_acquire);
            switch (runs_->FromFront(begin, end, ready)) {
                case Runs::Taken::kRun:
                    ComputePart(first_, begin, end, table_, helper_.window, stats_.components,
                                helpersPart_);
                    waits = 0;
                    break;
                case Runs::Taken::kNotYet:
                    Pause(waits++);
                    break;
                case Runs::Taken::kNoneLeft:
                    return;
            }
        }
    }

    Helper& helper_;
    const ClassTable& table_;
    DocumentStats& stats_;
    const Component* first_ = nullptr;
    std::size_t count_ = 0;
    std::optional<Runs> runs_;
    bool started_ = false;
    std::atomic<std::size_t> finished_{0};  // components read in full
    std::atomic<State> state_{kReading};
    std::atomic<bool> resized_{false};  // stats_.components holds count_ places
    std::atomic<bool> helperEnded_{false};
    std::mutex pauseMutex_;
    std::condition_variable readEnded_;
    TickedPart helpersPart_;
};

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
    stats.components.resize(components.size());
    Window& window = ThreadWindow();
    TickedPart ticked;
    if (!WorthTwoThreads(components) ||
        !ComputeOnTwoThreads(components, table, stats.components, window, ticked))
        ComputePart(components.data(), 0, components.size(), table, window, stats.components,
                    ticked);
    ComputeSelected(components, table, window, ticked, stats);
    return stats;
}

DzlFileStats ReadDzlFileWithStats(const std::string& path, const ClassTable& table) {
    DzlFileStats result;
    {
        std::unique_lock<std::mutex> lock(helperInUse, std::try_to_lock);
        if (lock.owns_lock()) {
            ReadAlong along(TheHelper(), table, result.stats);
            result.file = ReadDzlFile(path, &along);
            if (along.Started() && result.file.Ok()) {
                along.Finish(result.file.components);
                return result;
            }
        } else {
            result.file = ReadDzlFile(path);
        }
    }
    result.stats = DocumentStats{};  // what the helper began on a file that failed
    // Too small to share, or the helper was busy: the statistics after the read.
    if (result.file.Ok()) result.stats = ComputeDocumentStats(result.file.components, table);
    return result;
}

}  // namespace ohmlet
