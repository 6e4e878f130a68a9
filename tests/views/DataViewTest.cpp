#include <gtest/gtest.h>

#include <QHeaderView>
#include <QLineEdit>
#include <QTest>
#include <functional>

#include "data/Document.h"
#include "support/QtTestSupport.h"
#include "views/DataView.h"
#include "views/ReportPrinting.h"
#include "widgets/GridControl.h"

using namespace ohmlet;
using namespace ohmlet::test;

namespace {

struct RebuildCounter : DocumentObserver {
    int rebuilds = 0;
    void RebuildGrid() override { ++rebuilds; }
};

class DataViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        view = std::make_unique<DataView>(doc);
        view->resize(500, 700);
        view->OnInitialUpdate();
        view->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
        doc.AddObserver(&counter);
    }
    void TearDown() override {
        doc.RemoveObserver(&counter);
        view.reset();
    }
    void Load(std::vector<Component> components) {
        QString path = WriteFile(dir, QStringLiteral("t.DZL"), components);
        ASSERT_TRUE(doc.Open(Local(path)).Ok());
        view->OnInitialUpdate();
    }
    GridControl* Grid() const { return view->Grid(); }
    void ClickRow(int row) {
        Grid()->scrollTo(Grid()->GridModel()->index(row - 1, 1));
        QTest::mouseClick(Grid()->viewport(), Qt::LeftButton, {},
                          Grid()->CellRect(row, 1).center());
    }
    std::vector<int> Values() const {
        std::vector<int> v;
        for (const auto& p : doc.CurrentComponent()->points) v.push_back(p.value);
        return v;
    }

    QTemporaryDir dir;
    Document doc;
    RebuildCounter counter;
    std::unique_ptr<DataView> view;
};

TEST_F(DataViewTest, HeadingsSizesAndValueTexts) {
    Load({MakeComponent("0001", {10, 11, 12})});
    EXPECT_EQ(Grid()->GridModel()->GridRowCount(), 4);
    EXPECT_EQ(Grid()->GridModel()->GridColumnCount(), 2);
    EXPECT_EQ(Grid()->ItemText(0, 0), QStringLiteral("\r\n测点号"));
    EXPECT_EQ(Grid()->ItemText(0, 1), QStringLiteral("\r\n电阻率(kΩ*cm)"));
    EXPECT_EQ(Grid()->ItemText(3, 0), QStringLiteral("3"));
    EXPECT_EQ(Grid()->ItemText(2, 1), QStringLiteral("11.0"));
    EXPECT_EQ(Grid()->columnWidth(0), 100);
    EXPECT_EQ(Grid()->columnWidth(1), 200);
    EXPECT_EQ(Grid()->horizontalHeader()->height(), 40);
    EXPECT_EQ(Grid()->rowHeight(0), 25);
    EXPECT_TRUE(Grid()->IsCellEditable(1, 1));
    EXPECT_FALSE(Grid()->IsCellEditable(1, 0));
    EXPECT_TRUE(Grid()->IsEditable());
}

// Band 17..25: what the colour says is also said in words, and never typed over.
TEST_F(DataViewTest, FailingAndInvalidReadingsAreMarkedInWords) {
    Load({MakeComponent("0001", {20, 30, 0, -5, 1000})});
    const struct {
        int row;
        const char* shown;
        const char* edited;
        const char* tip;
    } cells[] = {
        {1, "20.0", "20.0", "合格"},
        {2, "30.0 ✗", "30.0", "不合格"},
        {3, "0.0 无效", "0.0", "无效读数"},
        {4, "-5.0 无效", "-5.0", "无效读数"},
        {5, "1000.0 无效", "1000.0", "无效读数"},
    };
    for (const auto& c : cells) {
        const QModelIndex at = Grid()->GridModel()->index(c.row - 1, 1);
        EXPECT_EQ(at.data(Qt::DisplayRole).toString(), QString::fromUtf8(c.shown)) << c.row;
        EXPECT_EQ(at.data(Qt::EditRole).toString(), QString::fromUtf8(c.edited)) << c.row;
        EXPECT_TRUE(at.data(Qt::ToolTipRole).toString().startsWith(QString::fromUtf8(c.tip)))
            << c.row;
    }
}

TEST_F(DataViewTest, WithoutAComponentFiftyEmptyRowsThatCannotBeEdited) {
    EXPECT_EQ(Grid()->GridModel()->GridRowCount(), 51);
    EXPECT_EQ(Grid()->ItemText(50, 0), QStringLiteral("50"));
    EXPECT_TRUE(Grid()->ItemText(1, 1).isEmpty());
    EXPECT_EQ(Grid()->GridRowHeight(49), 25);
    EXPECT_EQ(Grid()->GridRowHeight(50), Grid()->DefaultRowHeight());
    EXPECT_FALSE(Grid()->IsEditable());
    for (int r = 1; r <= 50; ++r) ASSERT_FALSE(Grid()->IsCellEditable(r, 1)) << r;
}

