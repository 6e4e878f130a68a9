// 测区网格: the dialog starts from the component's grid or the one its kind suggests, says
// what is wrong with bad values, and OK, 清除网格 and Cancel change the document in one
// undoable step or not at all.
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

#include "FrameFixture.h"
#include "app/CommandIds.h"
#include "dialogs/GridDialog.h"
#include "dialogs/GridPreview.h"

using namespace ohmlet;
using namespace ohmlet::test;

namespace {

class GridDialogTest : public FrameTest {
protected:
    std::vector<ComponentExtras> Extras() const {
        std::vector<ComponentExtras> all;
        for (const Component& c : doc.Components()) all.push_back(c.extras);
        return all;
    }
    // Runs the command with `answer` filling and closing the real dialog.
    void RunDialog(const std::function<int(GridDialog&)>& answer) {
        int asked = 0;
        frame->SetGridDialogHook([&](GridDialog& dialog) {
            ++asked;
            return answer(dialog);
        });
        frame->Action(cmd::kSurveyGrid)->trigger();
        EXPECT_EQ(asked, 1);
    }
};

SurveyGrid MakeGrid(int rows, int columns, double x, double y, ReadingOrder order,
                    GridCorner corner) {
    SurveyGrid g;
    g.rows = rows;
    g.columns = columns;
    g.spacingXmm = x;
    g.spacingYmm = y;
    g.order = order;
    g.firstCorner = corner;
    return g;
}

int Fill(GridDialog& d) {
    d.RowsBox()->setValue(2);
    d.ColumnsBox()->setValue(3);
    d.SpacingXEdit()->setText(QStringLiteral("100"));
    d.SpacingYEdit()->setText(QStringLiteral(" 150 "));
    d.OrderBox()->setCurrentIndex(1);   // serpentine rows
    d.CornerBox()->setCurrentIndex(2);  // bottom left
    d.ProbeSpacingEdit()->setText(QStringLiteral("50"));
    d.TemperatureEdit()->setText(QStringLiteral("-3.5"));
    d.MoistureEdit()->setText(QStringLiteral("干燥"));
    d.NoteEdit()->setText(QStringLiteral("北侧"));
    return d.Buttons()->button(QDialogButtonBox::Ok)->isEnabled() ? QDialog::Accepted
                                                                  : QDialog::Rejected;
}

TEST_F(GridDialogTest, OkClearAndCancelChangeTheDocumentInOneUndoableStep) {
    const SurveyGrid old = MakeGrid(1, 6, 0, 0, ReadingOrder::Rows, GridCorner::TopLeft);
    SurveyConditions oldConditions;
    oldConditions.surfaceCondition = "打磨";
    const SurveyGrid chosen =
        MakeGrid(2, 3, 100, 150, ReadingOrder::SerpentineRows, GridCorner::BottomLeft);
    SurveyConditions chosenConditions;
    chosenConditions.probeSpacingMm = 50;
    chosenConditions.concreteTemperatureC = -3.5;
    chosenConditions.moistureState = "干燥";
    chosenConditions.note = "北侧";
    // The dialog starts from the current component's conditions: its surface stays.
    SurveyConditions keptSurface = chosenConditions;
    keptSurface.surfaceCondition = oldConditions.surfaceCondition;
    enum Action { Ok, Clear, Cancel };
    struct Case {
        const char* what;
        int current;
        bool ticked;
        Action action;
        std::vector<std::optional<SurveyGrid>> grids;
        std::vector<SurveyConditions> conditions;
    } cases[] = {
        {"current", 1, false, Ok, {std::nullopt, chosen, std::nullopt}, {{}, keptSurface, {}}},
        {"ticked",
         0,
         true,
         Ok,
         {chosen, chosen, std::nullopt},
         {chosenConditions, chosenConditions, {}}},
        {"clear current",
         1,
         false,
         Clear,
         {std::nullopt, std::nullopt, std::nullopt},
         {{}, oldConditions, {}}},
        {"clear ticked",
         1,
         true,
         Clear,
         {std::nullopt, std::nullopt, std::nullopt},
         {{}, oldConditions, {}}},
        {"cancel", 1, true, Cancel, {std::nullopt, old, std::nullopt}, {{}, oldConditions, {}}},
    };
    for (const Case& c : cases) {
        std::vector<Component> list = {MakeComponent("W001", std::vector<int>(40, 30), 1),
                                       MakeComponent("0002", {10, 20, 30, 40, 50, 60}, 1),
                                       MakeComponent("0003", {10, 20}, 0)};
        list[0].blockOffset = 20;
        list[1].extras.grid = old;
        list[1].extras.conditions = oldConditions;
        Open(list);
        Doc().SelectComponent(c.current);
        const std::vector<ComponentExtras> before = Extras();
        RunDialog([&](GridDialog& d) {
            (c.ticked ? d.TickedChoice() : d.CurrentChoice())->setChecked(true);
            const int filled = Fill(d);
            if (c.action == Clear) d.ClearButton()->click();
            return c.action == Cancel  ? int(QDialog::Rejected)
                   : c.action == Clear ? d.result()
                                       : filled;
        });
        const std::vector<ComponentExtras> after = Extras();
        for (std::size_t i = 0; i < after.size(); ++i) {
            EXPECT_EQ(after[i].grid, c.grids[i]) << c.what << " component " << i;
            EXPECT_EQ(after[i].conditions, c.conditions[i]) << c.what << " component " << i;
        }
        const bool changed = after != before;
        EXPECT_EQ(Doc().CanUndo(), changed) << c.what;
        if (changed) {
            Doc().Undo();
            EXPECT_EQ(Extras(), before) << c.what << ": one undo takes it all back";
            EXPECT_FALSE(Doc().CanUndo()) << c.what;
            Doc().Redo();
            EXPECT_EQ(Extras(), after) << c.what;
        }
        answers = {QMessageBox::No};
        frame->NewDocument();
        answers.clear();
    }
}

// The grid a component has, else its kind's suggestion; the preview numbers the readings
// in the order walked and says how many fall outside.
TEST_F(GridDialogTest, StartsFromTheGridOrTheSuggestionAndPreviewsThePlaces) {
    Component wall = MakeComponent("W001", std::vector<int>(30, 30));
    wall.blockOffset = 15;
    Component profile = MakeComponent("P001", {30, 30, 30, 30});
    for (int k = 0; k < 4; ++k) profile.points[k].position = 250 * k;
    Component gridded = MakeComponent("0003", std::vector<int>(8, 30));
    gridded.extras.grid =
        MakeGrid(2, 3, 100, 150, ReadingOrder::SerpentineRows, GridCorner::BottomLeft);
    const Component single = MakeComponent("0004", std::vector<int>(7, 30));
    struct Case {
        const char* what;
        int rows, columns;
        const char* spacing;
        std::vector<int> firstRow;  // the numbers the preview draws on row 0
        const char* placement;      // a part of what is said under it
    } cases[] = {
        {"W blocks", 2, 15, "", {1, 2, 3, 4}, "正好填满"},
        {"P profile", 1, 4, "250", {1, 2, 3, 4}, "正好填满"},
        // Serpentine from the bottom left: 1 2 3 on the bottom row, then back 6 5 4.
        {"stored grid", 2, 3, "100", {6, 5, 4}, "有 2 个超出网格"},
        {"single", 1, 7, "", {1, 2, 3, 4, 5, 6, 7}, "正好填满"},
    };
    Open({wall, profile, gridded, single});
    for (int i = 0; i < 4; ++i) {
        const Case& c = cases[i];
        Doc().SelectComponent(i);
        RunDialog([&](GridDialog& d) {
            EXPECT_EQ(d.RowsBox()->value(), c.rows) << c.what;
            EXPECT_EQ(d.ColumnsBox()->value(), c.columns) << c.what;
            EXPECT_EQ(d.SpacingXEdit()->text(), QString::fromUtf8(c.spacing)) << c.what;
            for (std::size_t k = 0; k < c.firstRow.size(); ++k)
                EXPECT_EQ(d.Preview()->NumberAt(0, static_cast<int>(k)), c.firstRow[k])
                    << c.what << " cell " << k;
            EXPECT_TRUE(d.PlacementLabel()->text().contains(QString::fromUtf8(c.placement)))
                << c.what << ": " << d.PlacementLabel()->text().toStdString();
            return int(QDialog::Rejected);
        });
    }
    EXPECT_FALSE(Doc().CanUndo());
}

TEST_F(GridDialogTest, BadValuesAreNamedAndKeepOkOff) {
    struct Case {
        const char* what;
        std::function<void(GridDialog&)> edit;
        const char* problem;  // a part of the message; empty: none
    } cases[] = {
        {"good values", [](GridDialog&) {}, ""},
        {"spacing not a number", [](GridDialog& d) { d.SpacingXEdit()->setText("abc"); }, "间距"},
        {"spacing zero", [](GridDialog& d) { d.SpacingYEdit()->setText("0"); }, "间距"},
        {"spacing too large", [](GridDialog& d) { d.SpacingXEdit()->setText("1e9"); }, "间距"},
        {"one spacing only", [](GridDialog& d) { d.SpacingYEdit()->clear(); }, "同时"},
        {"both spacings left out",
         [](GridDialog& d) {
             d.SpacingXEdit()->clear();
             d.SpacingYEdit()->clear();
         },
         ""},
        {"probe spacing negative", [](GridDialog& d) { d.ProbeSpacingEdit()->setText("-1"); },
         "探头间距"},
        {"temperature too low", [](GridDialog& d) { d.TemperatureEdit()->setText("-60"); }, "温度"},
        {"temperature not finite", [](GridDialog& d) { d.TemperatureEdit()->setText("inf"); },
         "温度"},
        {"no ticked component", [](GridDialog& d) { d.TickedChoice()->setChecked(true); },
         "没有勾选"},
    };
    Open({MakeComponent("0001", {10, 20}, 0)});
    for (const Case& c : cases) {
        RunDialog([&](GridDialog& d) {
            Fill(d);
            c.edit(d);
            const QString problem = d.Problem();
            if (*c.problem)
                EXPECT_TRUE(problem.contains(QString::fromUtf8(c.problem)))
                    << c.what << ": " << problem.toStdString();
            else
                EXPECT_TRUE(problem.isEmpty()) << c.what << ": " << problem.toStdString();
            EXPECT_EQ(d.Buttons()->button(QDialogButtonBox::Ok)->isEnabled(), !*c.problem)
                << c.what;
            return int(QDialog::Rejected);
        });
    }
}

}  // namespace
