// Judging readings through the real frame: the panel's criterion fields with the frame's
// undo and redo, the criterion dialog's OK button, 工具 › 应用判定标准 and the grid's class
// colours under each class table of 工具 › 腐蚀等级表.
#include <QAction>
#include <QDialogButtonBox>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <functional>
#include <optional>

#include "FrameFixture.h"
#include "app/CommandIds.h"
#include "dialogs/ClassTableDialog.h"
#include "dialogs/CriterionDialog.h"
#include "report/ClassColours.h"
#include "report/ClassTableFile.h"
#include "report/InterpretationSettings.h"
#include "views/ClassLegend.h"
#include "views/ControlPanel.h"
#include "views/DataView.h"
#include "widgets/GridControl.h"
#include "widgets/GridTableModel.h"

namespace ohmlet {
void PrintTo(const Criterion& k, std::ostream* os) {
    *os << '{' << k.designValue << ", " << k.lowerTolerance << ", " << k.upperTolerance << '}';
}
}  // namespace ohmlet

using namespace ohmlet;
using namespace ohmlet::test;

namespace {

class InterpretationGuiTest : public FrameTest {
protected:
    QString Field(ControlPanel::Field f) const { return frame->Panel()->Edit(f)->text(); }
    // Replaces the field's text as a user does and confirms it with Enter.
    void TypeIntoField(ControlPanel::Field f, const QString& text) {
        QLineEdit* edit = frame->Panel()->Edit(f);
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, text);
        QTest::keyClick(edit, Qt::Key_Return);
    }
    // As the instrument writes it: the pass figures stored match the readings.
    static Component Measured(Component c) {
        c.RecomputeStatistics();
        return c;
    }
    static Component WithCriterion(Component c, const Criterion& k) {
        c.designValue = k.designValue;
        c.lowerTolerance = k.lowerTolerance;
        c.upperTolerance = k.upperTolerance;
        return c;
    }
    std::vector<Criterion> Criteria() {
        std::vector<Criterion> all;
        for (const Component& c : Doc().Components()) all.push_back(CriterionOf(c));
        return all;
    }
    std::vector<float> PassCounts() {
        std::vector<float> all;
        for (const Component& c : Doc().Components()) all.push_back(c.passCount);
        return all;
    }
};

