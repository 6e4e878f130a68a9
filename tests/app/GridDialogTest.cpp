// 测区网格: the dialog starts from the component's grid or its kind's suggestion, names
// bad values, and OK, 清除网格 and Cancel change the document in one undoable step or not at all.
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

#include "FrameFixture.h"
#include "app/CommandIds.h"
#include "dialogs/GridDialog.h"

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
        frame->SetGridDialogHook([&](GridDialog& dialog) { return ++asked, answer(dialog); });
        frame->Action(cmd::kSurveyGrid)->trigger();
        EXPECT_EQ(asked, 1);
    }
};

const SurveyGrid kChosen{2, 3, 100, 150, ReadingOrder::SerpentineRows, GridCorner::BottomLeft};

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
    return d.Buttons()->button(QDialogButtonBox::Ok)->isEnabled() ? QDialog::Accepted
                                                                  : QDialog::Rejected;
}

TEST_F(GridDialogTest, OkClearAndCancelChangeTheDocumentInOneUndoableStep) {
    const SurveyGrid old{1, 6};
    const SurveyConditions oldConditions{std::nullopt, std::nullopt, "", "打磨", ""};
    const SurveyConditions chosen{50, -3.5, "干燥", "", ""};
    // The dialog starts from the current component's conditions: its surface stays.
    const SurveyConditions keptSurface{50, -3.5, "干燥", "打磨", ""};
    enum Action { Ok, Clear, Cancel };
    struct Case {
        const char* what;
        int current;
        bool ticked;
        Action action;
        int startColumns;  // the stored grid's, or the W component's longer block
        std::vector<std::optional<SurveyGrid>> grids;
        std::vector<SurveyConditions> conditions;
    } cases[] = {
        {"current", 1, false, Ok, 6, {{}, kChosen, {}}, {{}, keptSurface, {}}},
        {"ticked", 0, true, Ok, 20, {kChosen, kChosen, {}}, {chosen, chosen, {}}},
        {"clear current", 1, false, Clear, 6, {{}, {}, {}}, {{}, oldConditions, {}}},
        {"clear ticked", 1, true, Clear, 6, {{}, {}, {}}, {{}, oldConditions, {}}},
        {"cancel", 1, true, Cancel, 6, {{}, old, {}}, {{}, oldConditions, {}}},
    };
    for (const Case& c : cases) {
        std::vector<Component> list = {MakeComponent("W001", std::vector<int>(40, 30), 1),
                                       MakeComponent("0002", {10, 20, 30, 40, 50, 60}, 1),
                                       MakeComponent("0003", {10, 20}, 0)};
        list[0].blockOffset = 20;
        list[1].extras = {old, oldConditions, ""};
        Open(list);
        Doc().SelectComponent(c.current);
        const std::vector<ComponentExtras> before = Extras();
        RunDialog([&](GridDialog& d) {
            EXPECT_EQ(d.ColumnsBox()->value(), c.startColumns) << c.what;
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
        EXPECT_EQ(Doc().CanUndo(), after != before) << c.what;
        if (after != before) {
            Doc().Undo();
            EXPECT_EQ(Extras(), before) << c.what << ": one undo takes it all back";
            EXPECT_FALSE(Doc().CanUndo()) << c.what;
        }
        answers = {QMessageBox::No};
        frame->NewDocument();
        answers.clear();
    }
}

TEST_F(GridDialogTest, BadValuesAreNamedAndKeepOkOff) {
    using Field = QLineEdit* (GridDialog::*)() const;
    const struct {
        Field field;  // none: the ticked components are chosen
        const char* text;
        const char* problem;  // a part of the message; empty: none
    } cases[] = {
        {&GridDialog::NoteEdit, "good values", ""},
        {&GridDialog::SpacingXEdit, "abc", "间距"},
        {&GridDialog::SpacingYEdit, "0", "间距"},
        {&GridDialog::SpacingYEdit, "", "同时"},
        {&GridDialog::ProbeSpacingEdit, "-1", "探头间距"},
        {&GridDialog::TemperatureEdit, "inf", "温度"},
        {nullptr, "", "没有勾选"},
    };
    Open({MakeComponent("0001", {10, 20}, 0)});
    for (const auto& c : cases) {
        RunDialog([&](GridDialog& d) {
            Fill(d);
            if (c.field)
                (d.*c.field)()->setText(QString::fromUtf8(c.text));
            else
                d.TickedChoice()->setChecked(true);
            const QString problem = d.Problem();
            EXPECT_TRUE(*c.problem ? problem.contains(QString::fromUtf8(c.problem))
                                   : problem.isEmpty())
                << c.text << ": " << problem.toStdString();
            EXPECT_EQ(d.Buttons()->button(QDialogButtonBox::Ok)->isEnabled(), !*c.problem)
                << c.text;
            return int(QDialog::Rejected);
        });
    }
}

}  // namespace
