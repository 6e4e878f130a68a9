#include <gtest/gtest.h>

#include <QDateEdit>
#include <QGroupBox>
#include <QLineEdit>
#include <QTest>
#include <QTreeWidget>

#include "data/Document.h"
#include "views/ControlPanel.h"
#include "TestFiles.h"

using namespace ohmlet;
using namespace ohmlet::testing;

namespace {

// Key presses carrying any text, Chinese included, as an input method delivers them.
void TypeText(QWidget* widget, const QString& text) {
    for (QChar ch : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(ch), Qt::NoModifier);
}

class ControlPanelTest : public ::testing::Test {
protected:
    void SetUp() override {
        panel = std::make_unique<ControlPanel>(doc);
        panel->resize(400, 620);
        panel->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(panel.get()));
    }
    void TearDown() override { panel.reset(); }

    void Load(std::vector<Component> components) {
        path = WriteFile(dir, QStringLiteral("t.DZL"), components);
        ASSERT_FALSE(path.isEmpty());
        ASSERT_TRUE(doc.Open(Local(path)).ok());
    }
    QString Text(ControlPanel::Field f) const { return panel->Edit(f)->text(); }
    QTreeWidget* List() const { return panel->List(); }
    int SelectedRow() const {
        for (int i = 0; i < List()->topLevelItemCount(); ++i)
            if (List()->topLevelItem(i)->isSelected()) return i;
        return -1;
    }
    void ClickRow(int row) {
        QRect r = List()->visualItemRect(List()->topLevelItem(row));
        QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, r.center() + QPoint(20, 0));
    }

    QTemporaryDir dir;
    QString path;
    Document doc;
    std::unique_ptr<ControlPanel> panel;
};

TEST_F(ControlPanelTest, OpeningTheExampleFillsTheListAndShowsTheCurrentComponent) {
    DzlReadResult independent = ReadDzlFile(OHMLET_EXAMPLE_FILE);
    ASSERT_TRUE(independent.ok());
    ASSERT_TRUE(doc.Open(OHMLET_EXAMPLE_FILE).ok());
    ASSERT_EQ(List()->topLevelItemCount(), static_cast<int>(independent.components.size()));
    int unchecked = 0;
    for (std::size_t i = 0; i < independent.components.size(); ++i) {
        const Component& c = independent.components[i];
        QTreeWidgetItem* row = List()->topLevelItem(static_cast<int>(i));
        EXPECT_EQ(row->text(0), QString::number(i + 1));
        EXPECT_EQ(row->text(1), FromGbk(c.GetNumber()));
        EXPECT_EQ(row->text(2), QString::number(c.pointCount));
        EXPECT_EQ(row->text(3), FromGbk(c.GetTestDate()));
        EXPECT_EQ(row->checkState(0) == Qt::Checked, c.selected != 0) << "row " << i;
        unchecked += c.selected == 0;
    }
    EXPECT_GT(unchecked, 0) << "the example should have unchecked rows";
    EXPECT_EQ(SelectedRow(), doc.currentComponent());
    EXPECT_EQ(Text(ControlPanel::kName), FromGbk(independent.components[0].GetName()));
    EXPECT_EQ(Text(ControlPanel::kNumber), FromGbk(independent.components[0].GetNumber()));
    EXPECT_EQ(Text(ControlPanel::kPointCount),
              QString::number(independent.components[0].pointCount));
}