TEST_F(DataViewTest, AComponentWithoutPointsHasOnlyTheHeading) {
    Load({MakeComponent("0001", {})});
    EXPECT_EQ(Grid()->GridModel()->GridRowCount(), 1);
    EXPECT_TRUE(Grid()->IsEditable());
}

TEST_F(DataViewTest, TypingIntoAValueCellStoresTheWholeNumber) {
    Load({MakeComponent("0001", {10, 11, 12})});
    ASSERT_TRUE(TypeIntoCell(*Grid(), 2, 1, QStringLiteral("13")));
    EXPECT_EQ(Values(), (std::vector<int>{10, 13, 12}));
    EXPECT_EQ(Grid()->ItemText(2, 1), QStringLiteral("13.0"));
}

// Text that is not a whole number is refused with a note; the reading keeps its value.
TEST_F(DataViewTest, TextThatIsNoNumberIsRefusedAndTheValueKept) {
    Load({MakeComponent("0001", {10, 11, 12})});
    QStringList notes;
    QObject::connect(view.get(), &DataView::InputRefused,
                     [&](const QString& text) { notes << text; });
    const struct {
        const char* typed;
        bool refused;
        int stored;
    } cases[] = {{"abc", true, 0},   {"x5", true, 0},    {"12abc", true, 0}, {"1e3", true, 0},
                 {"--4", true, 0},   {"4,5", true, 0},   {"44", false, 44},  {"45 ", false, 45},
                 {"46.9", true, 0},  {"+47", false, 47}, {".5", true, 0},    {"-3", false, -3},
                 {"48.0", false, 48}};
    for (const auto& c : cases) {
        const int before = Values()[2];
        notes.clear();
        ASSERT_TRUE(TypeIntoCell(*Grid(), 3, 1, QString::fromUtf8(c.typed))) << c.typed;
        if (c.refused) {
            EXPECT_EQ(Values()[2], before) << c.typed;
            ASSERT_EQ(notes.size(), 1) << c.typed;
            EXPECT_TRUE(notes[0].contains(QStringLiteral("须是整数"))) << c.typed;
        } else {
            EXPECT_EQ(Values()[2], c.stored) << c.typed;
            EXPECT_TRUE(notes.isEmpty()) << c.typed;
        }
    }
    EXPECT_EQ(Values()[0], 10);
}

TEST_F(DataViewTest, ClickingARowPicksThePointWithoutRebuilding) {
    Load({MakeComponent("0001", {10, 11, 12, 13, 14, 15})});
    const int before = counter.rebuilds;
    ClickRow(5);
    EXPECT_EQ(view->SelectedIndex(), 4);
    EXPECT_EQ(doc.CurrentPoint(), 4);
    CellRange range = Grid()->SelectedCellRange();
    EXPECT_EQ(range.minRow, 5);
    EXPECT_EQ(range.maxRow, 5);
    EXPECT_EQ(range.minCol, 0);
    EXPECT_EQ(range.maxCol, 1);
    EXPECT_EQ(counter.rebuilds, before);
}

TEST_F(DataViewTest, RebuildHighlightsTheCurrentPoint) {
    Load({MakeComponent("0001", {1, 2, 3}), MakeComponent("0002", {4, 5, 6, 7})});
    doc.SetCurrentPoint(2, true);
    EXPECT_EQ(Grid()->SelectedCellRange().minRow, 3);
    doc.SelectComponent(1);
    EXPECT_EQ(Grid()->SelectedCellRange().minRow, 3);
    EXPECT_EQ(Grid()->ItemText(4, 1), QStringLiteral("7.0"));
}

TEST_F(DataViewTest, InsertAboveTheFirstRowPutsAZeroFirst) {
    Load({MakeComponent("0001", {10, 11, 12})});
    ClickRow(1);
    view->OnInsertPointAbove();
    EXPECT_EQ(Values(), (std::vector<int>{0, 10, 11, 12}));
    EXPECT_EQ(Grid()->GridModel()->GridRowCount(), 5);
    EXPECT_EQ(view->SelectedIndex(), 0);
    EXPECT_EQ(Grid()->FocusCell().minRow, 1);
    EXPECT_EQ(Grid()->FocusCell().minCol, 1);
    view->OnInsertPointBelow();
    EXPECT_EQ(Values(), (std::vector<int>{0, 0, 10, 11, 12}));
}

TEST_F(DataViewTest, DeletingTheLastPointMovesTheSelectionUp) {
    Load({MakeComponent("0001", {10, 11, 12})});
    ClickRow(3);
    view->OnDeletePoint();
    EXPECT_EQ(Values(), (std::vector<int>{10, 11}));
    EXPECT_EQ(view->SelectedIndex(), 1);
    EXPECT_EQ(Grid()->FocusCell().minRow, 2);
    view->OnDeletePoint();
    view->OnDeletePoint();
    EXPECT_TRUE(Values().empty());
    EXPECT_EQ(view->SelectedIndex(), -1);
    view->OnDeletePoint();  // nothing left: nothing happens
    EXPECT_EQ(view->SelectedIndex(), -1);
}

