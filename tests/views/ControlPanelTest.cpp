#include <gtest/gtest.h>

#include <QAction>
#include <QDateEdit>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <algorithm>
#include <functional>

#include "data/Document.h"
#include "support/QtTestSupport.h"
#include "views/ComponentListFilter.h"
#include "views/ComponentListModel.h"
#include "views/ComponentStatsBox.h"
#include "views/ControlPanel.h"

using namespace ohmlet;
using namespace ohmlet::test;

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
        panel->resize(400, 1000);
        panel->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(panel.get()));
    }
    void TearDown() override { panel.reset(); }

    void Load(std::vector<Component> components) {
        path = WriteFile(dir, QStringLiteral("t.DZL"), components);
        ASSERT_FALSE(path.isEmpty());
        ASSERT_TRUE(doc.Open(Local(path)).Ok());
    }
    QString Text(ControlPanel::Field f) const { return panel->Edit(f)->text(); }
    QTableView* List() const { return panel->List(); }
    int Rows() const { return List()->model()->rowCount(); }
    QString Cell(int row, int col) const {
        return List()->model()->index(row, col).data().toString();
    }
    bool Ticked(int row) const {
        return List()->model()->index(row, 0).data(Qt::CheckStateRole).toInt() == Qt::Checked;
    }
    int SelectedRow() const {
        for (int i = 0; i < Rows(); ++i)
            if (List()->selectionModel()->isRowSelected(i)) return i;
        return -1;
    }
    void ClickRow(int row) {
        QRect r = List()->visualRect(List()->model()->index(row, 0));
        QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, r.center() + QPoint(20, 0));
    }
    // A click on the row's check box, as the user ticks it.
    void ClickTick(int row) {
        const QModelIndex index = List()->model()->index(row, 0);
        List()->scrollTo(index);
        const QRect r = List()->visualRect(index);
        const int box = List()->style()->pixelMetric(QStyle::PM_IndicatorWidth);
        QTest::mouseClick(List()->viewport(), Qt::LeftButton, {},
                          QPoint(r.left() + 3 + box / 2, r.center().y()));
    }

    QTemporaryDir dir;
    QString path;
    Document doc;
    std::unique_ptr<ControlPanel> panel;
};

TEST_F(ControlPanelTest, OpeningTheExampleFillsTheListAndShowsTheCurrentComponent) {
    DzlReadResult independent = ReadDzlFile(OHMLET_EXAMPLE_FILE);
    ASSERT_TRUE(independent.Ok());
    ASSERT_TRUE(doc.Open(OHMLET_EXAMPLE_FILE).Ok());
    ASSERT_EQ(Rows(), static_cast<int>(independent.components.size()));
    int unchecked = 0;
    for (std::size_t i = 0; i < independent.components.size(); ++i) {
        const Component& c = independent.components[i];
        const int row = static_cast<int>(i);
        EXPECT_EQ(Cell(row, 0), QString::number(i + 1));
        EXPECT_EQ(Cell(row, 1), FromGbk(c.Number()));
        EXPECT_EQ(Cell(row, 2), QString::number(c.pointCount));
        EXPECT_EQ(Cell(row, 3), FromGbk(c.TestDate()));
        EXPECT_EQ(Ticked(row), c.selected != 0) << "row " << i;
        unchecked += c.selected == 0;
    }
    EXPECT_GT(unchecked, 0) << "the example should have unchecked rows";
    EXPECT_EQ(SelectedRow(), doc.CurrentIndex());
    EXPECT_EQ(Text(ControlPanel::kName), FromGbk(independent.components[0].Name()));
    EXPECT_EQ(Text(ControlPanel::kNumber), FromGbk(independent.components[0].Number()));
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
    // The criterion is shown and editable, with its pass figures; the totals stay hidden.
    for (auto shown :
         {ControlPanel::kDesignValue, ControlPanel::kUpperTolerance, ControlPanel::kLowerTolerance,
          ControlPanel::kPassCount, ControlPanel::kPassRate})
        EXPECT_TRUE(panel->Edit(shown)->isVisible()) << shown;
    for (auto editable :
         {ControlPanel::kDesignValue, ControlPanel::kUpperTolerance, ControlPanel::kLowerTolerance})
        EXPECT_FALSE(panel->Edit(editable)->isReadOnly()) << editable;
    EXPECT_FALSE(panel->Edit(ControlPanel::kTotalPoints)->isVisible());
    EXPECT_TRUE(panel->Edit(ControlPanel::kAverage)->isVisible());
    EXPECT_EQ(panel->CurrentGroup()->title(), QStringLiteral("当前构件"));
}

