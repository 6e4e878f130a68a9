// What edits do beyond the readings: statistics and totals follow every change of the
// readings, and a tick is an edit like any other.
#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "support/TestSupport.h"

namespace ohmlet {
namespace {

struct Figures {
    int32_t points;
    float max, min, passCount, passRate;
    int32_t totalPoints, totalPassing;
};

Figures Of(const Document& doc, int index) {
    const Component& c = doc.Components()[static_cast<std::size_t>(index)];
    return {c.pointCount,          c.maxValue,          c.minValue, c.passCount, c.passRate,
            doc.TotalPointCount(), doc.TotalPassCount()};
}

void ExpectFigures(const Figures& got, const Figures& want, const char* what) {
    EXPECT_EQ(got.points, want.points) << what;
    EXPECT_EQ(got.max, want.max) << what;
    EXPECT_EQ(got.min, want.min) << what;
    EXPECT_EQ(got.passCount, want.passCount) << what;
    EXPECT_FLOAT_EQ(got.passRate, want.passRate) << what;
    EXPECT_EQ(got.totalPoints, want.totalPoints) << what;
    EXPECT_EQ(got.totalPassing, want.totalPassing) << what;
}

// Band 17..25. Component 0 holds 10, 20, 30 (one passes); component 1 holds 18, 19.
Document* Prepare(Document& doc) {
    doc.ReplaceComponents(
        {test::MakeComponent("0001", {10, 20, 30}), test::MakeComponent("0002", {18, 19})});
    doc.SelectComponent(0);
    return &doc;
}

TEST(EditEffects, PointEditsRecomputeStatisticsAndTotals) {
    struct Case {
        const char* what;
        std::function<void(Document&)> edit;
        Figures expected;  // of component 0 and the document
    } cases[] = {
        {"delete the maximum",
         [](Document& d) { d.DeletePoint(2, 1); },
         {2, 20, 10, 1, 0.5f, 4, 3}},
        {"delete the passing reading",
         [](Document& d) { d.DeletePoint(1, 1); },
         {2, 30, 10, 0, 0, 4, 2}},
        // A 0 is no reading: in no figure and in no rate.
        {"insert a zero below",
         [](Document& d) { d.InsertPointBelow(0, 1); },
         {4, 30, 10, 1, 1.0f / 3, 6, 3}},
        {"insert above, then type a passing value",
         [](Document& d) {
             d.InsertPointAbove(0, 1);
             d.SetCell(0, 1, 22);
         },
         {4, 30, 10, 2, 0.5f, 6, 4}},
        {"delete every reading",
         [](Document& d) {
             for (int i = 0; i < 3; ++i) d.DeletePoint(0, 1);
         },
         {0, 0, 0, 0, 0, 2, 2}},
        {"delete, then undo",
         [](Document& d) {
             d.DeletePoint(2, 1);
             d.Undo();
         },
         {3, 30, 10, 1, 1.0f / 3, 5, 3}},
        {"delete, undo, redo",
         [](Document& d) {
             d.DeletePoint(2, 1);
             d.Undo();
             d.Redo();
         },
         {2, 20, 10, 1, 0.5f, 4, 3}},
        {"delete on another component leaves this one as it was",
         [](Document& d) {
             d.SelectComponent(1);
             d.DeletePoint(0, 1);
         },
         {3, 30, 10, 1, 1.0f / 3, 4, 2}},
    };
    for (const Case& k : cases) {
        Document doc;
        k.edit(*Prepare(doc));
        ExpectFigures(Of(doc, 0), k.expected, k.what);
    }
}

TEST(EditEffects, SaveWritesTheFiguresOfTheEditedReadings) {
    test::TempDir dir;
    Document doc;
    Prepare(doc);
    doc.DeletePoint(2, 1);
    const std::string path = dir.File("edited.DZL");
    ASSERT_TRUE(doc.Save(path).Ok());
    DzlReadResult read = ReadDzlFile(path);
    ASSERT_TRUE(read.Ok());
    const Component& c = read.components[0];
    EXPECT_EQ(c.pointCount, 2);
    EXPECT_EQ(c.maxValue, 20);
    EXPECT_EQ(c.minValue, 10);
    EXPECT_EQ(c.passCount, 1);
    EXPECT_FLOAT_EQ(c.passRate, 0.5f);
}

TEST(EditEffects, TickIsAnUndoableEditThatMarksTheDocument) {
    struct Case {
        const char* what;
        std::function<void(Document&)> steps;
        std::vector<int32_t> selected;
        bool modified;
    } cases[] = {
        {"untick", [](Document& d) { d.SetComponentSelected(1, false); }, {1, 0, 1}, true},
        {"tick what is ticked",
         [](Document& d) { d.SetComponentSelected(0, true); },
         {1, 1, 1},
         false},
        {"untick, undo",
         [](Document& d) {
             d.SetComponentSelected(1, false);
             d.Undo();
         },
         {1, 1, 1},
         false},
        {"untick, undo, redo",
         [](Document& d) {
             d.SetComponentSelected(1, false);
             d.Undo();
             d.Redo();
         },
         {1, 0, 1},
         true},
        {"two ticks, one undo",
         [](Document& d) {
             d.SetComponentSelected(0, false);
             d.SetComponentSelected(2, false);
             d.Undo();
         },
         {0, 1, 1},
         true},
        // Refreshes of the list never reset what the user ticked.
        {"untick, then a date change",
         [](Document& d) {
             d.SetComponentSelected(1, false);
             d.SelectComponent(1);
             d.SetComponentTestDate("2016");
         },
         {1, 0, 1},
         true},
        {"untick, then insert and delete a point",
         [](Document& d) {
             d.SetComponentSelected(0, false);
             d.InsertPointAbove(0, 1);
             d.DeletePoint(0, 1);
         },
         {0, 1, 1},
         true},
        {"untick, insert a component, undo the insert",
         [](Document& d) {
             d.SetComponentSelected(2, false);
             d.InsertComponent();
             d.Undo();
         },
         {1, 1, 0},
         true},
        {"untick, delete another component",
         [](Document& d) {
             d.SetComponentSelected(2, false);
             d.SelectComponent(0);
             d.DeleteComponent();
         },
         {1, 0},
         true},
    };
    for (const Case& k : cases) {
        Document doc;
        doc.ReplaceComponents({test::MakeComponent("0001", {1}), test::MakeComponent("0002", {2}),
                               test::MakeComponent("0003", {3})});
        k.steps(doc);
        std::vector<int32_t> selected;
        for (const Component& c : doc.Components()) selected.push_back(c.selected);
        EXPECT_EQ(selected, k.selected) << k.what;
        EXPECT_EQ(doc.IsModified(), k.modified) << k.what;
    }
}

// "Modified" means "differs from the saved file": undo and redo back to the saved state
// clear it, and an edit that makes that state unreachable keeps it set for good.
TEST(EditEffects, ModifiedFollowsTheSavedState) {
    struct Case {
        const char* what;
        std::function<void(Document&)> afterSave;
        bool modified;
    } cases[] = {
        {"nothing", [](Document&) {}, false},
        {"edit, undo", [](Document& d) { d.SetCell(0, 1, 7), d.Undo(); }, false},
        {"edit, undo, redo", [](Document& d) { d.SetCell(0, 1, 7), d.Undo(), d.Redo(); }, true},
        {"undo past the save, redo", [](Document& d) { d.Undo(), d.Redo(); }, false},
        {"undo past the save, new edit, undo",
         [](Document& d) { d.Undo(), d.SetComponentSelected(2, false), d.Undo(); }, true},
        {"name typed on after the save, undo",
         [](Document& d) { d.SetComponentName("ab"), d.Undo(); }, false},
    };
    for (const Case& k : cases) {
        test::TempDir dir;
        Document doc;
        doc.ReplaceComponents({test::MakeComponent("0001", {1, 2}),
                               test::MakeComponent("0002", {2}), test::MakeComponent("0003", {3})});
        doc.SetComponentName("a");  // an open, mergeable record when the file is saved
        ASSERT_TRUE(doc.Save(dir.File("m.DZL")).Ok());
        k.afterSave(doc);
        EXPECT_EQ(doc.IsModified(), k.modified) << k.what;
    }
}

TEST(EditEffects, TicksSurviveSaveAndReopen) {
    test::TempDir dir;
    const std::string path = dir.File("ticks.DZL");
    {
        Document doc;
        doc.ReplaceComponents({test::MakeComponent("0001", {1}), test::MakeComponent("0002", {2}),
                               test::MakeComponent("0003", {3})});
        doc.SetComponentSelected(0, false);
        doc.SetComponentSelected(2, false);
        doc.SetComponentSelected(2, true);
        doc.SetComponentSelected(1, false);
        ASSERT_TRUE(doc.Save(path).Ok());
        EXPECT_FALSE(doc.IsModified());
    }
    Document reopened;
    ASSERT_TRUE(reopened.Open(path).Ok());
    std::vector<int32_t> selected;
    for (const Component& c : reopened.Components()) selected.push_back(c.selected);
    EXPECT_EQ(selected, (std::vector<int32_t>{0, 0, 1}));
}

// Undo keeps one component per edit, so undoing an insert or a delete in a long list
// puts back exactly the component concerned, wherever it was.
TEST(EditEffects, ComponentInsertAndDeleteUndoAtEveryPlace) {
    for (int at : {0, 1, 4, 5}) {
        Document doc;
        std::vector<Component> list;
        for (int i = 0; i < 6; ++i)
            list.push_back(test::MakeComponent(Document::MakeComponentNumber(i + 1), {i}));
        doc.ReplaceComponents(list);
        doc.SelectComponent(at);
        doc.DeleteComponent();
        doc.InsertComponent();
        ASSERT_EQ(doc.ComponentCount(), 6) << at;
        doc.Undo();
        doc.Undo();
        ASSERT_EQ(doc.ComponentCount(), 6) << at;
        for (int i = 0; i < 6; ++i) {
            EXPECT_EQ(doc.Components()[static_cast<std::size_t>(i)].points[0].value, i)
                << "deleted " << at << ", component " << i;
        }
        EXPECT_EQ(doc.CurrentIndex(), at);
        doc.Redo();
        EXPECT_EQ(doc.ComponentCount(), 5) << at;
        EXPECT_EQ(doc.Components()[static_cast<std::size_t>(std::min(at, 4))].points[0].value,
                  at == 5 ? 4 : at + 1)
            << at;
    }
}

// The totals are kept by adding and removing one component's counts; after any run of
// edits they equal the counts made afresh from every reading.
TEST(EditEffects, TotalsEqualAFreshCountAfterEveryEdit) {
    const std::vector<std::pair<const char*, std::function<void(Document&)>>> edits = {
        {"insert component", [](Document& d) { d.InsertComponent(); }},
        {"select 1", [](Document& d) { d.SelectComponent(1); }},
        {"type 22", [](Document& d) { d.SetCell(0, 1, 22); }},
        {"insert point", [](Document& d) { d.InsertPointBelow(0, 1); }},
        {"delete point", [](Document& d) { d.DeletePoint(1, 1); }},
        {"delete component", [](Document& d) { d.DeleteComponent(); }},
        {"undo", [](Document& d) { d.Undo(); }},
        {"redo", [](Document& d) { d.Redo(); }},
        {"select last", [](Document& d) { d.SelectComponent(d.ComponentCount() - 1); }},
        {"tick", [](Document& d) { d.SetComponentSelected(0, false); }},
    };
    std::mt19937 random(11);
    std::uniform_int_distribution<std::size_t> pick(0, edits.size() - 1);
    Document doc;
    Prepare(doc);
    for (int step = 0; step < 400; ++step) {
        const auto& [what, edit] = edits[pick(random)];
        edit(doc);
        int32_t points = 0, passing = 0;
        for (const Component& c : doc.Components()) {
            points += c.pointCount;
            Component fresh = c;
            passing += fresh.CountPassing();
        }
        ASSERT_EQ(doc.TotalPointCount(), points) << "step " << step << ": " << what;
        ASSERT_EQ(doc.TotalPassCount(), passing) << "step " << step << ": " << what;
    }
}

}  // namespace
}  // namespace ohmlet
