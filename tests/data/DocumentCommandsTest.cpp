#include <gtest/gtest.h>

#include <iterator>

#include <algorithm>

#include "data/GbkText.h"
#include "support/TestSupport.h"

namespace ohmlet {
namespace {

std::vector<std::string> Numbers(const Document& doc) {
    std::vector<std::string> n;
    for (const Component& c : doc.Components()) n.push_back(c.Number());
    return n;
}

std::vector<int32_t> Values(const Component& c) {
    std::vector<int32_t> v;
    for (const MeasuringPoint& p : c.points) v.push_back(p.value);
    return v;
}

TEST(DocumentCommands, InsertIntoAnEmptyDocument) {
    Document doc;
    doc.SetClock([] { return test::FixedDay(2015, 3, 7); });
    doc.InsertComponent();
    ASSERT_EQ(doc.ComponentCount(), 1);
    const Component& c = doc.Components()[0];
    EXPECT_EQ(c.Number(), "0001");
    EXPECT_EQ(c.TestDate(),
              std::string("2015") + gbk::kYear + "03" + gbk::kMonth + "07" + gbk::kDay);
    EXPECT_EQ(c.selected, 1);
    // Twenty readings still to be taken: 0, which no figure counts, under the default minimum.
    EXPECT_EQ(Values(c), std::vector<int32_t>(20, 0));
    EXPECT_EQ(c.InvalidCount(), 20);
    EXPECT_EQ(CriterionOf(c), MinimumCriterion(kDefaultMinimum));
    EXPECT_EQ(c.passCount, 0);
    EXPECT_EQ(doc.TotalValidCount(), 0);
    EXPECT_EQ(c.points[0].spare, 16);
    EXPECT_EQ(c.blockOffset, 20);
    EXPECT_EQ(doc.CurrentIndex(), 0);
    EXPECT_TRUE(doc.IsModified());
}

TEST(DocumentCommands, ComponentNumbers) {
    struct Case {
        int count;
        const char* number;
    } cases[] = {{1, "0001"},    {42, "0042"},   {100, "0100"},   {999, "0999"},
                 {1000, "1000"}, {9999, "9999"}, {10000, "0000"}, {12345, "2345"}};
    for (const Case& k : cases)
        EXPECT_EQ(Document::MakeComponentNumber(k.count), k.number) << k.count;

    Document doc;
    for (int i = 0; i < 3; ++i) doc.InsertComponent();
    EXPECT_EQ(Numbers(doc), (std::vector<std::string>{"0001", "0002", "0003"}));
    doc.SelectComponent(1);
    doc.DeleteComponent();
    doc.InsertComponent();
    EXPECT_EQ(Numbers(doc), (std::vector<std::string>{"0001", "0003", "0003"}))
        << "numbers are not unique";
    EXPECT_EQ(doc.CurrentIndex(), 2) << "the new component is current";
}

// A document of `count` inserted components whose current index is `current`;
// -1 is reached the way a user reaches it, by deleting the only component.
void Prepare(Document& doc, int count, int current) {
    if (current < 0) {
        doc.InsertComponent();
        doc.DeleteComponent();
        std::vector<Component> list;
        for (int i = 1; i <= count; ++i)
            list.push_back(test::MakeComponent(Document::MakeComponentNumber(i), {}));
        doc.ReplaceComponents(list);
        return;
    }
    for (int i = 0; i < count; ++i) doc.InsertComponent();
    doc.SelectComponent(current);
}

TEST(DocumentCommands, DeleteKeepsOrMovesTheCurrentComponent) {
    struct Case {
        const char* what;
        int count;
        int current;
        int expectedCurrent;
        std::vector<std::string> expectedNumbers;
    } cases[] = {
        {"last of three", 3, 2, 1, {"0001", "0002"}},
        {"first of three", 3, 0, 0, {"0002", "0003"}},
        {"middle of three", 3, 1, 1, {"0001", "0003"}},
        {"the only one", 1, 0, -1, {}},
        {"the only one, none current", 1, -1, -1, {}},
        {"none current of two", 2, -1, -1, {"0001", "0002"}},
        {"empty document", 0, 0, 0, {}},
    };
    for (const Case& k : cases) {
        Document doc;
        Prepare(doc, k.count, k.current);
        ASSERT_EQ(doc.CurrentIndex(), k.current) << k.what;
        doc.DeleteComponent();
        EXPECT_EQ(doc.CurrentIndex(), k.expectedCurrent) << k.what;
        EXPECT_EQ(Numbers(doc), k.expectedNumbers) << k.what;
    }

    Document doc;
    Prepare(doc, 1, 0);
    doc.DeleteComponent();
    doc.InsertComponent();
    EXPECT_EQ(doc.CurrentIndex(), 0) << "an insert after deleting the only component is current";
}

TEST(DocumentCommands, PointInsertionAndDeletionAtTheEnds) {
    struct Case {
        const char* what;
        std::function<void(Document&)> action;
        std::vector<int32_t> expected;
    } cases[] = {
        {"above row 0", [](Document& d) { d.InsertPointAbove(0, 1); }, {0, 1, 2, 3}},
        {"above row pointCount appends",
         [](Document& d) { d.InsertPointAbove(3, 1); },
         {1, 2, 3, 0}},
        {"above past the end", [](Document& d) { d.InsertPointAbove(4, 1); }, {1, 2, 3}},
        {"above negative", [](Document& d) { d.InsertPointAbove(-1, 1); }, {1, 2, 3}},
        {"below the last row appends", [](Document& d) { d.InsertPointBelow(2, 1); }, {1, 2, 3, 0}},
        {"below row 0", [](Document& d) { d.InsertPointBelow(0, 1); }, {1, 0, 2, 3}},
        {"below row pointCount", [](Document& d) { d.InsertPointBelow(3, 1); }, {1, 2, 3}},
        {"delete first", [](Document& d) { d.DeletePoint(0, 1); }, {2, 3}},
        {"delete last", [](Document& d) { d.DeletePoint(2, 1); }, {1, 2}},
        {"delete past the end", [](Document& d) { d.DeletePoint(3, 1); }, {1, 2, 3}},
    };
    for (const Case& k : cases) {
        Document doc;
        Component c = test::MakeComponent("0001", {1, 2, 3});
        c.points[1].position = 9;
        c.ComputeMax();
        c.ComputeMin();
        doc.ReplaceComponents({c});
        k.action(doc);
        const Component& after = doc.Components()[0];
        EXPECT_EQ(Values(after), k.expected) << k.what;
        EXPECT_EQ(after.pointCount, static_cast<int32_t>(after.points.size())) << k.what;
        // The inserted 0 is no reading yet: the figures are those of 1, 2 and 3 or fewer.
        std::vector<int32_t> valid;
        std::copy_if(k.expected.begin(), k.expected.end(), std::back_inserter(valid),
                     [](int32_t v) { return v > 0; });
        const auto [lo, hi] = std::minmax_element(valid.begin(), valid.end());
        EXPECT_EQ(after.maxValue, *hi) << k.what << ": statistics follow the readings";
        EXPECT_EQ(after.minValue, *lo) << k.what << ": statistics follow the readings";
        for (const MeasuringPoint& p : after.points)
            if (p.value == 2) {
                EXPECT_EQ(p.position, 9) << k.what << ": points keep their fields";
            }
    }
}

TEST(DocumentCommands, HundredthInsertIsNumbered0100) {
    Document doc;
    for (int i = 0; i < 100; ++i) doc.InsertComponent();
    EXPECT_EQ(doc.Components().back().Number(), "0100");
}

// What an edit can change, without the statistics that every refresh recomputes.
std::string Content(const Document& doc) {
    std::string s = "current " + std::to_string(doc.CurrentIndex()) + ";";
    for (const Component& c : doc.Components()) {
        s += c.Number() + "|" + c.Name() + "|" + c.TestDate() + "|" + std::to_string(c.selected) +
             "|";
        for (const MeasuringPoint& p : c.points)
            s += std::to_string(p.position) + "," + std::to_string(p.value) + "," +
                 std::to_string(p.spare) + " ";
        s += ";";
    }
    return s;
}

TEST(DocumentCommands, UndoAndRedoOfEveryKindOfEdit) {
    struct Case {
        const char* what;
        int current;
        std::function<void(Document&)> edit;
    } cases[] = {
        {"cell", 0, [](Document& d) { d.SetCell(1, 1, 99); }},
        {"position", 1, [](Document& d) { d.SetCell(0, 1, 99); }},
        {"insert point", 0, [](Document& d) { d.InsertPointAbove(0, 1); }},
        {"delete point", 0, [](Document& d) { d.DeletePoint(1, 1); }},
        {"insert component", 0, [](Document& d) { d.InsertComponent(); }},
        {"delete component", 1, [](Document& d) { d.DeleteComponent(); }},
        {"delete the last component", 0,
         [](Document& d) {
             d.DeleteComponent();
             d.DeleteComponent();
         }},
        {"name", 0,
         [](Document& d) {
             d.SetComponentName("a");
             d.SetComponentName("ab");
         }},
        {"date", 0, [](Document& d) { d.SetComponentTestDate("2016"); }},
        {"tick", 0, [](Document& d) { d.SetComponentSelected(1, false); }},
        {"ticks and a component edit", 0,
         [](Document& d) {
             d.SetComponentSelected(0, false);
             d.InsertComponent();
             d.SetComponentSelected(2, false);
             d.SelectComponent(0);
             d.DeleteComponent();
         }},
    };
    for (const Case& k : cases) {
        Document doc;
        doc.ReplaceComponents(
            {test::MakeComponent("0001", {20, 21, 22}), test::MakeComponent("P002", {5})});
        doc.SelectComponent(k.current);
        std::string before = Content(doc);
        k.edit(doc);
        std::string after = Content(doc);
        ASSERT_NE(after, before) << k.what;
        while (doc.CanUndo()) doc.Undo();
        EXPECT_EQ(Content(doc), before) << k.what;
        while (doc.CanRedo()) doc.Redo();
        EXPECT_EQ(Content(doc), after) << k.what;
    }
}

TEST(DocumentCommands, TypingANameIsOneUndoStep) {
    Document doc;
    doc.ReplaceComponents({test::MakeComponent("0001", {1})});
    for (const char* text : {"b", "be", "bea", "beam"}) doc.SetComponentName(text);
    doc.SetCell(0, 1, 5);
    doc.SetComponentName("beam2");
    doc.Undo();
    EXPECT_EQ(doc.Components()[0].Name(), "beam");
    doc.Undo();
    doc.Undo();
    EXPECT_EQ(doc.Components()[0].Name(), "");
    EXPECT_FALSE(doc.CanUndo());
}

TEST(DocumentCommands, OpenAndSaveTrackUnsavedEdits) {
    test::TempDir dir;
    std::string path = dir.File("a.DZL");
    ASSERT_TRUE(WriteDzlFile(path, {test::MakeComponent("0001", {20, 30})}).Ok());

    Document doc;
    test::RecordingObserver observer;
    doc.AddObserver(&observer);
    ASSERT_TRUE(doc.Open(path).Ok());
    EXPECT_EQ(observer.calls, (std::vector<std::string>{"List", "Show:0001", "Grid"}));
    EXPECT_EQ(doc.DocumentPath(), path);
    EXPECT_FALSE(doc.IsModified());
    doc.SetCell(0, 1, 25);
    EXPECT_TRUE(doc.IsModified());
    std::string other = dir.File("b.DZL");
    ASSERT_TRUE(doc.Save(other).Ok());
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.DocumentPath(), other);