// Readings 10 18 20 24 30 under 20 -3 +5 (band 17..25): three of five pass.
TEST_F(InterpretationGuiTest, ACriterionFieldEditIsOneStepTheFrameUndoesAndRedoes) {
    const struct {
        const char* name;
        ControlPanel::Field field;
        const char* shown;  // before the edit
        const char* typed;
        Criterion after;
        const char* passCount;
        const char* passRate;
    } cases[] = {
        {"design value", ControlPanel::kDesignValue, "20", "28", {28, -3, 5}, "1", "20.0%"},
        {"lower", ControlPanel::kLowerTolerance, "-3", "-12", {20, -12, 5}, "4", "80.0%"},
        {"upper", ControlPanel::kUpperTolerance, "5", "0", {20, -3, 0}, "2", "40.0%"},
    };
    const Criterion before{20, -3, 5};
    for (const auto& c : cases) {
        Open({Measured(MakeComponent("0001", {10, 18, 20, 24, 30}))});
        ASSERT_EQ(Field(ControlPanel::kPassCount), QStringLiteral("3")) << c.name;
        ASSERT_EQ(Field(ControlPanel::kPassRate), QStringLiteral("60.0%")) << c.name;

        TypeIntoField(c.field, QString::fromLatin1(c.typed));
        EXPECT_EQ(CriterionOf(*Doc().CurrentComponent()), c.after) << c.name;
        EXPECT_EQ(Field(ControlPanel::kPassCount), QString::fromLatin1(c.passCount)) << c.name;
        EXPECT_EQ(Field(ControlPanel::kPassRate), QString::fromLatin1(c.passRate)) << c.name;
        EXPECT_TRUE(Doc().IsModified()) << c.name;

        // The keys go to the frame while the field still has the focus.
        EXPECT_TRUE(frame->Panel()->Edit(c.field)->hasFocus()) << c.name;
        Key(Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(CriterionOf(*Doc().CurrentComponent()), before) << c.name;
        EXPECT_EQ(Field(c.field), QString::fromLatin1(c.shown)) << c.name;
        EXPECT_EQ(Field(ControlPanel::kPassCount), QStringLiteral("3")) << c.name;
        EXPECT_EQ(Field(ControlPanel::kPassRate), QStringLiteral("60.0%")) << c.name;
        EXPECT_FALSE(Doc().CanUndo()) << c.name;

        Key(Qt::Key_Y, Qt::ControlModifier);
        EXPECT_EQ(CriterionOf(*Doc().CurrentComponent()), c.after) << c.name;
        EXPECT_EQ(Field(c.field), QString::fromLatin1(c.typed)) << c.name;
        EXPECT_EQ(Field(ControlPanel::kPassCount), QString::fromLatin1(c.passCount)) << c.name;
        EXPECT_EQ(Field(ControlPanel::kPassRate), QString::fromLatin1(c.passRate)) << c.name;

        answers = {QMessageBox::No};
        frame->NewDocument();
        answers.clear();
    }
}

// Confirming a field without changing its number is no edit at all.
TEST_F(InterpretationGuiTest, ConfirmingAnUnchangedFieldLeavesNothingToUndo) {
    for (ControlPanel::Field f : {ControlPanel::kDesignValue, ControlPanel::kLowerTolerance,
                                  ControlPanel::kUpperTolerance}) {
        Open({MakeComponent("0001", {10, 18, 20, 24, 30})});
        TypeIntoField(f, Field(f));
        EXPECT_FALSE(Doc().CanUndo()) << f;
        EXPECT_FALSE(Doc().IsModified()) << f;
    }
}

// A minimum inside the scale or a band around its design value; the boxes cannot hold a
// deviation on the wrong side of 0.
TEST(InterpretationCriterionDialogTest, OkNeedsATickedComponentAndAUsableCriterion) {
    const struct {
        int ticked;
        bool minimum;
        int design, lower, upper;
        bool ok;
        Criterion value;
    } cases[] = {
        {0, false, 20, -3, 5, false, {20, -3, 5}},
        {1, false, 20, -3, 5, true, {20, -3, 5}},
        {3, false, 20, 0, 0, true, {20, 0, 0}},   // a band of one value
        {3, false, 20, 6, -5, true, {20, 0, 0}},  // held at 0 from either side
        {1, false, 1000000, -1000000, 1000000, true, {1000000, -1000000, 1000000}},
        {1, true, 10, -3, 5, true, MinimumCriterion(10)},
        {2, true, 999, 0, 0, true, MinimumCriterion(999)},
        {2, true, 0, 0, 0, false, MinimumCriterion(0)},
        {2, true, 1000, 0, 0, false, MinimumCriterion(1000)},  // the overflow limit
        {0, true, 10, 0, 0, false, MinimumCriterion(10)},
    };
    for (const auto& c : cases) {
        const std::string name = std::to_string(c.ticked) + (c.minimum ? " min " : " band ") +
                                 std::to_string(c.design) + " " + std::to_string(c.lower) + " " +
                                 std::to_string(c.upper);
        CriterionDialog edited(Criterion{20, -3, 5}, c.ticked);
        EXPECT_TRUE(edited.BandChoice()->isChecked()) << name;
        (c.minimum ? edited.MinimumChoice() : edited.BandChoice())->setChecked(true);
        edited.DesignBox()->setValue(c.design);
        edited.LowerBox()->setValue(c.lower);
        edited.UpperBox()->setValue(c.upper);
        EXPECT_EQ(edited.Buttons()->button(QDialogButtonBox::Ok)->isEnabled(), c.ok) << name;
        EXPECT_EQ(edited.Value(), c.value) << name;
        // Given back, a minimum opens as one.
        CriterionDialog given(c.value, c.ticked);
        EXPECT_EQ(given.MinimumChoice()->isChecked(), IsMinimum(c.value)) << name;
    }
}

TEST_F(InterpretationGuiTest, ApplyingACriterionChangesTheTickedComponentsAsOneStep) {
    const Criterion a{20, -3, 5}, b{40, -10, 10}, chosen{30, -15, 0};
    // Readings 10 18 20 24 30: under `chosen` (15..30) four pass, under a three, under b one.
    const struct {
        const char* name;
        std::vector<int> ticks;
        std::optional<Criterion> answer;
        int askedTicked;
        std::vector<Criterion> after;
        std::vector<float> passAfter;
    } cases[] = {
        {"two of three ticked", {1, 0, 1}, chosen, 2, {chosen, b, chosen}, {4, 1, 4}},
        {"all ticked", {1, 1, 1}, chosen, 3, {chosen, chosen, chosen}, {4, 4, 4}},
        {"cancelled", {1, 0, 1}, std::nullopt, 2, {a, b, a}, {3, 1, 3}},
        {"none ticked", {0, 0, 0}, chosen, 0, {a, b, a}, {3, 1, 3}},
    };
    for (const auto& c : cases) {
        const std::vector<int> readings{10, 18, 20, 24, 30};
        Open({WithCriterion(MakeComponent("0001", readings, c.ticks[0]), a),
              WithCriterion(MakeComponent("0002", readings, c.ticks[1]), b),
              WithCriterion(MakeComponent("0003", readings, c.ticks[2]), a)});
        Doc().SelectComponent(1);
        const std::vector<Criterion> before = Criteria();
        const std::vector<float> passBefore = PassCounts();
        std::vector<std::pair<Criterion, int>> asked;
        frame->SetCriterionPrompt([&](const Criterion& initial, int ticked) {
            asked.push_back({initial, ticked});
            return c.answer;
        });

        frame->Action(cmd::kApplyCriterion)->trigger();
        ASSERT_EQ(asked.size(), 1u) << c.name;
        EXPECT_EQ(asked[0].first, b) << c.name;  // the current component's
        EXPECT_EQ(asked[0].second, c.askedTicked) << c.name;
        EXPECT_EQ(Criteria(), c.after) << c.name;
        EXPECT_EQ(PassCounts(), c.passAfter) << c.name;
        const bool changed = c.after != before;
        EXPECT_EQ(Doc().IsModified(), changed) << c.name;
        EXPECT_EQ(Doc().CanUndo(), changed) << c.name;
        // The panel shows the current component's new figures.
        EXPECT_EQ(Field(ControlPanel::kDesignValue),
                  QString::number(static_cast<int>(c.after[1].designValue)))
            << c.name;

        if (changed) {
            Key(Qt::Key_Z, Qt::ControlModifier);
            EXPECT_EQ(Criteria(), before) << c.name;
            EXPECT_EQ(PassCounts(), passBefore) << c.name;
            EXPECT_FALSE(Doc().CanUndo()) << c.name;
            Key(Qt::Key_Y, Qt::ControlModifier);
            EXPECT_EQ(Criteria(), c.after) << c.name;
        }

        answers = {QMessageBox::No};
        frame->NewDocument();
        answers.clear();
    }
}

// Readings in every RILEM class and every Langford class, each table in its own order.
TEST_F(InterpretationGuiTest, ValueCellsTakeTheColourOfTheChosenTablesClassAndTheChoiceIsKept) {
    const std::vector<int> readings{120, 75, 30, 15, 7, 3};
    const struct {
        const char* name;
        int command;
        std::vector<std::size_t> classes;
        std::size_t count;
        const char* tableName;
    } cases[] = {
        {"Langford", cmd::kClassTableLangford, {0, 0, 0, 1, 2, 3}, 4, "langford"},
        {"user", cmd::kClassTableUser, {0, 0, 1, 1, 2, 2}, 3, "site"},
        {"RILEM", cmd::kClassTableRilem, {0, 1, 2, 2, 3, 3}, 4, "rilem"},
    };
    QTemporaryDir programDir;
    {
        QFile table(programDir.filePath(QStringLiteral("classtableini.ini")));
        ASSERT_TRUE(table.open(QIODevice::WriteOnly));
        table.write(
            "[Classes]\nName=site\nClass1=good\nBound1=60\nClass2=fair\nBound2=10\n"
            "Class3=poor\n");
    }
    frame->SetProgramFolder(programDir.path());
    frame->ReloadClassTable();
    Open({MakeComponent("0001", readings)});
    auto colours = [this](const std::vector<int>& values) {
        std::vector<QColor> shown;
        GridTableModel* model = frame->MainView()->Grid()->GridModel();
        for (std::size_t i = 0; i < values.size(); ++i)
            shown.push_back(
                model->index(static_cast<int>(i), 1).data(Qt::BackgroundRole).value<QColor>());
        return shown;
    };
    auto expected = [](const std::vector<std::size_t>& classes, std::size_t count) {
        std::vector<QColor> want;
        for (std::size_t k : classes) want.push_back(ClassColour(k, count));
        return want;
    };
    // Nothing chosen yet: RILEM.
    EXPECT_EQ(colours(readings), expected({0, 1, 2, 2, 3, 3}, 4));
    EXPECT_TRUE(frame->Action(cmd::kClassTableRilem)->isChecked());

    auto* menu = frame->findChild<QMenu*>(QStringLiteral("classTableMenu"));
    ASSERT_NE(menu, nullptr);
    for (const auto& c : cases) {
        QAction* item = nullptr;
        for (QAction* a : menu->actions())
            if (a == frame->Action(c.command)) item = a;
        ASSERT_NE(item, nullptr) << c.name;
        item->trigger();
        EXPECT_TRUE(errors.empty()) << c.name;
        EXPECT_EQ(colours(readings), expected(c.classes, c.count)) << c.name;
        EXPECT_TRUE(item->isChecked()) << c.name;
        EXPECT_TRUE(frame->Panel()->Legend()->title().contains(QLatin1String(c.tableName)))
            << c.name;
        EXPECT_EQ(frame->Panel()->Legend()->Lines().size(), static_cast<int>(c.count)) << c.name;

        // Another frame over the same settings starts with the choice.
        Document otherDoc;
        {
            MainWindow other(otherDoc);
            other.SetProgramFolder(programDir.path());
            other.ReloadClassTable();
            EXPECT_EQ(other.CurrentClassTable().Name(), c.tableName) << c.name;
            EXPECT_TRUE(other.Action(c.command)->isChecked()) << c.name;
        }
    }
}

// A chosen user table that cannot be read is said so; RILEM stays in use and ticked.
TEST_F(InterpretationGuiTest, AMissingUserTableFallsBackToRilemAndSaysSo) {
    QTemporaryDir programDir;
    frame->SetProgramFolder(programDir.path());
    frame->ReloadClassTable();
    Open({MakeComponent("0001", {120, 75, 30, 5})});
    frame->Action(cmd::kClassTableUser)->trigger();
    EXPECT_EQ(errors.size(), 1u);
    EXPECT_EQ(frame->CurrentClassTable().Name(), "rilem");
    EXPECT_TRUE(frame->Action(cmd::kClassTableRilem)->isChecked());
    EXPECT_FALSE(frame->Action(cmd::kClassTableUser)->isChecked());
    GridTableModel* model = frame->MainView()->Grid()->GridModel();
    const std::size_t classes[] = {0, 1, 2, 3};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(model->index(i, 1).data(Qt::BackgroundRole).value<QColor>(),
                  ClassColour(classes[i], 4))
            << i;
}

// The editor offers OK only for a table the file reader takes, and says what is wrong.
TEST(ClassTableDialogTest, OkOnlyForATableTheReaderTakes) {
    struct Case {
        const char* what;
        std::function<void(ClassTableDialog&)> edit;
        const char* problemPart;  // empty: OK is offered
        int rows;
    } cases[] = {
        {"as given", [](ClassTableDialog&) {}, "", 4},
        {"no table name", [](ClassTableDialog& d) { d.NameEdit()->clear(); }, "name", 4},
        {"a class without a name",
         [](ClassTableDialog& d) { d.Classes()->item(1, 0)->setText(QString()); }, "name", 4},
        {"a bound that is no whole number",
         [](ClassTableDialog& d) { d.Classes()->item(0, 1)->setText(QStringLiteral("9.5")); },
         "整数", 4},
        {"bounds that do not fall",
         [](ClassTableDialog& d) { d.Classes()->item(1, 1)->setText(QStringLiteral("500")); },
         "bound", 4},
        {"two classes left",
         [](ClassTableDialog& d) { d.RemoveButton()->click(), d.RemoveButton()->click(); }, "", 2},
        // The class above a new one needs a bound first.
        {"a new class to fill in", [](ClassTableDialog& d) { d.AddButton()->click(); }, "整数", 5},
    };
    for (const Case& c : cases) {
        ClassTableDialog dialog(ClassTable::Rilem());
        c.edit(dialog);
        const bool usable = *c.problemPart == 0;
        EXPECT_EQ(dialog.Buttons()->button(QDialogButtonBox::Ok)->isEnabled(), usable) << c.what;
        EXPECT_EQ(dialog.Table().has_value(), usable) << c.what;
        EXPECT_TRUE(dialog.Problem().contains(QString::fromUtf8(c.problemPart)))
            << c.what << ": " << dialog.Problem().toStdString();
        EXPECT_EQ(dialog.Classes()->rowCount(), c.rows) << c.what;
        // Never fewer than two classes, never more than six.
        EXPECT_EQ(dialog.RemoveButton()->isEnabled(), c.rows > 2) << c.what;
        EXPECT_EQ(dialog.AddButton()->isEnabled(), c.rows < 6) << c.what;
    }
}

// An edited table is written where the reader looks, read back the same, and taken in use.
TEST_F(InterpretationGuiTest, AnEditedUserTableIsSavedAndUsed) {
    QTemporaryDir programDir;
    frame->SetProgramFolder(programDir.path());
    std::string error;
    const std::optional<ClassTable> site =
        ClassTable::Make("工地表", {{"干燥", 200}, {"潮湿", -5}, {"饱水", 0}}, error);
    ASSERT_TRUE(site) << error;
    std::optional<ClassTable> offered;
    frame->SetClassTablePrompt([&](const ClassTable& initial) {
        offered = initial;
        return site;
    });
    Open({MakeComponent("0001", {300, 10, -20})});
    frame->Action(cmd::kEditClassTable)->trigger();
    ASSERT_TRUE(offered);
    // No user table yet: a copy of the one in use, as the window names its classes.
    EXPECT_EQ(offered->Name(), "我的等级表");
    EXPECT_EQ(offered->Classes()[0].name, "可忽略");
    EXPECT_EQ(offered->Classes()[0].lowerBound, 100);
    EXPECT_TRUE(errors.empty());
    EXPECT_EQ(frame->CurrentClassTable().Name(), "工地表");
    EXPECT_TRUE(frame->Action(cmd::kClassTableUser)->isChecked());
    const ClassTableFileResult back = ReadClassTableFile(UserClassTablePath(programDir.path()));
    ASSERT_TRUE(back.table) << back.text;
    ASSERT_EQ(back.table->Size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(back.table->Classes()[i].name, site->Classes()[i].name) << i;
        if (i < 2) {
            EXPECT_EQ(back.table->Classes()[i].lowerBound, site->Classes()[i].lowerBound);
        }
    }
    // The next edit starts from the saved table.
    frame->Action(cmd::kEditClassTable)->trigger();
    EXPECT_EQ(offered->Name(), "工地表");
}

}  // namespace
