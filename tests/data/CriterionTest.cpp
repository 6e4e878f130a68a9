// Pass criteria set one at a time, on every ticked component, and on downloaded
// components without a band: pass figures follow, and undo and redo restore them.
#include <gtest/gtest.h>

#include <functional>

#include "data/Criterion.h"
#include "support/TestSupport.h"

namespace ohmlet {
namespace {

struct Snapshot {
    Criterion criterion;
    float passCount;
    float passRate;
};

Snapshot Of(const Document& doc, int index) {
    const Component& c = doc.Components()[static_cast<std::size_t>(index)];
    return {CriterionOf(c), c.passCount, c.passRate};
}

void ExpectSnapshot(const Snapshot& got, const Snapshot& want, const std::string& what) {
    EXPECT_EQ(got.criterion.designValue, want.criterion.designValue) << what;
    EXPECT_EQ(got.criterion.lowerTolerance, want.criterion.lowerTolerance) << what;
    EXPECT_EQ(got.criterion.upperTolerance, want.criterion.upperTolerance) << what;
    EXPECT_EQ(got.passCount, want.passCount) << what;
    EXPECT_FLOAT_EQ(got.passRate, want.passRate) << what;
}

// Band 17..25 on both. Component 0 holds 10, 20, 30 (one passes); component 1, not
// ticked, holds 18, 19, 40 (two pass).
void Prepare(Document& doc) {
    Component first = test::MakeComponent("0001", {10, 20, 30});
    Component second = test::MakeComponent("0002", {18, 19, 40});
    second.selected = 0;
    first.RecomputeStatistics();
    second.RecomputeStatistics();
    doc.ReplaceComponents({first, second});
    doc.SelectComponent(0);
}

TEST(CriterionEdits, EditUndoRedoRestoreValuesAndPassFigures) {
    struct Case {
        const char* what;
        std::function<void(Document&)> edit;
        Snapshot first, second;  // after the edit
        int32_t totalPassing;
    } cases[] = {
        {"widen component 0's band to 10..30",
         [](Document& d) {
             d.SetComponentCriterion(0, {20, -10, 10});
         },
         {{20, -10, 10}, 3, 1.0f},
         {{20, -3, 5}, 2, 2.0f / 3},
         5},
        {"move component 1's design value to 40",
         [](Document& d) {
             d.SetComponentCriterion(1, {40, -3, 5});
         },
         {{20, -3, 5}, 1, 1.0f / 3},
         {{40, -3, 5}, 1, 1.0f / 3},
         2},
        {"apply 30 +-0 to the ticked components only",
         [](Document& d) {
             d.ApplyCriterionToTicked({30, 0, 0});
         },
         {{30, 0, 0}, 1, 1.0f / 3},
         {{20, -3, 5}, 2, 2.0f / 3},
         3},
    };
    for (const Case& c : cases) {
        Document doc;
        Prepare(doc);
        const Snapshot before0 = Of(doc, 0), before1 = Of(doc, 1);
        const int32_t totalBefore = doc.TotalPassCount();
        c.edit(doc);
        ExpectSnapshot(Of(doc, 0), c.first, std::string(c.what) + ": edited, 0");
        ExpectSnapshot(Of(doc, 1), c.second, std::string(c.what) + ": edited, 1");
        EXPECT_EQ(doc.TotalPassCount(), c.totalPassing) << c.what;
        EXPECT_TRUE(doc.IsModified()) << c.what;

        ASSERT_TRUE(doc.CanUndo()) << c.what;
        doc.Undo();
        ExpectSnapshot(Of(doc, 0), before0, std::string(c.what) + ": undone, 0");
        ExpectSnapshot(Of(doc, 1), before1, std::string(c.what) + ": undone, 1");
        EXPECT_EQ(doc.TotalPassCount(), totalBefore) << c.what;
        EXPECT_FALSE(doc.CanUndo()) << c.what << ": one step";

        doc.Redo();
        ExpectSnapshot(Of(doc, 0), c.first, std::string(c.what) + ": redone, 0");
        ExpectSnapshot(Of(doc, 1), c.second, std::string(c.what) + ": redone, 1");
        EXPECT_EQ(doc.TotalPassCount(), c.totalPassing) << c.what;
    }
}

TEST(CriterionEdits, UnchangedOrOutOfRangeRecordsNothing) {
    struct Case {
        const char* what;
        std::function<void(Document&)> edit;
    } cases[] = {
        {"the same criterion",
         [](Document& d) {
             d.SetComponentCriterion(0, {20, -3, 5});
         }},
        {"no such component",
         [](Document& d) {
             d.SetComponentCriterion(5, {1, 2, 3});
         }},
        {"negative index",
         [](Document& d) {
             d.SetComponentCriterion(-1, {1, 2, 3});
         }},
        {"ticked ones already have it",
         [](Document& d) {
             d.ApplyCriterionToTicked({20, -3, 5});
         }},
    };
    for (const Case& c : cases) {
        Document doc;
        Prepare(doc);
        c.edit(doc);
        EXPECT_FALSE(doc.CanUndo()) << c.what;
        EXPECT_FALSE(doc.IsModified()) << c.what;
    }
}

// The panel and the grid show the new pass figures at once.
TEST(CriterionEdits, ShowsTheCurrentComponentAndRebuildsTheGrid) {
    Document doc;
    Prepare(doc);
    test::RecordingObserver seen;
    doc.AddObserver(&seen);
    doc.SetComponentCriterion(1, {40, -3, 5});
    EXPECT_EQ(seen.calls, (std::vector<std::string>{"Show:0001", "Grid"}));
    doc.RemoveObserver(&seen);
}

// Readings 5, 20, 60 on each component; the criterion's band around 30 is 20..1030.
TEST(CriterionModel, FillOnlyEmptyBandsAndOnlyTickedComponents) {
    struct Start {
        float design, lower, upper;
        int ticked;
    };
    const Start starts[] = {{20, 0, 0, 1}, {20, -3, 5, 1}, {0, 0, 0, 0}, {45, -20, 30, 0}};
    const Criterion wanted{30, -10, 1000};
    struct Case {
        const char* what;
        std::function<std::size_t(std::vector<Component>&)> run;
        std::size_t changed;
        Criterion after[4];
        float passing[4];
    } cases[] = {
        // An empty band keeps the instrument's design value when it sent one.
        {"empty bands",
         [&](auto& list) { return FillEmptyBands(list, wanted); },
         2,
         {{20, -10, 1000}, {20, -3, 5}, {30, -10, 1000}, {45, -20, 30}},
         {2, 1, 2, 1}},  // a filled band is counted again: 20 and 60 pass
        {"ticked",
         [&](auto& list) { return ApplyToTicked(list, wanted); },
         2,
         {wanted, wanted, {0, 0, 0}, {45, -20, 30}},
         {2, 2, 0, 1}},
    };
    for (const Case& c : cases) {
        std::vector<Component> list;
        for (const Start& s : starts) {
            Component k = test::MakeComponent("0001", {5, 20, 60});
            k.designValue = s.design;
            k.lowerTolerance = s.lower;
            k.upperTolerance = s.upper;
            k.selected = s.ticked;
            k.CountPassing();
            list.push_back(k);
        }
        EXPECT_EQ(c.run(list), c.changed) << c.what;
        for (std::size_t i = 0; i < list.size(); ++i) {
            EXPECT_TRUE(CriterionOf(list[i]) == c.after[i]) << c.what << " " << i;
            EXPECT_EQ(list[i].passCount, c.passing[i]) << c.what << " " << i;
        }
    }
}

}  // namespace
}  // namespace ohmlet
