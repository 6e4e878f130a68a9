#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "data/EditHistory.h"
#include "support/TestSupport.h"

namespace ohmlet {
namespace {

// A record keeping one component of `components` times `points` readings.
EditRecord ListRecord(int components, int points, int32_t mark) {
    EditRecord r;
    r.kind = EditKind::ComponentInsert;
    edit::Insert insert;
    insert.component.ResizePoints(components * points);
    r.change = std::move(insert);
    r.currentComponent = mark;
    return r;
}

// Old records go when there are too many or they keep too many bytes; the newest edit
// can always be undone, however large, and undoing gives the records back newest first.
TEST(EditHistory, KeepsTheNewestWithinCountAndBytes) {
    const std::size_t record = sizeof(EditRecord) + 10 * 100 * sizeof(MeasuringPoint);
    struct Case {
        const char* what;
        std::size_t budget;
        int edits;
        int components;
        std::size_t kept;
    } cases[] = {
        {"count cap", SIZE_MAX, 150, 10, EditHistory::kMaxRecords},
        {"byte cap", 3 * record + record / 2, 10, 10, 3},
        {"one record larger than the budget", record / 2, 5, 10, 1},
    };
    for (const Case& c : cases) {
        EditHistory history(c.budget);
        for (int i = 0; i < c.edits; ++i) history.Record(ListRecord(c.components, 100, i), false);
        EXPECT_EQ(history.UndoCount(), c.kept) << c.what;
        for (std::size_t k = 0; k < c.kept; ++k) {
            ASSERT_TRUE(history.CanUndo()) << c.what;
            EXPECT_EQ(history.TakeUndo().currentComponent, c.edits - 1 - static_cast<int>(k))
                << c.what;
        }
        EXPECT_FALSE(history.CanUndo()) << c.what;
    }
}

// Undo then redo moves records between the stacks without losing count of the bytes:
// after a round trip the budget still admits as many records as before.
TEST(EditHistory, UndoAndRedoKeepTheByteCountRight) {
    const std::size_t record = sizeof(EditRecord) + 10 * 100 * sizeof(MeasuringPoint);
    EditHistory history(3 * record + record / 2);
    for (int i = 0; i < 3; ++i) history.Record(ListRecord(10, 100, i), false);
    for (int round = 0; round < 5; ++round) {
        history.PushRedo(history.TakeUndo());
        history.PushUndo(history.TakeRedo());
    }
    EXPECT_EQ(history.UndoCount(), 3u);
    history.Record(ListRecord(10, 100, 3), false);
    EXPECT_EQ(history.UndoCount(), 3u);
    EXPECT_EQ(history.TakeUndo().currentComponent, 3);
}

// A list that notes which components leave or change (-) and join or changed (+).
struct NotingList : EditTarget {
    std::vector<Component> list;
    std::string heard;
    std::vector<Component>& EditedList() override { return list; }
    void Release(const Component& c) override { heard += "-" + c.Number() + " "; }
    void Adopt(Component& c) override { heard += "+" + c.Number() + " "; }

    std::string Text() const {
        std::string text;
        for (const Component& c : list) {
            text += c.Number() + (c.selected ? "x" : "") + " d" + std::to_string(c.DesignValue()) +
                    " max" + std::to_string(static_cast<int>(c.maxValue)) + " p" +
                    std::to_string(static_cast<int>(c.passCount)) + ";";
        }
        return text;
    }
};

// Each record changes only what it names, tells the list of every component it takes
// out or puts in, and its inverse brings the list back as it was.
TEST(EditRecords, ApplyThenInverseRestoresTheList) {
    Component added = test::MakeComponent("0009", {5, 30});
    struct Case {
        const char* what;
        EditChange change;
        std::string after;
        std::string heard;
    } cases[] = {
        {"replace", edit::Replace{1, added}, "0001x d20 max20 p1;0009x d20 max30 p0;",
         "-0002 +0009 "},
        {"insert", edit::Insert{1, added},
         "0001x d20 max20 p1;0009x d20 max30 p0;0002x d20 max19 p2;", "+0009 "},
        {"erase", edit::Erase{0}, "0002x d20 max19 p2;", "-0001 "},
        {"ticks", edit::Ticks{{{1, 0}}}, "0001x d20 max20 p1;0002 d20 max19 p2;", ""},
        {"criteria", edit::Criteria{{{0, {15, -5, 10}}}}, "0001x d15 max20 p2;0002x d20 max19 p2;",
         "-0001 +0001 "},
        {"out of range", edit::Replace{2, added}, "0001x d20 max20 p1;0002x d20 max19 p2;", ""},
    };
    for (Case& k : cases) {
        NotingList target;
        target.list = {test::MakeComponent("0001", {10, 20}),
                       test::MakeComponent("0002", {18, 19})};
        for (Component& c : target.list) c.RecomputeStatistics();
        const std::string before = target.Text();
        EditChange inverse = std::visit([&](auto& c) { return c.Apply(target); }, k.change);
        EXPECT_EQ(target.Text(), k.after) << k.what;
        EXPECT_EQ(target.heard, k.heard) << k.what;
        std::visit([&](auto& c) { return c.Apply(target); }, inverse);
        EXPECT_EQ(target.Text(), before) << k.what << ", undone";
    }
}

}  // namespace
}  // namespace ohmlet