TEST_F(ControlPanelTest, FieldsUseTheirFormats) {
    Load({MakeComponent("0001", {10, 11, 12})});
    EXPECT_EQ(Text(ControlPanel::kMaximum), QStringLiteral("12.0 kΩ*cm"));
    EXPECT_EQ(Text(ControlPanel::kMinimum), QStringLiteral("10.0 kΩ*cm"));
    EXPECT_EQ(Text(ControlPanel::kPointCount), QStringLiteral("3"));
    EXPECT_EQ(Text(ControlPanel::kAverage), QStringLiteral("11.0 kΩ*cm"));
    // Band 17..25: none of 10, 11, 12 passes.
    EXPECT_EQ(Text(ControlPanel::kPassCount), QStringLiteral("0"));
    EXPECT_EQ(Text(ControlPanel::kDesignValue), QStringLiteral("20"));
    EXPECT_EQ(Text(ControlPanel::kLowerTolerance), QStringLiteral("-3"));
    EXPECT_EQ(Text(ControlPanel::kUpperTolerance), QStringLiteral("5"));
    EXPECT_EQ(Text(ControlPanel::kTotalPoints), QStringLiteral("3"));
    EXPECT_EQ(Text(ControlPanel::kOverallPassRate), QStringLiteral("0.0%"));
    for (auto hidden :
         {ControlPanel::kDesignValue, ControlPanel::kUpperTolerance, ControlPanel::kLowerTolerance,
          ControlPanel::kPassCount, ControlPanel::kPassRate, ControlPanel::kTotalPoints})
        EXPECT_FALSE(panel->Edit(hidden)->isVisible()) << hidden;
    EXPECT_TRUE(panel->Edit(ControlPanel::kAverage)->isVisible());
    EXPECT_EQ(panel->CurrentGroup()->title(), QStringLiteral("当前构件"));
}

TEST_F(ControlPanelTest, ClickingARowMakesItCurrentAndKeysActOnThePreviousRow) {
    Load({MakeComponent("0001", {1}), MakeComponent("0002", {2, 2}),
          MakeComponent("0003", {3, 3, 3}), MakeComponent("0004", {4, 4, 4, 4})});
    ClickRow(2);
    EXPECT_EQ(doc.currentComponent(), 2);
    EXPECT_EQ(Text(ControlPanel::kNumber), QStringLiteral("0003"));
    EXPECT_TRUE(List()->hasFocus());

    QTest::keyClick(List(), Qt::Key_Down);  // acts on row 2, then the list moves to 3
    EXPECT_EQ(doc.currentComponent(), 2);
    EXPECT_EQ(SelectedRow(), 3);
    QTest::keyClick(List(), Qt::Key_Up);  // acts on row 3
    EXPECT_EQ(doc.currentComponent(), 3);
    EXPECT_EQ(Text(ControlPanel::kPointCount), QStringLiteral("4"));
}

TEST_F(ControlPanelTest, ClickingEmptySpaceWithNoRowSelectedChangesNothing) {
    Load({MakeComponent("0001", {1}), MakeComponent("0002", {2, 2})});
    List()->clearSelection();
    QTest::mouseClick(List()->viewport(), Qt::LeftButton, {},
                      QPoint(40, List()->viewport()->height() - 5));
    EXPECT_EQ(doc.currentComponent(), 0);
    EXPECT_EQ(Text(ControlPanel::kNumber), QStringLiteral("0001"));
}

struct DateCase {
    int year, month, day;
    const char* expectedUtf8;
    friend void PrintTo(const DateCase& c, std::ostream* os) {
        *os << c.year << "-" << c.month << "-" << c.day;
    }
};

class DatePickerTest : public ControlPanelTest, public ::testing::WithParamInterface<DateCase> {};

TEST_P(DatePickerTest, StoresTheDateWithSpacesForOneDigitMonthAndDay) {
    Load({MakeComponent("0001", {1})});
    const DateCase& p = GetParam();
    panel->DatePicker()->setDate(QDate(p.year, p.month, p.day));
    const std::string expected = ToGbk(QString::fromUtf8(p.expectedUtf8));
    ASSERT_EQ(expected.size(), 14u);
    EXPECT_EQ(doc.GetCurrentComponent()->GetTestDate(), expected);
    EXPECT_EQ(List()->topLevelItem(0)->text(3), QString::fromUtf8(p.expectedUtf8));
    // Year, month and day sit at bytes 0, 6 and 10.
    EXPECT_EQ(std::atoi(expected.substr(6, 2).c_str()), p.month);
    EXPECT_EQ(std::atoi(expected.substr(10, 2).c_str()), p.day);
}