TEST_F(DataViewTest, PointCommandsWithoutAComponentDoNothing) {
    view->OnInsertPointAbove();
    view->OnDeletePoint();
    EXPECT_EQ(Grid()->GridModel()->GridRowCount(), 51);
}

TEST_F(DataViewTest, TheInstrumentsLargestComponentFillsTheGrid) {
    std::vector<int> values(65535);
    for (std::size_t i = 0; i < values.size(); ++i) values[i] = static_cast<int>(i % 997);
    Load({MakeComponent("0001", values)});
    EXPECT_EQ(Grid()->GridModel()->GridRowCount(), 65536);
    EXPECT_EQ(Grid()->GridModel()->rowCount(), 65535);
    EXPECT_EQ(Grid()->ItemText(65535, 0), QStringLiteral("65535"));
    EXPECT_EQ(Grid()->ItemText(65535, 1),
              QString::asprintf("%.1f", static_cast<double>(65534 % 997)));
}

// Typing into the value column sets the reading's value whatever the kind; the hidden
// position stays as it was.
TEST_F(DataViewTest, TypedValuesSetTheValueOfEveryKind) {
    for (const char* number : {"0001", "P001", "W001", "Z001"}) {
        Component c = MakeComponent(number, {10, 11, 12});
        c.blockOffset = 1;
        for (auto& p : c.points) p.position = 7;
        Load({c});
        ASSERT_TRUE(TypeIntoCell(*Grid(), 2, 1, QStringLiteral("44"))) << number;
        EXPECT_EQ(Values(), (std::vector<int>{10, 44, 12})) << number;
        for (const auto& p : doc.CurrentComponent()->points) {
            EXPECT_EQ(p.position, 7) << number;
        }
        EXPECT_EQ(Grid()->ItemText(2, 1), QStringLiteral("44.0")) << number;
        EXPECT_EQ(doc.CurrentComponent()->maxValue, 44) << number;
    }
}

// The table draws what the document holds now: after edits and undo the cells the
// view asks for follow, with nothing copied per reading.
TEST_F(DataViewTest, TheTableShowsTheDocumentAfterEveryEdit) {
    std::vector<int> values(200000);
    for (std::size_t i = 0; i < values.size(); ++i) values[i] = static_cast<int>(i % 1000);
    Load({MakeComponent("0001", values), MakeComponent("0002", {5, 6})});
    auto shown = [&](int row) {
        return Grid()->GridModel()->index(row - 1, 1).data(Qt::EditRole).toString();
    };
    struct Step {
        const char* what;
        std::function<void()> act;
        int rows;
        std::vector<std::pair<int, const char*>> cells;  // grid row, text
    } steps[] = {
        {"opened", [] {}, 200000, {{1, "0.0"}, {1001, "0.0"}, {200000, "999.0"}}},
        {"typed", [&] { doc.SetCell(199999, 1, 31); }, 200000, {{200000, "31.0"}}},
        {"inserted above the first",
         [&] { doc.InsertPointAbove(0, 1); },
         200001,
         {{1, "0.0"}, {2, "0.0"}, {3, "1.0"}, {200001, "31.0"}}},
        {"deleted the first two",
         [&] {
             doc.DeletePoint(0, 1);
             doc.DeletePoint(0, 1);
         },
         199999,
         {{1, "1.0"}, {199999, "31.0"}}},
        {"undone three times",
         [&] {
             for (int i = 0; i < 3; ++i) doc.Undo();
         },
         200000,
         {{1, "0.0"}, {2, "1.0"}, {200000, "31.0"}}},
        {"other component", [&] { doc.SelectComponent(1); }, 2, {{1, "5.0"}, {2, "6.0"}}},
        {"undo the typing",
         [&] {
             doc.Undo();
             doc.SelectComponent(0);
         },
         200000,
         {{200000, "999.0"}}},
    };
    for (const Step& step : steps) {
        step.act();
        EXPECT_EQ(Grid()->GridModel()->rowCount(), step.rows) << step.what;
        for (const auto& [row, text] : step.cells) {
            EXPECT_EQ(shown(row), QString::fromLatin1(text)) << step.what << " row " << row;
            EXPECT_EQ(Grid()->ItemText(row, 0), QString::number(row)) << step.what;
        }
    }
    EXPECT_TRUE(Grid()->IsCellEditable(200000, 1));
    EXPECT_FALSE(Grid()->IsCellEditable(200000, 0));
    EXPECT_EQ(Grid()->GridRowHeight(150000), 25);
    EXPECT_EQ(Grid()->rowHeight(149999), 25);
}

// The preview opened taller than an 800-pixel screen, its buttons out of reach.
TEST(PrintPreviewSize, FitsTheScreen) {
    const struct {
        QSize available, expected;
    } cases[] = {
        {{1920, 1040}, {1000, 900}},
        {{1280, 770}, {1000, 693}},
        {{800, 570}, {720, 513}},
        {{}, {1000, 900}},  // no screen known
    };
    for (const auto& c : cases)
        EXPECT_EQ(PreviewWindowSize(c.available), c.expected) << c.available.height();
}

}  // namespace