TEST_F(ControlPanelTest, ClickingARowMakesItCurrentAndKeysActOnTheRowMovedTo) {
    Load({MakeComponent("0001", {1}), MakeComponent("0002", {2, 2}),
          MakeComponent("0003", {3, 3, 3}), MakeComponent("0004", {4, 4, 4, 4})});
    ClickRow(2);
    EXPECT_EQ(doc.CurrentIndex(), 2);
    EXPECT_EQ(Text(ControlPanel::kNumber), QStringLiteral("0003"));
    EXPECT_TRUE(List()->hasFocus());

    // The highlighted row and the component shown always agree.
    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int row;
        const char* number;
    } moves[] = {{Qt::Key_Down, {}, 3, "0004"},
                 {Qt::Key_Up, {}, 2, "0003"},
                 {Qt::Key_Home, Qt::ControlModifier, 0, "0001"},
                 {Qt::Key_End, Qt::ControlModifier, 3, "0004"},
                 {Qt::Key_PageUp, {}, 0, "0001"},
                 {Qt::Key_Down, {}, 1, "0002"}};
    for (const auto& m : moves) {
        QTest::keyClick(List(), m.key, m.modifiers);
        EXPECT_EQ(SelectedRow(), m.row) << m.number;
        EXPECT_EQ(doc.CurrentIndex(), m.row) << m.number;
        EXPECT_EQ(Text(ControlPanel::kNumber), QString::fromLatin1(m.number));
    }
}

// The list follows the current component when something else than the list picks it
// (the chart pane, undo, a command).
TEST_F(ControlPanelTest, TheListFollowsAComponentPickedElsewhere) {
    Load({MakeComponent("0001", {1}), MakeComponent("0002", {2}), MakeComponent("0003", {3})});
    struct Step {
        int pick;
        const char* number;
    } steps[] = {{2, "0003"}, {0, "0001"}, {1, "0002"}, {2, "0003"}};
    for (const Step& step : steps) {
        doc.SelectComponent(step.pick);
        EXPECT_EQ(SelectedRow(), step.pick) << step.number;
        EXPECT_EQ(List()->currentIndex().row(), step.pick) << step.number;
        EXPECT_EQ(Text(ControlPanel::kNumber), QString::fromLatin1(step.number));
        EXPECT_EQ(doc.CurrentIndex(), step.pick) << "moving the row must not pick another";
    }
}

TEST_F(ControlPanelTest, ClickingEmptySpaceWithNoRowSelectedChangesNothing) {
    Load({MakeComponent("0001", {1}), MakeComponent("0002", {2, 2})});
    List()->clearSelection();
    QTest::mouseClick(List()->viewport(), Qt::LeftButton, {},
                      QPoint(40, List()->viewport()->height() - 5));
    EXPECT_EQ(doc.CurrentIndex(), 0);
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
    EXPECT_EQ(doc.CurrentComponent()->TestDate(), expected);
    EXPECT_EQ(Cell(0, 3), QString::fromUtf8(p.expectedUtf8));
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
    Load({MakeComponent("0001", {1}, 1, {}, Gbk("2015年 3月 7日")),
          MakeComponent("0002", {1}, 1, {}, Gbk("2015年11月12日"))});
    EXPECT_EQ(panel->DatePicker()->date(), QDate(2015, 3, 7));
    doc.SelectComponent(1);
    EXPECT_EQ(panel->DatePicker()->date(), QDate(2015, 11, 12));
    EXPECT_EQ(doc.ComponentAt(1)->TestDate(), ToGbk(QStringLiteral("2015年11月12日")))
        << "showing a date must not write it back";
}

TEST_F(ControlPanelTest, TypingANameStoresGbkCutAtACharacterBoundary) {
    Load({MakeComponent("0001", {1})});
    QLineEdit* name = panel->Edit(ControlPanel::kName);
    name->clear();
    TypeText(name, QStringLiteral("梁KL1"));
    EXPECT_EQ(doc.CurrentComponent()->Name(), ToGbk(QStringLiteral("梁KL1")));

    name->clear();
    TypeText(name, QString(60, QChar(0x6881)));  // 60 x 梁 = 120 bytes
    const std::string stored = doc.CurrentComponent()->Name();
    EXPECT_EQ(stored.size(), 98u) << "49 whole characters; half a character is never kept";
    EXPECT_EQ(FromGbk(stored), QString(49, QChar(0x6881)));
}

