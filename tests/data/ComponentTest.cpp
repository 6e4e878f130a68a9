#include <gtest/gtest.h>

#include "support/TestSupport.h"

namespace ohmlet {
namespace {

TEST(Component, PassBandIncludesBothEdges) {
    struct Case {
        int value;
        bool passes;
    } cases[] = {{16, false}, {17, true}, {20, true}, {25, true}, {26, false}, {-17, false}};
    Component c = test::MakeComponent("0001", {});
    for (const Case& k : cases) EXPECT_EQ(c.Passes(k.value), k.passes) << k.value;

    Component band = test::MakeComponent("0001", {16, 17, 25, 26});
    EXPECT_EQ(band.CountPassing(), 2);
    band.RecomputePass();
    EXPECT_FLOAT_EQ(band.passRate, 0.5f);
}

TEST(Component, StatisticsOfReadings) {
    struct Case {
        std::vector<int> values;
        float max, min, average;
    } cases[] = {
        {{10, 11, 12}, 12, 10, 11},
        {{50, 90, 70}, 90, 50, 70},
        {{45, 46}, 46, 45, 45.5f},
        {{7}, 7, 7, 7},
        // Invalid readings are in no figure; without a valid one every figure is 0.
        {{-3, 3, 0, 1000}, 3, 3, 3},
        {{0, -3}, 0, 0, 0},
    };
    for (const Case& k : cases) {
        Component c = test::MakeComponent("0001", k.values);
        EXPECT_EQ(c.ComputeMax(), k.max);
        EXPECT_EQ(c.maxValue, k.max) << "stored";
        EXPECT_EQ(c.ComputeMin(), k.min);
        EXPECT_EQ(c.minValue, k.min) << "stored";
        EXPECT_FLOAT_EQ(c.ComputeAverage(), k.average);
    }
}

TEST(Component, WithoutPointsStatisticsKeepTheirStoredValues) {
    Component c = test::MakeComponent("0001", {});
    c.maxValue = 33;
    c.minValue = 22;
    c.passRate = 0.75f;
    c.passCount = 4;
    EXPECT_EQ(c.ComputeMax(), 33);
    EXPECT_EQ(c.ComputeMin(), 22);
    EXPECT_EQ(c.ComputeAverage(), 0);
    c.RecomputePass();
    EXPECT_EQ(c.passCount, 0);
    EXPECT_EQ(c.passRate, 0) << "no valid reading: no rate";
}

// A count that disagrees with the readings present (a hand-made or damaged component)
// gives the figures of the readings really held, and nothing beyond them.
TEST(Component, FiguresComeFromTheReadingsReallyHeld) {
    struct Case {
        int32_t pointCount;
        std::vector<int> values;
        int held;
        float max, min, average;
        int passing;
    } cases[] = {
        {25, {10, 20}, 2, 20, 10, 15, 1},
        {1, {10, 20, 30}, 1, 10, 10, 10, 0},
        {-3, {18}, 0, 0, 0, 0, 0},
    };
    for (const Case& k : cases) {
        Component c = test::MakeComponent("0001", k.values);
        c.pointCount = k.pointCount;
        EXPECT_EQ(c.HeldPointCount(), k.held) << k.pointCount;
        EXPECT_EQ(c.ComputeMax(), k.max) << k.pointCount;
        EXPECT_EQ(c.ComputeMin(), k.min) << k.pointCount;
        EXPECT_FLOAT_EQ(c.ComputeAverage(), k.average) << k.pointCount;
        EXPECT_EQ(c.CountPassing(), k.passing) << k.pointCount;
        EXPECT_EQ(c.PointValue(k.held), 0) << k.pointCount;
    }
}

TEST(Component, KindComesFromTheFirstCharacter) {
    struct Case {
        const char* number;
        ComponentKind kind;
    } cases[] = {{"P012", ComponentKind::Profile}, {"W001", ComponentKind::Grid},
                 {"0001", ComponentKind::Single},  {"Z001", ComponentKind::Single},
                 {"H001", ComponentKind::Single},  {"", ComponentKind::Single}};
    for (const Case& k : cases)
        EXPECT_EQ(test::MakeComponent(k.number, {}).Kind(), k.kind) << k.number;
}

TEST(Component, PointValueOutsideTheReadingsIsZero) {
    Component c = test::MakeComponent("0001", {5, 6});
    EXPECT_EQ(c.PointValue(-1), 0);
    EXPECT_EQ(c.PointValue(2), 0);
    EXPECT_EQ(c.PointValue(1), 6);
}

TEST(Component, TextsAreCutToTheirWidth) {
    Component c;
    c.SetName(std::string(150, 'x'));
    EXPECT_EQ(c.Name().size(), 99u);
    c.SetNumber("ABCDEFG");
    EXPECT_EQ(c.Number(), "ABCD");
    c.SetTestDate(std::string(30, '1'));
    EXPECT_EQ(c.TestDate().size(), 19u);
}

TEST(Component, CopyTakesTheRecordButNotTheDecoderAverage) {
    Component c = test::MakeComponent("W001", {1, 2});
    c.averageValue = 1.5f;
    c.passRate = 0.25f;
    Component copy = c;
    EXPECT_EQ(copy.averageValue, 0);
    EXPECT_EQ(copy.passRate, 0.25f);
    EXPECT_EQ(copy.Number(), "W001");
    copy.points[0].value = 99;
    EXPECT_EQ(c.points[0].value, 1) << "points are copied, not shared";
}

// SetCell by kind: which point and which field a column code reaches. Column 1, the
// grid's value column, edits the value of every kind.
TEST(Document, SetCellFollowsTheComponentKind) {
    struct Case {
        const char* number;
        int column;
        int expectedPoint;  // -1: nothing changes
        bool setsValue;
    } cases[] = {
        {"0001", 1, 1, true},  {"0001", 2, 1, true},  {"0001", 4, 1, true},  {"0001", 5, 1, true},
        {"0001", 3, -1, true}, {"Z001", 1, 1, true},  {"H001", 5, 1, true},  {"P001", 1, 1, true},
        {"P001", 2, 1, true},  {"P001", 4, -1, true}, {"P001", 5, -1, true}, {"W001", 1, 1, true},
        {"W001", 2, 1, true},  {"W001", 4, 3, false}, {"W001", 5, 3, true},  {"W001", 0, -1, true},
    };
    for (const Case& k : cases) {
        Document doc;
        Component c = test::MakeComponent(k.number, {20, 20, 20, 20, 20});
        c.blockOffset = 2;
        doc.ReplaceComponents({c});
        doc.SetCell(1, k.column, 77);
        const Component& after = doc.Components()[0];
        for (int i = 0; i < 5; ++i) {
            bool target = i == k.expectedPoint;
            EXPECT_EQ(after.points[i].value, target && k.setsValue ? 77 : 20)
                << k.number << " col " << k.column << " point " << i;
            EXPECT_EQ(after.points[i].position, target && !k.setsValue ? 77 : 0)
                << k.number << " col " << k.column << " point " << i;
        }
    }
}

TEST(Document, ValueEditRecomputesStatisticsAndTotals) {
    Document doc;
    doc.ReplaceComponents(
        {test::MakeComponent("0001", {20, 20}), test::MakeComponent("0002", {30})});
    doc.SelectComponent(0);
    doc.SetCell(0, 1, 26);
    const Component& c = doc.Components()[0];
    EXPECT_EQ(c.maxValue, 26);
    EXPECT_EQ(c.minValue, 20);
    EXPECT_EQ(c.passCount, 1);
    EXPECT_FLOAT_EQ(c.passRate, 0.5f);
    EXPECT_EQ(doc.TotalPointCount(), 3);
    EXPECT_EQ(doc.TotalPassCount(), 1);
    EXPECT_FLOAT_EQ(doc.OverallPassRate(), 1.0f / 3.0f);
    EXPECT_TRUE(doc.IsModified());
}

// The order in which the document asks the views to refresh.
TEST(Document, RefreshOrder) {
    using Calls = std::vector<std::string>;
    struct Case {
        const char* what;
        std::function<void(Document&)> action;
        Calls expected;
    } cases[] = {
        {"select", [](Document& d) { d.SelectComponent(1); }, {"Grid", "Show:0002"}},
        {"select out of range", [](Document& d) { d.SelectComponent(5); }, {}},
        {"value edit", [](Document& d) { d.SetCell(0, 1, 5); }, {"Show:0001", "Grid"}},
        {"value edit of a profile",
         [](Document& d) {
             d.SelectComponent(2);
             d.SetCell(0, 1, 5);
         },
         {"Grid", "Show:P003", "Show:P003", "Grid"}},
        {"position edit of a grid component",
         [](Document& d) {
             d.SelectComponent(3);
             d.SetCell(0, 4, 5);
         },
         {"Grid", "Show:W004", "Grid"}},
        {"tick", [](Document& d) { d.SetComponentSelected(1, false); }, {"Row:1"}},
        {"tick unchanged", [](Document& d) { d.SetComponentSelected(1, true); }, {}},
        {"tick out of range", [](Document& d) { d.SetComponentSelected(7, false); }, {}},
        {"date", [](Document& d) { d.SetComponentTestDate("2015"); }, {"List"}},
        {"name", [](Document& d) { d.SetComponentName("n"); }, {}},
        {"current point with refresh", [](Document& d) { d.SetCurrentPoint(1, true); }, {"Grid"}},
        {"current point without", [](Document& d) { d.SetCurrentPoint(1, false); }, {}},
        {"negative current point", [](Document& d) { d.SetCurrentPoint(-1, true); }, {}},
        {"insert component",
         [](Document& d) { d.InsertComponent(); },
         {"Grid", "Show:0005", "List", "Show:0005"}},
        {"delete component",
         [](Document& d) { d.DeleteComponent(); },
         {"List", "Show:0002", "Grid"}},
        {"insert point",
         [](Document& d) { d.InsertPointAbove(0, 1); },
         {"Grid", "PointCount", "Show:0001"}},
        {"insert point out of range",
         [](Document& d) { d.InsertPointBelow(9, 1); },
         {"Grid", "PointCount"}},
        {"delete point",
         [](Document& d) { d.DeletePoint(0, 1); },
         {"Grid", "PointCount", "Show:0001"}},
        {"undo",
         [](Document& d) {
             d.SetComponentName("x");
             d.Undo();
         },
         {"List", "Show:0001", "Grid"}},
    };
    for (const Case& k : cases) {
        Document doc;
        doc.ReplaceComponents({test::MakeComponent("0001", {20, 21}),
                               test::MakeComponent("0002", {22}), test::MakeComponent("P003", {23}),
                               test::MakeComponent("W004", {24})});
        test::RecordingObserver observer;
        doc.AddObserver(&observer);
        k.action(doc);
        EXPECT_EQ(observer.calls, k.expected) << k.what;
    }
}

TEST(Document, DeletingPointsOfAnEmptyComponentRefreshesNothing) {
    Document doc;
    doc.ReplaceComponents({test::MakeComponent("0001", {})});
    test::RecordingObserver observer;
    doc.AddObserver(&observer);
    doc.DeletePoint(0, 1);
    EXPECT_TRUE(observer.calls.empty());
}

}  // namespace
}  // namespace ohmlet
