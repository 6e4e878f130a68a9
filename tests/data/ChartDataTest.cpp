#include <gtest/gtest.h>

#include <climits>

#include "data/ChartData.h"
#include "support/TestSupport.h"

namespace ohmlet {
namespace {

using test::MakeComponent;

// Rilem: 0 negligible >= 100, 1 low >= 50, 2 moderate >= 10, 3 high below.
TEST(ChartData, ClassBandsClipToTheRange) {
    struct Band {
        std::size_t cls;
        double low, high;
    };
    struct Case {
        const char* what;
        ClassTable table;
        double low, high;
        std::vector<Band> bands;
    } cases[] = {
        {"every class",
         ClassTable::Rilem(),
         0,
         120,
         {{3, 0, 10}, {2, 10, 50}, {1, 50, 100}, {0, 100, 120}}},
        {"two classes cut", ClassTable::Rilem(), 20, 60, {{2, 20, 50}, {1, 50, 60}}},
        {"bounds on the ends leave the touching classes out",
         ClassTable::Rilem(),
         50,
         100,
         {{1, 50, 100}}},
        {"below zero in the last class", ClassTable::Rilem(), -5, 5, {{3, -5, 5}}},
        {"one value on a bound", ClassTable::Rilem(), 50, 50, {{1, 50, 50}}},
        {"one value just below a bound", ClassTable::Rilem(), 9.5, 9.5, {{3, 9.5, 9.5}}},
        {"one value above the top bound", ClassTable::Rilem(), 400, 400, {{0, 400, 400}}},
        {"reversed range", ClassTable::Rilem(), 10, 5, {}},
        {"another table",
         ClassTable::Langford(),
         4,
         25,
         {{3, 4, 5}, {2, 5, 10}, {1, 10, 20}, {0, 20, 25}}},
    };
    for (const Case& c : cases) {
        const std::vector<ClassBand> bands = ClassBands(c.table, c.low, c.high);
        ASSERT_EQ(bands.size(), c.bands.size()) << c.what;
        for (std::size_t i = 0; i < bands.size(); ++i) {
            EXPECT_EQ(bands[i].classIndex, c.bands[i].cls) << c.what << " band " << i;
            EXPECT_EQ(bands[i].low, c.bands[i].low) << c.what << " band " << i;
            EXPECT_EQ(bands[i].high, c.bands[i].high) << c.what << " band " << i;
        }
    }
}

TEST(ChartData, HistogramBinsByTheRule) {
    struct Bin {
        int64_t low, high, count;
        std::vector<int64_t> classes;  // Rilem order
    };
    struct Case {
        const char* what;
        std::vector<int> values;
        int64_t width;
        std::vector<Bin> bins;
    } cases[] = {
        {"no readings", {}, 0, {}},
        {"one reading", {42}, 1, {{42, 43, 1, {0, 0, 1, 0}}}},
        {"two readings: the upper one starts the second bin",
         {20, 10},
         10,
         {{10, 20, 1, {0, 0, 0, 1}}, {20, 30, 1, {0, 0, 1, 0}}}},
        {"eight places in four bins",
         {8, 1, 2, 3, 4, 5, 6, 7},
         2,
         {{0, 2, 1, {0, 0, 0, 1}},
          {2, 4, 2, {0, 0, 0, 2}},
          {4, 6, 2, {0, 0, 0, 2}},
          {6, 8, 2, {0, 0, 0, 2}},
          {8, 10, 1, {0, 0, 0, 1}}}},
        {"all equal", {50, 50, 50}, 1, {{50, 51, 3, {0, 0, 3, 0}}}},
        {"a bin across a class bound counts each class",
         {45, 49, 50, 55},
         5,
         {{45, 50, 2, {0, 0, 2, 0}}, {50, 55, 1, {0, 0, 1, 0}}, {55, 60, 1, {0, 1, 0, 0}}}},
        // No contact, open line or off the scale: no bar counts them.
        {"invalid readings are left out", {-3, 0, 4, 1000}, 1, {{4, 5, 1, {0, 0, 0, 1}}}},
    };
    for (const Case& c : cases) {
        const Histogram h = MakeHistogram(MakeComponent("0001", c.values), ClassTable::Rilem());
        EXPECT_EQ(h.width, c.width) << c.what;
        ASSERT_EQ(h.bins.size(), c.bins.size()) << c.what;
        for (std::size_t i = 0; i < h.bins.size(); ++i) {
            EXPECT_EQ(h.bins[i].low, c.bins[i].low) << c.what << " bin " << i;
            EXPECT_EQ(h.bins[i].high, c.bins[i].high) << c.what << " bin " << i;
            EXPECT_EQ(h.bins[i].count, c.bins[i].count) << c.what << " bin " << i;
            EXPECT_EQ(h.bins[i].classCounts, c.bins[i].classes) << c.what << " bin " << i;
        }
    }
}

TEST(ChartData, HistogramWidthIsRoundedUp) {
    struct Case {
        int64_t n;
        int32_t min, max;
        int64_t width;
    } cases[] = {
        {20, 21, 65, 10},                       // 6 bins over 45 places: 7.5
        {1000, 0, 999, 100},                    // 11 bins over 1000 places: 90.9
        {2, INT32_MIN, INT32_MAX, 5000000000},  // 2 bins over 2^32 places
        {16, 0, 9, 2},                          // 5 bins over 10 places: exactly 2
        {0, 0, 9, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(HistogramBinWidth(c.n, c.min, c.max), c.width)
            << c.n << " readings " << c.min << ".." << c.max;
}

TEST(ChartData, AxisEndsOnWholeSteps) {
    struct Case {
        double min, max;
        int ticks;
        double low, high, step;
    } cases[] = {
        {21, 65, 6, 10, 70, 10},        // 18.8..67.2 in steps over 8.07
        {8, 120, 6, 0, 150, 50},        // 2.4..125.6, steps over 20.5
        {45, 55, 6, 44, 56, 2},         // the margin is at least 1
        {50, 50, 6, 49, 51, 1},         // one value: steps no finer than 1
        {-3, 4, 4, -5, 5, 5},           // below zero
        {0, 1000, 8, -200, 1200, 200},  // -50..1050, steps over 137.5
        {65, 21, 6, 10, 70, 10},        // ends given the wrong way round
    };
    for (const Case& c : cases) {
        const AxisRange a = NiceAxis(c.min, c.max, c.ticks);
        EXPECT_EQ(a.low, c.low) << c.min << ".." << c.max;
        EXPECT_EQ(a.high, c.high) << c.min << ".." << c.max;
        EXPECT_EQ(a.step, c.step) << c.min << ".." << c.max;
    }
}

TEST(ChartData, SeriesFollowsThePointNumber) {
    using Points = std::vector<std::pair<int64_t, int32_t>>;
    struct Case {
        const char* what;
        std::vector<int> values;
        std::optional<int32_t> pointCount;  // none: as many as the values
        std::size_t maxPoints;
        Points series;
    } cases[] = {
        {"no readings", {}, {}, 0, {}},
        {"every reading", {5, 7, 6}, {}, 0, {{1, 5}, {2, 7}, {3, 6}}},
        {"count beyond the points present", {5, 7}, 9, 0, {{1, 5}, {2, 7}}},
        {"a negative count holds nothing", {5, 7}, -2, 0, {}},
        {"under the limit", {5, 7, 6}, {}, 3, {{1, 5}, {2, 7}, {3, 6}}},
        {"runs keep their low and high in order",
         {1, 9, 2, 8, 3, 7, 4, 6},
         {},
         4,
         {{1, 1}, {2, 9}, {5, 3}, {6, 7}}},
        {"high before low in a run", {9, 1, 5, 5}, {}, 2, {{1, 9}, {2, 1}}},
        {"a flat run gives one point", {4, 4, 4, 4, 4}, {}, 2, {{1, 4}}},
        {"a limit below two is none", {4, 4, 4}, {}, 1, {{1, 4}, {2, 4}, {3, 4}}},
    };
    for (const Case& c : cases) {
        Component component = MakeComponent("0001", c.values);
        if (c.pointCount) component.pointCount = *c.pointCount;
        Points got;
        for (const SeriesPoint& p : ReadingSeries(component, c.maxPoints))
            got.emplace_back(p.number, p.value);
        EXPECT_EQ(got, c.series) << c.what;
    }
}

TEST(ChartData, GridMapSplitsAtTheBlockOffset) {
    using Row = std::vector<std::tuple<int64_t, int32_t, std::size_t>>;
    const std::vector<int> values = {10, 60, 120, 5, 50};
    // 10 and 50 lie on bounds: each goes to the riskier class.
    const Row all = {{1, 10, 3}, {2, 60, 1}, {3, 120, 0}, {4, 5, 3}, {5, 50, 2}};
    struct Case {
        const char* what;
        std::string number;
        int32_t blockOffset;
        bool isGrid;
        Row first, second;
    } cases[] = {
        {"split in the middle",
         "W007",
         3,
         true,
         {{1, 10, 3}, {2, 60, 1}, {3, 120, 0}},
         {{4, 5, 3}, {5, 50, 2}}},
        {"offset 0: all in the second block", "W007", 0, true, {}, all},
        {"negative offset", "W007", -4, true, {}, all},
        {"offset past the readings", "W007", 99, true, all, {}},
        {"profile component", "P006", 3, false, {}, {}},
        {"single component", "0001", 3, false, {}, {}},
    };
    for (const Case& c : cases) {
        Component component = MakeComponent(c.number, values);
        component.blockOffset = c.blockOffset;
        const std::optional<GridMap> map = MakeGridMap(component, ClassTable::Rilem());
        ASSERT_EQ(map.has_value(), c.isGrid) << c.what;
        if (!map) continue;
        const Row* expected[2] = {&c.first, &c.second};
        for (int r = 0; r < 2; ++r) {
            Row got;
            for (const MapCell& cell : map->rows[r])
                got.emplace_back(cell.number, cell.value, cell.classIndex);
            EXPECT_EQ(got, *expected[r]) << c.what << " row " << r;
        }
        EXPECT_EQ(map->Columns(), std::max(c.first.size(), c.second.size())) << c.what;
    }
    // Invalid readings keep their place in the map, without a class.
    Component withInvalid = MakeComponent("W008", {0, 20, 1000, -5});
    withInvalid.blockOffset = 2;
    const std::optional<GridMap> map = MakeGridMap(withInvalid, ClassTable::Rilem());
    ASSERT_TRUE(map);
    const bool valid[2][2] = {{false, true}, {false, false}};
    for (int r = 0; r < 2; ++r)
        for (int i = 0; i < 2; ++i) EXPECT_EQ(map->rows[r][i].valid, valid[r][i]) << r << i;
}

TEST(ChartData, BoxOverviewOfTickedOrAll) {
    std::vector<Component> list = {
        MakeComponent("0001", {7, 1, 10, 3, 5, 2, 9, 4, 8, 6}),
        MakeComponent("0002", {42}),
        MakeComponent("0003", {}),
        MakeComponent("0004", {20, 10}),
    };
    list[1].selected = 0;
    struct Box {
        std::size_t component;
        int64_t count;
        double min, p10, median, p90, max;
    };
    const Box one = {0, 10, 1, 1.9, 5.5, 9.1, 10};
    const Box two = {1, 1, 42, 42, 42, 42, 42};
    const Box four = {3, 2, 10, 11, 15, 19, 20};
    struct Case {
        const char* what;
        bool all;
        std::vector<Box> boxes;
    } cases[] = {
        {"ticked, the empty one left out", false, {one, four}},
        {"all", true, {one, two, four}},
    };
    for (const Case& c : cases) {
        const std::vector<BoxEntry> boxes = BoxOverview(list, c.all);
        ASSERT_EQ(boxes.size(), c.boxes.size()) << c.what;
        for (std::size_t i = 0; i < boxes.size(); ++i) {
            const BoxEntry& b = boxes[i];
            const Box& e = c.boxes[i];
            EXPECT_EQ(b.component, e.component) << c.what << " box " << i;
            EXPECT_EQ(b.count, e.count) << c.what << " box " << i;
            EXPECT_DOUBLE_EQ(b.min, e.min) << c.what << " box " << i;
            EXPECT_NEAR(b.p10, e.p10, 1e-9) << c.what << " box " << i;
            EXPECT_NEAR(b.median, e.median, 1e-9) << c.what << " box " << i;
            EXPECT_NEAR(b.p90, e.p90, 1e-9) << c.what << " box " << i;
            EXPECT_DOUBLE_EQ(b.max, e.max) << c.what << " box " << i;
        }
    }
    EXPECT_TRUE(BoxOverview({}, true).empty());
}

}  // namespace
}  // namespace ohmlet