TEST_F(ControlPanelTest, InsertingAPointRewritesTheCountCellOnly) {
    Load({MakeComponent("0001", {10, 11, 12}), MakeComponent("0002", {5})});
    doc.InsertPointAbove(0, 1);
    EXPECT_EQ(Cell(0, 2), QStringLiteral("4"));
    EXPECT_EQ(Text(ControlPanel::kMinimum), QStringLiteral("10.0 kΩ*cm"))
        << "the inserted zero is no reading yet";
    EXPECT_EQ(Text(ControlPanel::kInvalidCount), QStringLiteral("1"));
    EXPECT_EQ(Text(ControlPanel::kPointCount), QStringLiteral("4"));
    EXPECT_EQ(Text(ControlPanel::kTotalPoints), QStringLiteral("5"));
}

TEST_F(ControlPanelTest, DeletingTheOnlyComponentEmptiesEveryField) {
    Load({MakeComponent("0001", {10, 11, 12}, 1, Gbk("梁"))});
    ASSERT_FALSE(Text(ControlPanel::kName).isEmpty());
    doc.DeleteComponent();
    EXPECT_EQ(Rows(), 0);
    for (int f = ControlPanel::kName; f <= ControlPanel::kOverallPassRate; ++f)
        if (QLineEdit* edit = panel->Edit(static_cast<ControlPanel::Field>(f))) {
            EXPECT_TRUE(edit->text().isEmpty()) << f;
        }
    // Without a current component nothing is stored.
    QTest::keyClicks(panel->Edit(ControlPanel::kName), QStringLiteral("x"));
    EXPECT_EQ(doc.ComponentCount(), 0);
}

// A tick is stored in the document at once and stays through every refresh of the list.
TEST_F(ControlPanelTest, TicksAreDocumentEditsThatSurviveRefreshes) {
    Load({MakeComponent("0001", {1}, 1), MakeComponent("0002", {1}, 0),
          MakeComponent("0003", {1}, 1)});
    struct Step {
        const char* what;
        std::function<void()> act;
        std::vector<int> expected;
    } steps[] = {
        {"click the first tick", [&] { ClickTick(0); }, {0, 0, 1}},
        {"click the second tick", [&] { ClickTick(1); }, {0, 1, 1}},
        {"change the date", [&] { panel->DatePicker()->setDate(QDate(2016, 5, 4)); }, {0, 1, 1}},
        {"insert a point", [&] { doc.InsertPointAbove(0, 1); }, {0, 1, 1}},
        {"insert a component", [&] { doc.InsertComponent(); }, {0, 1, 1, 1}},
        {"undo the insert", [&] { doc.Undo(); }, {0, 1, 1}},
        {"undo the point and the date",
         [&] {
             doc.Undo();
             doc.Undo();
         },
         {0, 1, 1}},
        {"undo the second tick", [&] { doc.Undo(); }, {0, 0, 1}},
        {"undo the first tick", [&] { doc.Undo(); }, {1, 0, 1}},
        {"redo it", [&] { doc.Redo(); }, {0, 0, 1}},
    };
    for (const Step& step : steps) {
        step.act();
        std::vector<int> shown, stored;
        for (int i = 0; i < Rows(); ++i) {
            shown.push_back(Ticked(i));
            stored.push_back(doc.ComponentAt(i)->selected);
        }
        EXPECT_EQ(shown, step.expected) << step.what;
        EXPECT_EQ(stored, step.expected) << step.what;
    }
    EXPECT_TRUE(doc.IsModified());
}

// The list keeps nothing per component: a long list opens as one reset.
TEST_F(ControlPanelTest, ListRowsAreReadFromTheDocument) {
    std::vector<Component> many;
    for (int i = 0; i < 3000; ++i)
        many.push_back(
            MakeComponent(Document::MakeComponentNumber(i + 1).c_str(), {i % 7}, i % 3 != 0));
    Load(many);
    ASSERT_EQ(Rows(), 3000);
    for (int row : {0, 1, 2, 1500, 2999}) {
        EXPECT_EQ(Cell(row, 0), QString::number(row + 1));
        EXPECT_EQ(Cell(row, 1), FromGbk(Document::MakeComponentNumber(row + 1)));
        EXPECT_EQ(Cell(row, 2), QStringLiteral("1"));
        EXPECT_EQ(Ticked(row), row % 3 != 0) << row;
    }
    doc.SelectComponent(2999);
    doc.DeleteComponent();
    EXPECT_EQ(Rows(), 2999);
    EXPECT_EQ(SelectedRow(), 2998) << "the new current component is selected";
    EXPECT_EQ(
        List()->model()->setData(List()->model()->index(5, 1), Qt::Checked, Qt::CheckStateRole),
        false)
        << "only the first column holds the tick";
}

