#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <random>

#include "data/ReadingStats.h"
#include "support/TestSupport.h"

namespace ohmlet {
namespace {

using Opt = std::optional<double>;
const Opt kAbsent = std::nullopt;

void ExpectNear(const Opt& actual, const Opt& expected, const std::string& what) {
    ASSERT_EQ(actual.has_value(), expected.has_value()) << what;
    if (expected) {
        EXPECT_NEAR(*actual, *expected, 1e-9 * std::max(1.0, std::abs(*expected))) << what;
    }
}

// Every figure but the class counts.
void ExpectSameFigures(const ReadingStats& a, const ReadingStats& b, const std::string& what) {
    EXPECT_EQ(a.count, b.count) << what;
    ExpectNear(a.mean, b.mean, what + " mean");
    ExpectNear(a.median, b.median, what + " median");
    ExpectNear(a.stddev, b.stddev, what + " stddev");
    ExpectNear(a.cv, b.cv, what + " cv");
    ExpectNear(a.p10, b.p10, what + " p10");
    ExpectNear(a.p90, b.p90, what + " p90");
    ExpectNear(a.passRate, b.passRate, what + " passRate");
    EXPECT_EQ(a.min, b.min) << what;
    EXPECT_EQ(a.max, b.max) << what;
    EXPECT_EQ(a.passCount, b.passCount) << what;
}

// Readings in the default pass band 17..25 of test::MakeComponent.
TEST(ReadingStats, HandComputedSets) {
    const test::OverflowLimitScope limit(kMaxOverflowLimit);
    struct Case {
        const char* what;
        std::vector<int> values;
        Opt mean, median, stddev, cv, p10, p90;
        std::optional<int32_t> min, max;
        std::optional<int64_t> pass;
        Opt rate;
    } cases[] = {
        {"one reading", {42}, 42, 42, kAbsent, kAbsent, 42, 42, 42, 42, 0, 0.0},
        {"two readings",
         {20, 10},
         15,
         15,
         std::sqrt(50.0),
         std::sqrt(50.0) / 15,
         11,
         19,
         10,
         20,
         1,
         0.5},
        {"one to ten, shuffled",
         {7, 1, 10, 3, 5, 2, 9, 4, 8, 6},
         5.5,
         5.5,
         std::sqrt(82.5 / 9),
         std::sqrt(82.5 / 9) / 5.5,
         1.9,
         9.1,
         1,
         10,
         0,
         0.0},
        {"odd count, ranks on readings",
         {30, 10, 20, 40, 50, 60, 70, 80, 90, 100, 110},
         60,
         60,
         std::sqrt(11000.0 / 10),
         std::sqrt(11000.0 / 10) / 60,
         20,
         100,
         10,
         110,
         1,
         1.0 / 11},
        {"all equal", {5, 5, 5, 5, 5}, 5, 5, 0, 0, 5, 5, 5, 5, 0, 0.0},
        {"band edges",
         {16, 17, 25, 26},
         21,
         21,
         std::sqrt(82.0 / 3),
         std::sqrt(82.0 / 3) / 21,
         16.3,
         25.7,
         16,
         26,
         2,
         0.5},
        // Spread too wide for a histogram: the same ranks from a sorted copy.
        {"narrow",
         {1, 9, 5, 5},
         5,
         5,
         std::sqrt(32.0 / 3),
         std::sqrt(32.0 / 3) / 5,
         2.2,
         7.8,
         1,
         9,
         0,
         0.0},
        {"wide",
         {1, 999999, 500000, 500000},
         500000,
         500000,
         std::sqrt(2 * 499999.0 * 499999.0 / 3),
         std::sqrt(2 * 499999.0 * 499999.0 / 3) / 500000,
         150000.7,
         849999.3,
         1,
         999999,
         0,
         0.0},
    };
    for (const Case& k : cases) {
        std::vector<Component> list{test::MakeComponent("0001", k.values)};
        const DocumentStats document = ComputeDocumentStats(list, ClassTable::Rilem());
        // One set, three ways: alone, as a component of a file, and as the ticked ones.
        const std::pair<const char*, ReadingStats> ways[] = {
            {"alone", ComputeStats(list[0], ClassTable::Rilem())},
            {"in a file", document.components[0]},
            {"ticked", document.selected}};
        ReadingStats expected;
        expected.count = static_cast<int64_t>(k.values.size());
        expected.mean = k.mean;
        expected.median = k.median;
        expected.stddev = k.stddev;
        expected.cv = k.cv;
        expected.p10 = k.p10;
        expected.p90 = k.p90;
        expected.passRate = k.rate;
        expected.min = k.min;
        expected.max = k.max;
        expected.passCount = k.pass;
        for (const auto& [way, s] : ways)
            ExpectSameFigures(s, expected, std::string(k.what) + ", " + way);
    }
}

// Readings of 0 or below and at or above the limit change no figure; they are counted.
TEST(ReadingStats, InvalidReadingsEnterNoFigure) {
    struct Case {
        int32_t limit;
        std::vector<int> valid, invalid;
    } cases[] = {
        {1000, {12, 40, 7, 200}, {0, -5, 1000, 5000}},
        {1000, {999, 1}, {INT32_MIN, INT32_MAX}},
        {50, {49, 20}, {50, 150}},
        {1000, {}, {0, 0, 0}},
    };
    for (const Case& k : cases) {
        const test::OverflowLimitScope limit(k.limit);
        std::vector<int> mixed = k.invalid;
        mixed.insert(mixed.begin() + 1, k.valid.begin(), k.valid.end());
        const ReadingStats clean =
            ComputeStats(test::MakeComponent("0001", k.valid), ClassTable::Rilem());
        const std::vector<Component> file{test::MakeComponent("0001", mixed)};
        for (const ReadingStats& s : {ComputeStats(file[0], ClassTable::Rilem()),
                                      ComputeDocumentStats(file, ClassTable::Rilem()).selected}) {
            ExpectSameFigures(s, clean, ::testing::PrintToString(mixed));
            EXPECT_EQ(s.classCounts, clean.classCounts);
            EXPECT_EQ(s.invalidCount, static_cast<int64_t>(k.invalid.size()));
        }
    }
}

// The statistics of a whole file against each component's and the ticked ones' alone,
// which take the general path.
void ExpectAgreesWithEachSetAlone(const std::vector<Component>& list, const ClassTable& table,
                                  const std::string& label) {
    const DocumentStats document = ComputeDocumentStats(list, table);
    ASSERT_EQ(document.components.size(), list.size()) << label;
    std::vector<const Component*> ticked;
    std::vector<std::pair<ReadingStats, ReadingStats>> pairs;
    for (std::size_t i = 0; i < list.size(); ++i) {
        pairs.emplace_back(document.components[i], ComputeStats(list[i], table));
        if (list[i].selected) ticked.push_back(&list[i]);
    }
    pairs.emplace_back(document.selected, ComputeStats(ticked, table));
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        const ReadingStats& a = pairs[i].first;
        const ReadingStats& b = pairs[i].second;
        const std::string what = label + " " + table.Name() + " set " + std::to_string(i);
        ExpectSameFigures(a, b, what);
        EXPECT_EQ(a.classCounts, b.classCounts) << what;
    }
}

// A file's statistics must agree with each set's alone, whatever mix of components a
// file has.
TEST(ReadingStats, FileStatisticsAgreeWithEachSetAlone) {
    struct Case {
        const char* what;
        int low, high;       // readings drawn from low..high
        int wideEvery;       // every n-th component gets one reading far outside; 0 never
        float bandFraction;  // added to each pass band's centre and upper tolerance
        int maxSize;         // readings per component drawn from 0..maxSize
    } cases[] = {
        {"site readings", 5, 300, 0, 0, 40},
        {"near the top of the window", 16000, 16383, 0, 0, 40},
        {"some components far out", 0, 200, 7, 0, 40},
        {"negative and positive", -50, 50, 0, 0, 40},
        {"one distinct value", 42, 42, 0, 0, 40},
        {"band edges between whole readings", 5, 60, 0, 0.5f, 40},
        {"band edges a little off whole readings", 5, 60, 0, 0.3f, 40},
        {"band with no width", 5, 60, 0, NAN, 40},
        {"one or two readings each", 0, 100, 0, 0, 2},
        {"sizes from none to many", 0, 400, 0, 0.25f, 900},
    };
    std::mt19937 random(14);
    for (const Case& k : cases) {
        std::uniform_int_distribution<int> value(k.low, k.high);
        std::uniform_int_distribution<int> size(0, k.maxSize);
        std::vector<Component> list;
        for (int i = 0; i < 60; ++i) {
            std::vector<int> values(static_cast<std::size_t>(size(random)));
            for (int& v : values) v = value(random);
            if (k.wideEvery && i % k.wideEvery == 3 && !values.empty()) values[0] = 1000000;
            list.push_back(test::MakeComponent("0001", values));
            list.back().selected = i % 3 != 0;
            list.back().designValue = static_cast<float>(value(random));
            if (k.bandFraction != 0) {
                list.back().designValue += k.bandFraction;
                list.back().upperTolerance += k.bandFraction;
            }
        }
        for (const ClassTable& table : {ClassTable::Rilem(), ClassTable::Langford()})
            ExpectAgreesWithEachSetAlone(list, table, k.what);
    }
}

// Large files, with a component far out or an unticked run anywhere in the list.
TEST(ReadingStats, LargeFilesAgreeWithEachSetAlone) {
    struct Case {
        const char* what;
        int components;
        int fewestPoints;  // component i has fewestPoints + i % 101 readings
        int farOutAt;      // the component given one reading far out; -1 none
        int tickEvery;     // every n-th component ticked; 0 none
        int emptyEvery;    // every n-th component without readings; 0 none
    } cases[] = {
        {"all in the window, all ticked", 1200, 150, -1, 1, 0},
        {"one far out near the start", 1200, 150, 10, 1, 0},
        {"one far out near the end", 1200, 150, 1190, 1, 0},
        {"one far out, unticked", 1200, 150, 1190, 2, 0},
        {"every third ticked, some empty", 1200, 150, -1, 3, 7},
        {"none ticked", 1200, 150, -1, 0, 0},
        // Shared out one component at a time.
        {"a few large components", 3, 50000, 1, 1, 0},
        // Many components with few readings between them.
        {"many small components", 700, 1, -1, 2, 0},
    };
    std::mt19937 random(7);
    std::lognormal_distribution<double> spread(3.8, 0.6);
    for (const Case& k : cases) {
        std::vector<Component> list;
        for (int i = 0; i < k.components; ++i) {
            std::vector<int> values;
            if (k.emptyEvery == 0 || i % k.emptyEvery != 0) {
                values.resize(static_cast<std::size_t>(k.fewestPoints + i % 101));
                for (int& v : values) v = static_cast<int>(spread(random));
            }
            if (i == k.farOutAt) values[3] = 2000000;
            list.push_back(test::MakeComponent("0001", values));
            list.back().selected = k.tickEvery != 0 && i % k.tickEvery == 0;
        }
        // Twice: the second call must not see what the first left behind.
        for (int round = 0; round < 2; ++round)
            ExpectAgreesWithEachSetAlone(list, ClassTable::Rilem(), k.what);
    }
}

// Statistics of a file read by name must be those of the file once read, and a file
// that fails must leave none behind.
TEST(ReadingStats, WorkedOutWhileReadingAsAfterTheRead) {
    struct Case {
        const char* what;
        int components;
        int farOutEvery;  // every n-th component gets a reading far out; 0 none
        int tickEvery;
        bool hugeLast;         // one more component of 100,000 readings at the end
        std::size_t cutBytes;  // taken off the end of the file
        DzlReadCode code;
    } cases[] = {
        {"a large file", 1500, 0, 1, false, 0, DzlReadCode::Ok},
        {"far-out readings, some unticked", 1500, 97, 3, false, 0, DzlReadCode::Ok},
        {"a small file", 40, 0, 1, false, 0, DzlReadCode::Ok},
        {"cut short in a component's readings", 1500, 0, 2, false, 300001, DzlReadCode::Ok},
        {"a last component claiming more than is there", 1500, 0, 1, true, 600000,
         DzlReadCode::Corrupt},
    };
    std::mt19937 random(11);
    std::lognormal_distribution<double> spread(3.8, 0.6);
    const test::TempDir dir;
    const std::string path = dir.File("along.DZL");
    const ClassTable table = ClassTable::Rilem();
    for (const Case& k : cases) {
        std::vector<Component> list;
        for (int i = 0; i < k.components; ++i) {
            std::vector<int> values(static_cast<std::size_t>(150 + i % 101));
            for (int& v : values) v = static_cast<int>(spread(random));
            if (k.farOutEvery != 0 && i % k.farOutEvery == 0) values[5] = -3000000;
            list.push_back(test::MakeComponent("0001", values));
            list.back().selected = i % k.tickEvery == 0;
        }
        if (k.hugeLast) list.push_back(test::MakeComponent("0002", std::vector<int>(100000, 40)));
        std::vector<unsigned char> bytes = SerializeDzl(list);
        bytes.resize(bytes.size() - k.cutBytes);
        test::WriteAll(path, bytes);

        for (int round = 0; round < 2; ++round) {
            const DzlFileStats along = ReadDzlFileWithStats(path, table);
            const DzlReadResult plain = ReadDzlFile(path);
            ASSERT_EQ(along.file.code, k.code) << k.what;
            ASSERT_EQ(plain.code, k.code) << k.what;
            if (k.code != DzlReadCode::Ok) {
                EXPECT_TRUE(along.file.components.empty()) << k.what;
                EXPECT_TRUE(along.stats.components.empty()) << k.what;
                EXPECT_EQ(along.stats.selected.count, 0) << k.what;
                continue;
            }
            ASSERT_EQ(along.file.components.size(), plain.components.size()) << k.what;
            const DocumentStats after = ComputeDocumentStats(plain.components, table);
            ASSERT_EQ(along.stats.components.size(), after.components.size()) << k.what;
            for (std::size_t i = 0; i < after.components.size(); ++i) {
                const std::string what = std::string(k.what) + " component " + std::to_string(i);
                ExpectSameFigures(along.stats.components[i], after.components[i], what);
                EXPECT_EQ(along.stats.components[i].classCounts, after.components[i].classCounts)
                    << what;
            }
            ExpectSameFigures(along.stats.selected, after.selected, std::string(k.what) + " all");
            EXPECT_EQ(along.stats.selected.classCounts, after.selected.classCounts) << k.what;
        }
    }
    const DzlFileStats missing = ReadDzlFileWithStats(dir.File("none.DZL"), table);
    EXPECT_EQ(missing.file.code, DzlReadCode::CannotOpen);
    EXPECT_TRUE(missing.stats.components.empty());
}

// A call must not see what the one before left.
TEST(ReadingStats, CallsAfterOneAnotherStartClean) {
    const test::OverflowLimitScope limit(kMaxOverflowLimit);
    std::vector<Component> wide{test::MakeComponent("0001", {5, 9, 999999})};
    std::vector<Component> narrow{test::MakeComponent("0001", {5, 9, 12})};
    for (int i = 0; i < 3; ++i) {
        for (const auto* list : {&wide, &narrow, &narrow}) {
            const DocumentStats s = ComputeDocumentStats(*list, ClassTable::Rilem());
            EXPECT_EQ(s.selected.count, 3);
            EXPECT_EQ(s.selected.max, list == &wide ? 999999 : 12);
            ExpectNear(s.selected.median, 9, "median");
            EXPECT_EQ(s.components[0].classCounts,
                      (ClassCounts{list == &wide ? 1 : 0, 0, list == &wide ? 0 : 1, 2}));
        }
    }
}

TEST(ReadingStats, NoReadingsLeaveAllButTheCountAbsent) {
    Component empty = test::MakeComponent("0001", {});
    Component claimsMore = test::MakeComponent("0002", {});
    claimsMore.pointCount = 5;  // a count the points do not back
    for (const Component* c : {&empty, &claimsMore}) {
        ReadingStats s = ComputeStats(*c, ClassTable::Rilem());
        EXPECT_EQ(s.count, 0);
        EXPECT_FALSE(s.mean || s.median || s.stddev || s.cv || s.p10 || s.p90 || s.passRate);
        EXPECT_FALSE(s.min || s.max || s.passCount || s.classCounts);
    }
}

TEST(ReadingStats, OnlyTheReadingsTheCountCovers) {
    Component c = test::MakeComponent("0001", {10, 20, 90});
    c.pointCount = 2;
    ReadingStats s = ComputeStats(c, ClassTable::Rilem());
    EXPECT_EQ(s.count, 2);
    EXPECT_EQ(s.max, 20);
    c.pointCount = 7;
    EXPECT_EQ(ComputeStats(c, ClassTable::Rilem()).count, 3);
}

TEST(ReadingStats, ClassCountsAtTheBoundaries) {
    const test::OverflowLimitScope limit(kMaxOverflowLimit);
    struct Case {
        ClassTable table;
        std::vector<int> values;
        ClassCounts counts;
    } cases[] = {
        // A reading on a bound is counted in the riskier class.
        {ClassTable::Rilem(), {101, 100, 51, 50, 11, 10}, {1, 2, 2, 1}},
        {ClassTable::Rilem(), {1000, 100, 0, -5, 9}, {1, 1, 0, 1}},  // 0 and -5 are invalid
        {ClassTable::Langford(), {21, 20, 11, 10, 6, 5}, {1, 2, 2, 1}},
        {ClassTable::Langford(), {0, 4, 4, 21}, {1, 0, 0, 2}},
        // Wide enough that the counts come from the sorted path.
        {ClassTable::Rilem(), {100, 100000, 49, 10, -100000}, {1, 1, 1, 1}},
    };
    for (const Case& k : cases) {
        const std::vector<Component> file{test::MakeComponent("0001", k.values)};
        // One component alone, and the same as a file's, which counts by other means.
        for (const ReadingStats& s :
             {ComputeStats(file[0], k.table), ComputeDocumentStats(file, k.table).components[0]}) {
            ASSERT_TRUE(s.classCounts) << k.table.Name();
            EXPECT_EQ(*s.classCounts, k.counts)
                << k.table.Name() << ' ' << ::testing::PrintToString(k.values);
        }
    }
}

// Pass bands whose edges lie far beyond any reading, or at infinity.
TEST(ReadingStats, PassBandsReachingFarOut) {
    const float inf = INFINITY;
    struct Case {
        float lower, upper;  // tolerances around a design value of 45
        int64_t passing;     // of the readings 5, 45, 80
    } cases[] = {
        {-1e30f, 1e30f, 3}, {-inf, inf, 3}, {0, inf, 2}, {-inf, 0, 2}, {-1e30f, -1e29f, 0},
    };
    for (const Case& k : cases) {
        std::vector<Component> file{test::MakeComponent("0001", {5, 45, 80})};
        file[0].designValue = 45;
        file[0].lowerTolerance = k.lower;
        file[0].upperTolerance = k.upper;
        const std::string what = std::to_string(k.lower) + " " + std::to_string(k.upper);
        EXPECT_EQ(ComputeStats(file[0], ClassTable::Rilem()).passCount, k.passing) << what;
        EXPECT_EQ(ComputeDocumentStats(file, ClassTable::Rilem()).components[0].passCount,
                  k.passing)
            << what;
    }
}

TEST(ReadingStats, TickedComponentsTogether) {
    std::vector<Component> list;
    list.push_back(test::MakeComponent("0001", {10, 20}));  // 20 in its band
    list.push_back(test::MakeComponent("0002", {100}));
    list[1].selected = 0;
    list.push_back(test::MakeComponent("0003", {30}));  // its own band 29..31
    list[2].designValue = 30;
    list[2].lowerTolerance = -1;
    list[2].upperTolerance = 1;
    list.push_back(test::MakeComponent("0004", {}));  // ticked, no readings

    DocumentStats stats = ComputeDocumentStats(list, ClassTable::Rilem());
    ASSERT_EQ(stats.components.size(), 4u);
    EXPECT_EQ(stats.components[1].count, 1);
    EXPECT_EQ(stats.components[1].classCounts, (ClassCounts{0, 1, 0, 0}));  // 100 is "low"
    EXPECT_EQ(stats.components[2].passCount, 1);
    EXPECT_EQ(stats.components[3].count, 0);

    const ReadingStats& all = stats.selected;
    EXPECT_EQ(all.count, 3);
    ExpectNear(all.mean, 20, "mean");
    ExpectNear(all.median, 20, "median");
    ExpectNear(all.stddev, 10, "stddev");
    ExpectNear(all.p10, 12, "p10");
    ExpectNear(all.p90, 28, "p90");
    EXPECT_EQ(all.min, 10);
    EXPECT_EQ(all.max, 30);
    EXPECT_EQ(all.passCount, 2) << "each component by its own band";
    ExpectNear(all.passRate, 2.0 / 3, "passRate");
    EXPECT_EQ(all.classCounts, (ClassCounts{0, 0, 2, 1}));  // 10 is "high"

    for (Component& c : list) c.selected = 0;
    stats = ComputeDocumentStats(list, ClassTable::Rilem());
    EXPECT_EQ(stats.selected.count, 0);
    EXPECT_FALSE(stats.selected.mean || stats.selected.classCounts);
    EXPECT_EQ(stats.components[0].count, 2) << "unticked components keep their own figures";
}

// Class bounds at the ends of the whole-number range: every valid reading is above a bound
// of INT32_MIN, and none is above INT32_MAX; readings out of the scale are in no class.
TEST(ReadingStats, ClassBoundsAtTheIntegerExtremes) {
    const test::OverflowLimitScope limit(kMaxOverflowLimit);
    struct Case {
        std::vector<CorrosionClass> classes;
        std::vector<int> values;
        ClassCounts counts;
    } cases[] = {
        {{{"a", 50}, {"b", INT32_MIN}, {"c", 0}}, {10, 20, 60}, {1, 2, 0}},
        {{{"a", 100}, {"b", INT32_MIN}, {"c", 0}},
         {101, 100, 5, -7, INT32_MIN, INT32_MAX},
         {1, 2, 0}},
        {{{"a", INT32_MAX}, {"b", INT32_MIN + 1}, {"c", 0}}, {0, 16383, INT32_MAX}, {0, 1, 0}},
        {{{"a", INT32_MAX}, {"b", INT32_MIN + 1}, {"c", 0}}, {999999, 1, 2, INT32_MIN}, {0, 3, 0}},
    };
    for (const Case& k : cases) {
        std::string error;
        const std::optional<ClassTable> table = ClassTable::Make("extremes", k.classes, error);
        ASSERT_TRUE(table) << error;
        const std::vector<Component> file{test::MakeComponent("0001", k.values)};
        const DocumentStats document = ComputeDocumentStats(file, *table);
        for (const ReadingStats& s :
             {ComputeStats(file[0], *table), document.components[0], document.selected}) {
            ASSERT_TRUE(s.classCounts);
            EXPECT_EQ(*s.classCounts, k.counts) << ::testing::PrintToString(k.values);
        }
    }
}

// The deviation of a full download against one worked out in exact whole numbers and
// rounded once: within two units in the last place.
TEST(ReadingStats, DeviationOfLargeSetsIsCloseToExact) {
    const test::OverflowLimitScope limit(kMaxOverflowLimit);
    const std::pair<int32_t, int32_t> ranges[] = {
        {5, 400}, {16000, 16383}, {1, 99999}, {kMaxOverflowLimit - 5001, kMaxOverflowLimit - 1}};
    std::mt19937 random(3);
    for (const auto& [low, high] : ranges) {
        std::uniform_int_distribution<int32_t> value(low, high);
        std::vector<int> values(32767);
        const int64_t n = 32767;
        int64_t sum = 0;  // of the readings less `low`, so exact in 64 bits
        int64_t squares = 0;
        for (int& v : values) {
            v = value(random);
            sum += int64_t{v} - low;
            squares += (int64_t{v} - low) * (int64_t{v} - low);
        }
        const double exact = static_cast<double>(
            std::sqrt(static_cast<long double>(n * squares - sum * sum) / (n * (n - 1))));
        const std::vector<Component> file{test::MakeComponent("0001", values)};
        for (const ReadingStats& s : {ComputeStats(file[0], ClassTable::Rilem()),
                                      ComputeDocumentStats(file, ClassTable::Rilem()).selected})
            EXPECT_NEAR(*s.stddev, exact, 2 * (std::nextafter(exact, INFINITY) - exact)) << low;
    }
}

}  // namespace
}  // namespace ohmlet