INSTANTIATE_TEST_SUITE_P(Dates, DatePickerTest,
                         ::testing::Values(DateCase{2015, 3, 7, "2015年 3月 7日"},
                                           DateCase{2015, 11, 12, "2015年11月12日"},
                                           DateCase{2016, 10, 5, "2016年10月 5日"},
                                           DateCase{2016, 2, 29, "2016年 2月29日"}));

TEST_F(ControlPanelTest, ShowingAComponentReadsBothDateForms) {
    Load({MakeComponent("0001", {1}, 1, "", "2015年 3月 7日"),
          MakeComponent("0002", {1}, 1, "", "2015年11月12日")});
    EXPECT_EQ(panel->DatePicker()->date(), QDate(2015, 3, 7));
    doc.SelectComponent(1);
    EXPECT_EQ(panel->DatePicker()->date(), QDate(2015, 11, 12));
    EXPECT_EQ(doc.GetComponent(1)->GetTestDate(), ToGbk(QStringLiteral("2015年11月12日")))
        << "showing a date must not write it back";
}

TEST_F(ControlPanelTest, TypingANameStoresGbkCutAtACharacterBoundary) {
    Load({MakeComponent("0001", {1})});
    QLineEdit* name = panel->Edit(ControlPanel::kName);
    name->clear();
    TypeText(name, QStringLiteral("梁KL1"));
    EXPECT_EQ(doc.GetCurrentComponent()->GetName(), ToGbk(QStringLiteral("梁KL1")));

    name->clear();
    TypeText(name, QString(60, QChar(0x6881)));  // 60 x 梁 = 120 bytes
    const std::string stored = doc.GetCurrentComponent()->GetName();
    EXPECT_EQ(stored.size(), 98u) << "49 whole characters; half a character is never kept";
    EXPECT_EQ(FromGbk(stored), QString(49, QChar(0x6881)));
}

TEST_F(ControlPanelTest, InsertingAPointRewritesTheCountCellOnly) {
    Load({MakeComponent("0001", {10, 11, 12}), MakeComponent("0002", {5})});
    doc.InsertPointAbove(0, 1);
    EXPECT_EQ(List()->topLevelItem(0)->text(2), QStringLiteral("4"));
    EXPECT_EQ(Text(ControlPanel::kMinimum), QStringLiteral("10.0 kΩ*cm"));
}

TEST_F(ControlPanelTest, DeletingTheOnlyComponentEmptiesEveryField) {
    Load({MakeComponent("0001", {10, 11, 12}, 1, "梁")});
    ASSERT_FALSE(Text(ControlPanel::kName).isEmpty());
    doc.DeleteComponent();
    EXPECT_EQ(List()->topLevelItemCount(), 0);
    for (int f = ControlPanel::kName; f <= ControlPanel::kOverallPassRate; ++f)
        if (QLineEdit* edit = panel->Edit(static_cast<ControlPanel::Field>(f))) {
            EXPECT_TRUE(edit->text().isEmpty()) << f;
        }
    // Without a current component nothing is stored.
    QTest::keyClicks(panel->Edit(ControlPanel::kName), QStringLiteral("x"));
    EXPECT_EQ(doc.componentCount(), 0);
}

TEST_F(ControlPanelTest, CheckMarksReachTheModelOnlyThroughReadCheckMarks) {
    Load({MakeComponent("0001", {1}, 1), MakeComponent("0002", {1}, 0)});
    List()->topLevelItem(0)->setCheckState(0, Qt::Unchecked);
    List()->topLevelItem(1)->setCheckState(0, Qt::Checked);
    EXPECT_EQ(doc.GetComponent(0)->selected, 1);
    doc.ReadCheckMarks();
    EXPECT_EQ(doc.GetComponent(0)->selected, 0);
    EXPECT_EQ(doc.GetComponent(1)->selected, 1);
    EXPECT_FALSE(panel->IsRowChecked(5));
}

}  // namespace