// --- the list as the user arranges it: name column, sorting, filter, ticks ---------

std::vector<int> Ticks(const Document& doc) {
    std::vector<int> ticks;
    for (const Component& c : doc.Components()) ticks.push_back(c.selected);
    return ticks;
}

TEST_F(ControlPanelTest, TheNameColumnComesAfterTheFourListColumns) {
    Load({MakeComponent("0001", {1}, 1, Gbk("梁A")), MakeComponent("0002", {2}, 1, Gbk(""))});
    EXPECT_EQ(List()->model()->headerData(ComponentListModel::kName, Qt::Horizontal).toString(),
              QStringLiteral("构件名称"));
    EXPECT_EQ(Cell(0, ComponentListModel::kName), QStringLiteral("梁A"));
    EXPECT_EQ(Cell(1, ComponentListModel::kName), QString());
    EXPECT_EQ(Cell(0, ComponentListModel::kNumber), QStringLiteral("0001"));
}

// Sorted by any column, a picked or ticked row is still the component it shows.
TEST_F(ControlPanelTest, SortedRowsPickAndTickTheComponentTheyShow) {
    Load({MakeComponent("0003", {1, 1}, 1, Gbk("板")),
          MakeComponent("0001", {1, 1, 1, 1}, 1, Gbk("梁")),
          MakeComponent("0002", {1}, 1, Gbk("柱"))});
    const struct {
        int column;
        Qt::SortOrder order;
        std::vector<const char*> numbers;  // top to bottom
    } cases[] = {
        {ComponentListModel::kNumber, Qt::AscendingOrder, {"0001", "0002", "0003"}},
        {ComponentListModel::kPointCount, Qt::DescendingOrder, {"0001", "0003", "0002"}},
        {ComponentListModel::kPointCount, Qt::AscendingOrder, {"0002", "0003", "0001"}},
        {ComponentListModel::kIndex, Qt::DescendingOrder, {"0002", "0001", "0003"}},
        {ComponentListModel::kIndex, Qt::AscendingOrder, {"0003", "0001", "0002"}},
    };
    for (const auto& c : cases) {
        List()->sortByColumn(c.column, c.order);
        for (int row = 0; row < 3; ++row)
            EXPECT_EQ(Cell(row, ComponentListModel::kNumber), QString::fromLatin1(c.numbers[row]))
                << c.column << " row " << row;
        ClickRow(0);
        ASSERT_NE(doc.CurrentComponent(), nullptr);
        EXPECT_EQ(doc.CurrentComponent()->Number(), c.numbers[0]) << c.column;
        EXPECT_EQ(Text(ControlPanel::kNumber), QString::fromLatin1(c.numbers[0]));
    }
    List()->sortByColumn(ComponentListModel::kPointCount, Qt::AscendingOrder);
    ClickTick(0);  // the component with one reading
    EXPECT_EQ(Ticks(doc), (std::vector<int>{1, 1, 0}));
}

// Document order is kept without sorting; inserted and deleted components must still
// show where the document has them, in either direction.
TEST_F(ControlPanelTest, InsertedAndDeletedComponentsShowInDocumentOrder) {
    Load({MakeComponent("0003", {1}), MakeComponent("0001", {1}), MakeComponent("0002", {1})});
    auto shown = [&] {
        std::vector<std::string> numbers;
        for (int row = 0; row < Rows(); ++row)
            numbers.push_back(Cell(row, ComponentListModel::kNumber).toStdString());
        return numbers;
    };
    auto documentOrder = [&](Qt::SortOrder order) {
        std::vector<std::string> numbers;
        for (const Component& c : doc.Components()) numbers.push_back(c.Number());
        if (order == Qt::DescendingOrder) std::reverse(numbers.begin(), numbers.end());
        return numbers;
    };
    const struct {
        Qt::SortOrder order;
        int at;  // the component made current before each edit
    } cases[] = {{Qt::AscendingOrder, 0},
                 {Qt::AscendingOrder, 1},
                 {Qt::DescendingOrder, 1},
                 {Qt::DescendingOrder, 2},
                 {Qt::AscendingOrder, 2}};
    for (const auto& c : cases) {
        List()->sortByColumn(ComponentListModel::kIndex, c.order);
        doc.SelectComponent(c.at);
        doc.InsertComponent();
        EXPECT_EQ(shown(), documentOrder(c.order)) << "insert at " << c.at;
        doc.SelectComponent(c.at);
        doc.DeleteComponent();
        EXPECT_EQ(shown(), documentOrder(c.order)) << "delete at " << c.at;
        doc.Undo();
        EXPECT_EQ(shown(), documentOrder(c.order)) << "undo at " << c.at;
    }
}

