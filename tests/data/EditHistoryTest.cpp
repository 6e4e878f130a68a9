#include <gtest/gtest.h>

#include <cstdint>

#include "data/EditHistory.h"

namespace ohmlet {
namespace {

// A whole-list record of `components` components with `points` readings each.
EditRecord ListRecord(int components, int points, int32_t mark) {
    EditRecord r;
    r.kind = EditKind::ComponentInsert;
    r.saved.resize(static_cast<std::size_t>(components));
    for (Component& c : r.saved) c.ResizePoints(points);
    r.currentComponent = mark;
    return r;
}

// Old records go when there are too many or they keep too many bytes; the newest edit
// can always be undone, however large, and undoing gives the records back newest first.
TEST(EditHistory, KeepsTheNewestWithinCountAndBytes) {
    const std::size_t record =
        sizeof(EditRecord) + 10 * sizeof(Component) + 10 * 100 * sizeof(MeasuringPoint);
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
    const std::size_t record =
        sizeof(EditRecord) + 10 * sizeof(Component) + 10 * 100 * sizeof(MeasuringPoint);
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

}  // namespace
}  // namespace ohmlet
