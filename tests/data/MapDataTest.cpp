#include <gtest/gtest.h>

#include <cmath>

#include "data/MapData.h"
#include "support/TestSupport.h"

namespace ohmlet {
namespace {

using test::MakeComponent;

// Readings 0, 1, 2… drawn as a, b, c… in rows separated by '/'; '.' for a free cell.
std::string Layout(const SurveyGrid& grid, int count, int* unplaced) {
    std::string rows;
    *unplaced = 0;
    const auto places = PlaceReadings(grid, count);
    // A grid with sides out of range draws no rows at all.
    std::vector<std::string> lines(HasUsableSides(grid) ? grid.rows : 0,
                                   std::string(HasUsableSides(grid) ? grid.columns : 0, '.'));
    for (std::size_t k = 0; k < places.size(); ++k) {
        if (!places[k]) {
            ++*unplaced;
            continue;
        }
        char& at = lines[places[k]->row][places[k]->column];
        at = at == '.' ? static_cast<char>('a' + k) : '!';  // '!' would be a cell taken twice
    }
    for (const std::string& line : lines) rows += (rows.empty() ? "" : "/") + line;
    return rows;
}

TEST(MapData, ReadingsFollowTheWalkFromTheFirstCorner) {
    using O = ReadingOrder;
    using C = GridCorner;
    struct Case {
        O order;
        C corner;
        int rows, columns, count;
        const char* layout;
        int unplaced;
    } cases[] = {
        {O::Rows, C::TopLeft, 3, 4, 12, "abcd/efgh/ijkl", 0},
        {O::Rows, C::TopRight, 3, 4, 12, "dcba/hgfe/lkji", 0},
        {O::Rows, C::BottomLeft, 3, 4, 12, "ijkl/efgh/abcd", 0},
        {O::Rows, C::BottomRight, 3, 4, 12, "lkji/hgfe/dcba", 0},
        {O::SerpentineRows, C::TopLeft, 3, 4, 12, "abcd/hgfe/ijkl", 0},
        {O::SerpentineRows, C::TopRight, 3, 4, 12, "dcba/efgh/lkji", 0},
        {O::SerpentineRows, C::BottomLeft, 3, 4, 12, "ijkl/hgfe/abcd", 0},
        {O::SerpentineRows, C::BottomRight, 3, 4, 12, "lkji/efgh/dcba", 0},
        {O::Columns, C::TopLeft, 3, 4, 12, "adgj/behk/cfil", 0},
        {O::Columns, C::TopRight, 3, 4, 12, "jgda/kheb/lifc", 0},
        {O::Columns, C::BottomLeft, 3, 4, 12, "cfil/behk/adgj", 0},
        {O::Columns, C::BottomRight, 3, 4, 12, "lifc/kheb/jgda", 0},
        {O::SerpentineColumns, C::TopLeft, 3, 4, 12, "afgl/behk/cdij", 0},
        {O::SerpentineColumns, C::TopRight, 3, 4, 12, "lgfa/kheb/jidc", 0},
        {O::SerpentineColumns, C::BottomLeft, 3, 4, 12, "cdij/behk/afgl", 0},
        {O::SerpentineColumns, C::BottomRight, 3, 4, 12, "jidc/kheb/lgfa", 0},
        {O::SerpentineRows, C::BottomRight, 3, 4, 6, "..../ef../dcba", 0},
        {O::Columns, C::TopLeft, 3, 4, 15, "adgj/behk/cfil", 3},
        {O::SerpentineColumns, C::TopLeft, 1, 3, 3, "abc", 0},
        {O::Rows, C::TopLeft, 0, 4, 2, "", 2},
        {O::Rows, C::TopLeft, 2, 101, 2, "", 2},
    };
    for (const Case& c : cases) {
        SurveyGrid grid;
        grid.rows = c.rows;
        grid.columns = c.columns;
        grid.order = c.order;
        grid.firstCorner = c.corner;
        int unplaced = 0;
        const std::string layout = Layout(grid, c.count, &unplaced);
        EXPECT_EQ(layout, c.layout) << int(c.order) << '/' << int(c.corner) << " n=" << c.count;
        EXPECT_EQ(unplaced, c.unplaced) << int(c.order) << '/' << int(c.corner);
    }
}

// Rilem: 0 negligible > 100, 1 low > 50, 2 moderate > 10, 3 high; the component passes 17..25.
TEST(MapData, CellsTellEmptyValidFailingAndInvalidApart) {
    struct Case {
        const char* what;
        std::vector<int> values;
        int32_t limit;
        const char* states;                // E empty, V valid, F failing, I invalid; row after row
        std::vector<std::size_t> classes;  // of the V and F cells in order
        std::vector<int> unplaced;
    } cases[] = {
        {"every state", {20, 0, -5, 1000, 30}, 1000, "VII/IFE", {2, 2}, {}},
        {"the limit is the caller's", {999, 18, 24}, 500, "IVV/EEE", {2, 2}, {}},
        {"just under the limit fails", {999}, 1000, "FEE/EEE", {0}, {}},
        {"extra readings stay unplaced",
         {20, 20, 20, 20, 20, 20, 7, 8},
         1000,
         "VVV/VVV",
         {2, 2, 2, 2, 2, 2},
         {6, 7}},
    };
    for (const Case& c : cases) {
        Component component = MakeComponent("W001", c.values);
        component.extras.grid = SurveyGrid{2, 3, 100, 100, ReadingOrder::Rows, GridCorner::TopLeft};
        const std::optional<MapData> map = MakeMapData(component, ClassTable::Rilem(), c.limit);
        ASSERT_TRUE(map) << c.what;
        std::string states;
        std::vector<std::size_t> classes;
        for (int r = 0; r < 2; ++r) {
            if (r) states += '/';
            for (int col = 0; col < 3; ++col) {
                const MapCellData& cell = map->Cell(r, col);
                states += "EVFI"[static_cast<int>(cell.state)];
                if (cell.state == CellState::Valid || cell.state == CellState::Failing)
                    classes.push_back(cell.classIndex);
            }
        }
        EXPECT_EQ(states, c.states) << c.what;
        EXPECT_EQ(classes, c.classes) << c.what;
        EXPECT_EQ(map->unplaced, c.unplaced) << c.what;
    }
    Component none = MakeComponent("W002", {20});
    EXPECT_FALSE(MakeMapData(none, ClassTable::Rilem())) << "no grid, no map";
}

TEST(MapData, ContoursCrossWhereTheLevelLies) {
    const double nan = std::nan("");
    struct Case {
        const char* what;
        std::vector<double> values;  // 2 × 2 at x, y in {0, 1}: a b / d c
        double level;
        std::vector<ContourSegment> segments;
    } cases[] = {
        {"left low, right high", {0, 10, 0, 10}, 5, {{0.5, 0, 0.5, 1}}},
        {"a quarter of the way down", {0, 0, 8, 8}, 2, {{0, 0.25, 1, 0.25}}},
        {"one corner above", {10, 0, 0, 0}, 5, {{0, 0.5, 0.5, 0}}},
        {"on the level is below it", {5, 5, 5, 5}, 5, {}},
        {"an undefined corner draws nothing", {0, 10, nan, 10}, 5, {}},
        {"a saddle with a high centre joins the high corners",
         {10, 0, 0, 10},
         4,
         {{0.6, 0, 1, 0.4}, {0.4, 1, 0, 0.6}}},
    };
    for (const Case& c : cases) {
        SampledField field;
        field.width = field.height = 2;
        field.values = c.values;
        const std::vector<ContourSegment> got = TraceContour(field, c.level);
        ASSERT_EQ(got.size(), c.segments.size()) << c.what;
        for (std::size_t i = 0; i < got.size(); ++i) {
            const ContourSegment& g = got[i];
            const ContourSegment& e = c.segments[i];
            // Either direction of the stroke will do.
            const bool same = std::hypot(g.x1 - e.x1, g.y1 - e.y1) < 1e-9 &&
                              std::hypot(g.x2 - e.x2, g.y2 - e.y2) < 1e-9;
            const bool swapped = std::hypot(g.x1 - e.x2, g.y1 - e.y2) < 1e-9 &&
                                 std::hypot(g.x2 - e.x1, g.y2 - e.y1) < 1e-9;
            EXPECT_TRUE(same || swapped) << c.what << " segment " << i << ": " << g.x1 << ','
                                         << g.y1 << " " << g.x2 << ',' << g.y2;
        }
    }
}

TEST(MapData, FieldIsBilinearBetweenValidCentresAndLeavesHoles) {
    // One row of three cells 100 mm apart, two samples per cell: x = -25, 25, 75, …, 225.
    struct Case {
        const char* what;
        std::vector<int> values;
        std::vector<double> field;  // NaN: undefined
    } cases[] = {
        {"a straight ramp, flat past the outer centres", {20, 40, 80}, {20, 25, 35, 50, 70, 80}},
        {"an invalid middle leaves a hole up to the next centres",
         {20, 0, 80},
         {20, NAN, NAN, NAN, NAN, 80}},
        {"an empty last cell", {20, 40}, {20, 25, 35, NAN, NAN, NAN}},
    };
    for (const Case& c : cases) {
        Component component = MakeComponent("W003", c.values);
        component.extras.grid = SurveyGrid{1, 3, 100, 50, ReadingOrder::Rows, GridCorner::TopLeft};
        const std::optional<MapData> map = MakeMapData(component, ClassTable::Rilem(), 1000, 2);
        ASSERT_TRUE(map) << c.what;
        ASSERT_EQ(map->field.values.size(), 2 * c.field.size()) << c.what;
        EXPECT_DOUBLE_EQ(map->field.x0, -25) << c.what;
        EXPECT_DOUBLE_EQ(map->field.y0, -12.5) << c.what;
        for (std::size_t i = 0; i < c.field.size(); ++i)
            for (int j = 0; j < 2; ++j) {
                const double v = map->field.At(static_cast<int>(i), j);
                if (std::isnan(c.field[i]))
                    EXPECT_TRUE(std::isnan(v)) << c.what << " sample " << i;
                else
                    EXPECT_DOUBLE_EQ(v, c.field[i]) << c.what << " sample " << i;
            }
    }
}

}  // namespace
}  // namespace ohmlet