TEST_F(ControlPanelTest, TheFilterShowsComponentsByNumberNameOrRow) {
    Load({MakeComponent("0001", {1}, 1, Gbk("梁A")), MakeComponent("0002", {1}, 1, Gbk("板")),
          MakeComponent("0012", {1}, 1, Gbk("梁B")), MakeComponent("P003", {1}, 1, Gbk(""))});
    const struct {
        const char* text;
        std::vector<const char*> numbers;
    } cases[] = {
        {"", {"0001", "0002", "0012", "P003"}},
        {"梁", {"0001", "0012"}},
        {"b", {"0012"}},          // names regardless of case
        {"p00", {"P003"}},        // numbers regardless of case
        {"2", {"0002", "0012"}},  // the second row is 0002 itself
        {"4", {"P003"}},          // the fourth row, by its row number alone
        {"  板 ", {"0002"}},
        {"nothing", {}},
    };
    for (const auto& c : cases) {
        panel->FilterEdit()->setText(QString::fromUtf8(c.text));
        std::vector<std::string> shown;
        for (int row = 0; row < Rows(); ++row)
            shown.push_back(Cell(row, ComponentListModel::kNumber).toStdString());
        EXPECT_EQ(shown, std::vector<std::string>(c.numbers.begin(), c.numbers.end())) << c.text;
    }
    // A filtered row picks its own component.
    panel->FilterEdit()->setText(QStringLiteral("P003"));
    ClickRow(0);
    EXPECT_EQ(doc.CurrentIndex(), 3);
}

// Tick all, none and invert act on the rows shown, each as one undoable edit.
TEST_F(ControlPanelTest, TickAllNoneAndInvertActOnTheShownRowsAsOneEdit) {
    const struct {
        const char* name;
        const char* filter;
        std::function<QAction*(ControlPanel&)> action;
        std::vector<int> ticks;
    } cases[] = {
        {"all", "", [](ControlPanel& p) { return p.TickAllAction(); }, {1, 1, 1, 1}},
        {"none", "", [](ControlPanel& p) { return p.TickNoneAction(); }, {0, 0, 0, 0}},
        {"invert", "", [](ControlPanel& p) { return p.TickInvertAction(); }, {0, 1, 0, 1}},
        {"none shown", "梁", [](ControlPanel& p) { return p.TickNoneAction(); }, {0, 0, 1, 0}},
        {"invert shown", "梁", [](ControlPanel& p) { return p.TickInvertAction(); }, {0, 0, 1, 1}},
    };
    for (const auto& c : cases) {
        panel->FilterEdit()->clear();
        Load({MakeComponent("0001", {1}, 1, Gbk("梁")), MakeComponent("0002", {1}, 0, Gbk("板")),
              MakeComponent("0003", {1}, 1, Gbk("柱")), MakeComponent("0004", {1}, 0, Gbk("梁"))});
        const std::vector<int> before = Ticks(doc);
        panel->FilterEdit()->setText(QString::fromUtf8(c.filter));
        c.action(*panel)->trigger();
        EXPECT_EQ(Ticks(doc), c.ticks) << c.name;
        EXPECT_TRUE(doc.IsModified()) << c.name;
        doc.Undo();
        EXPECT_EQ(Ticks(doc), before) << c.name << ": one undo takes it all back";
        doc.Redo();
        EXPECT_EQ(Ticks(doc), c.ticks) << c.name;
        for (int row = 0; row < Rows(); ++row) {
            const int component =
                panel->ListFilter()->mapToSource(List()->model()->index(row, 0)).row();
            EXPECT_EQ(Ticked(row), c.ticks[static_cast<std::size_t>(component)] != 0) << c.name;
        }
    }
}