    DzlWriteResult failed = doc.Save(dir.File("missing/c.DZL"));
    EXPECT_FALSE(failed.Ok());
    EXPECT_EQ(doc.DocumentPath(), other) << "a failed save keeps the document's path";

    DzlReadResult missing = doc.Open(dir.File("none.DZL"));
    EXPECT_FALSE(missing.Ok());
    EXPECT_EQ(doc.ComponentCount(), 1) << "a failed open keeps the components";
}

TEST(DocumentCommands, ReadingKeepsTheCurrentIndexAndCountsFiguresFromTheReadings) {
    test::TempDir dir;
    std::string path = dir.File("stats.DZL");
    Component a = test::MakeComponent("0001", {20, 30});
    Component b = test::MakeComponent("0002", {40, 18});
    a.maxValue = b.maxValue = 1;
    a.passRate = b.passRate = 0.125f;
    ASSERT_TRUE(WriteDzlFile(path, {a, b}).Ok());

    Document doc;
    doc.ReplaceComponents({test::MakeComponent("X", {}), test::MakeComponent("Y", {})});
    doc.SelectComponent(1);
    ASSERT_TRUE(doc.Open(path).Ok());
    EXPECT_EQ(doc.CurrentIndex(), 1);
    // Stale stored figures are never shown beside fresh counts.
    EXPECT_EQ(doc.Components()[1].maxValue, 40);
    EXPECT_EQ(doc.Components()[0].maxValue, 30);
    EXPECT_EQ(doc.Components()[0].passRate, 0.5f);
    EXPECT_EQ(doc.Components()[0].passCount, 1);
    EXPECT_EQ(doc.TotalPointCount(), 4);
    EXPECT_EQ(doc.TotalPassCount(), 2);
}

TEST(DocumentCommands, SaveSelectedWritesTheCheckedRows) {
    test::TempDir dir;
    Document doc;
    for (int i = 0; i < 3; ++i) doc.InsertComponent();
    doc.SetComponentSelected(1, false);
    std::string path = dir.File("sel.DZL");
    ASSERT_TRUE(doc.WriteComponents(path, DzlSelection::SelectedOnly).Ok());
    DzlReadResult r = ReadDzlFile(path);
    ASSERT_EQ(r.components.size(), 2u);
    EXPECT_EQ(r.components[1].Number(), "0003");
    EXPECT_TRUE(doc.DocumentPath().empty()) << "save selected does not rename the document";
}

}  // namespace
}  // namespace ohmlet