namespace ohmlet {
namespace {

// A W component's blocks become its rows; a P component's positions give its spacing.
TEST(MapData, SuggestedGridFollowsTheBlocksOrTheProfile) {
    struct Case {
        const char* what;
        const char* number;
        int count;
        int blockOffset;
        std::vector<int> positions;  // empty: all 0
        std::optional<SurveyGrid> expected;
    };
    auto grid = [](int rows, int columns, double spacing = 0) {
        SurveyGrid g;
        g.rows = rows;
        g.columns = columns;
        g.spacingXmm = g.spacingYmm = spacing;
        return std::optional<SurveyGrid>(g);
    };
    const Case cases[] = {
        {"W two equal blocks", "W001", 40, 20, {}, grid(2, 20)},
        {"W longer second block", "W003", 30, 10, {}, grid(2, 20)},
        {"W without an offset", "W004", 12, 0, {}, grid(1, 12)},
        {"W blocks past the side", "W007", 250, 120, {}, grid(2, 100)},
        {"W without readings", "W008", 0, 20, {}, std::nullopt},
        {"P evenly spaced", "P001", 4, 0, {0, 50, 100, 150}, grid(1, 4, 50)},
        {"P walked backwards", "P002", 3, 0, {300, 200, 100}, grid(1, 3, 100)},
        {"P unevenly spaced", "P003", 4, 0, {0, 50, 120, 150}, grid(1, 4, 1)},
        {"P longer than a side", "P006", 130, 0, {}, grid(1, 100, 1)},
        {"single component", "0001", 10, 0, {}, std::nullopt},
    };
    for (const Case& c : cases) {
        Component component = MakeComponent(c.number, std::vector<int>(c.count, 30));
        component.blockOffset = c.blockOffset;
        for (std::size_t k = 0; k < c.positions.size(); ++k)
            component.points[k].position = c.positions[k];
        EXPECT_EQ(SuggestedGrid(component), c.expected) << c.what;
    }
}

}  // namespace
}  // namespace ohmlet