TEST_F(ControlPanelTest, TheContextMenuPicksTheRowUnderTheMouseAndOffersTheCommands) {
    Load({MakeComponent("0001", {1}), MakeComponent("0002", {2, 2}), MakeComponent("0003", {3})});
    QAction insert(QStringLiteral("插入构件(&I)"));
    QAction remove(QStringLiteral("删除构件(&D)..."));
    panel->SetContextActions({&insert, nullptr, &remove});
    const QRect row2 = List()->visualRect(List()->model()->index(2, 1));
    std::unique_ptr<QMenu> menu(panel->MakeContextMenu(row2.center(), nullptr));
    EXPECT_EQ(doc.CurrentIndex(), 2);
    EXPECT_EQ(SelectedRow(), 2);
    QStringList items;
    for (QAction* a : menu->actions())
        items << (a->isSeparator() ? QStringLiteral("-") : a->text());
    EXPECT_EQ(items,
              (QStringList{"插入构件(&I)", "-", "删除构件(&D)...", "-", "全选", "全不选", "反选"}));
    // Below the last row nothing is picked.
    menu.reset(panel->MakeContextMenu(QPoint(5, List()->viewport()->height() - 2), nullptr));
    EXPECT_EQ(doc.CurrentIndex(), 2);
}

// Each part of the panel edits the document on its own; the panel announces every such
// edit once, and nothing it only shows.
TEST_F(ControlPanelTest, EveryEditThroughAnyPartIsAnnouncedOnce) {
    auto confirm = [this](ControlPanel::Field f, const char* text) {
        QLineEdit* edit = panel->Edit(f);
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, QString::fromUtf8(text));
        QTest::keyClick(edit, Qt::Key_Return);
    };
    const struct {
        const char* what;
        std::function<void()> act;
        int announced;
        bool modified;
    } cases[] = {
        {"type a name", [&] { TypeText(panel->Edit(ControlPanel::kName), QStringLiteral("梁")); },
         1, true},
        {"pick a date", [&] { panel->DatePicker()->setDate(QDate(2016, 5, 4)); }, 1, true},
        {"confirm a new design value", [&] { confirm(ControlPanel::kDesignValue, "30"); }, 1, true},
        {"confirm the same design value", [&] { confirm(ControlPanel::kDesignValue, "20"); }, 0,
         false},
        {"tick none", [&] { panel->TickNoneAction()->trigger(); }, 1, true},
        {"click another row", [&] { ClickRow(1); }, 0, false},
        {"rename elsewhere", [&] { doc.SetComponentName(Gbk("柱").bytes); }, 0, true},
    };
    for (const auto& c : cases) {
        Load({MakeComponent("0001", {10, 11, 12}, 1, Gbk("板"), Gbk("2015年 3月 5日")),
              MakeComponent("0002", {20, 21})});
        QSignalSpy announced(panel.get(), &ControlPanel::DocumentEdited);
        c.act();
        EXPECT_EQ(announced.count(), c.announced) << c.what;
        EXPECT_EQ(doc.IsModified(), c.modified) << c.what;
    }
}

// Every notification reaches the fields, the statistics and the list alike.
TEST_F(ControlPanelTest, TheDocumentsNotificationsReachEveryPart) {
    Load({MakeComponent("0001", {10, 11, 12}), MakeComponent("0002", {20, 21})});
    const struct {
        const char* what;
        std::function<void()> act;
        int current;
        const char* count;
        const char* valid;  // the statistics count valid readings only
        const char* total;
    } steps[] = {
        {"opened", [] {}, 0, "3", "3", "5"},
        {"picked elsewhere", [&] { doc.SelectComponent(1); }, 1, "2", "2", "5"},
        {"a point inserted", [&] { doc.InsertPointAbove(0, 1); }, 1, "3", "2", "6"},
        {"undone", [&] { doc.Undo(); }, 1, "2", "2", "5"},
        {"the component deleted", [&] { doc.DeleteComponent(); }, 0, "3", "3", "3"},
    };
    for (const auto& step : steps) {
        step.act();
        ASSERT_EQ(doc.CurrentIndex(), step.current) << step.what;
        EXPECT_EQ(Text(ControlPanel::kPointCount), QString::fromUtf8(step.count)) << step.what;
        EXPECT_EQ(panel->StatsBox()->Text(ComponentStatsBox::kCount), QString::fromUtf8(step.valid))
            << step.what;
        EXPECT_EQ(Text(ControlPanel::kTotalPoints), QString::fromUtf8(step.total)) << step.what;
        EXPECT_EQ(SelectedRow(), step.current) << step.what;
    }
}

}  // namespace
