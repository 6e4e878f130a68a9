#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <climits>

#include "widgets/GridControl.h"

using namespace ohmlet;

namespace {

struct AtoiCase {
    const char* text;
    int expected;
    friend void PrintTo(const AtoiCase& c, std::ostream* os) { *os << "\"" << c.text << "\""; }
};

class AtoiLikeTest : public ::testing::TestWithParam<AtoiCase> {};

TEST_P(AtoiLikeTest, ConvertsTheWayAtoiDoes) {
    EXPECT_EQ(AtoiLike(QString::fromUtf8(GetParam().text)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Texts, AtoiLikeTest,
                         ::testing::Values(AtoiCase{"12.7", 12}, AtoiCase{"abc", 0},
                                           AtoiCase{"", 0}, AtoiCase{"  -5x", -5},
                                           AtoiCase{"+7", 7}, AtoiCase{"0042", 42},
                                           AtoiCase{"１２", 0}, AtoiCase{"- 3", 0},
                                           AtoiCase{"99999999999", INT_MAX},
                                           AtoiCase{"-99999999999", INT_MIN}));

// A 4 x 3 grid with one fixed row and column, every cell written.
std::unique_ptr<GridControl> MakeGrid() {
    auto grid = std::make_unique<GridControl>(4, 3, 1, 1);
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 3; ++c) {
            GridItem item;
            item.row = r;
            item.col = c;
            item.mask = GridItemMask::kText | GridItemMask::kFormat;
            item.format = GridFormat::kCenter | GridFormat::kVCenter;
            item.text = QStringLiteral("%1,%2").arg(r).arg(c);
            grid->SetItem(item);
        }
    grid->resize(400, 300);
    return grid;
}

struct EditableCase {
    bool gridEditable;
    bool readOnlyFlag;
    bool readOnlyState;
    int row;
    int col;
    bool expected;
    friend void PrintTo(const EditableCase& c, std::ostream* os) {
        *os << c.gridEditable << c.readOnlyFlag << c.readOnlyState << " cell " << c.row << ","
            << c.col;
    }
};

class GridEditableTest : public ::testing::TestWithParam<EditableCase> {};

TEST_P(GridEditableTest, NeedsGridFlagClearFlagClearStateAndAMovableCell) {
    const EditableCase& p = GetParam();
    auto grid = MakeGrid();
    grid->SetEditable(p.gridEditable);
    grid->SetItemReadOnly(p.row, p.col, p.readOnlyFlag);
    if (p.readOnlyState) grid->SetItemState(p.row, p.col, GridItemState::kReadOnly);
    EXPECT_EQ(grid->IsCellEditable(p.row, p.col), p.expected);
    if (p.row >= 1) {
        QModelIndex index = grid->GridModel()->index(p.row - 1, p.col);
        EXPECT_EQ(bool(grid->GridModel()->flags(index) & Qt::ItemIsEditable), p.expected);
    }
}

INSTANTIATE_TEST_SUITE_P(Rules, GridEditableTest,
                         ::testing::Values(EditableCase{true, false, false, 2, 1, true},
                                           EditableCase{false, false, false, 2, 1, false},
                                           EditableCase{true, true, false, 2, 1, false},
                                           EditableCase{true, false, true, 2, 1, false},
                                           EditableCase{true, false, false, 2, 0, false},
                                           EditableCase{true, false, false, 0, 1, false}));

TEST(GridCtrl, FirstFixedRowIsTheHeaderAndTheRestAreModelRows) {
    auto grid = MakeGrid();
    EXPECT_EQ(grid->GridModel()->rowCount(), 3);
    EXPECT_EQ(grid->GridModel()->columnCount(), 3);
    EXPECT_EQ(grid->GridModel()->headerData(2, Qt::Horizontal, Qt::DisplayRole).toString(),
              QStringLiteral("0,2"));
    EXPECT_EQ(grid->GridModel()->index(0, 1).data().toString(), QStringLiteral("1,1"));
    EXPECT_EQ(grid->ItemText(3, 2), QStringLiteral("3,2"));
}

// Cells nobody wrote come from the source; a written cell, or one given a flag, keeps
// what the source said for the rest; shrinking the grid forgets what was cut off.
struct SquareSource : GridCellSource {
    QString CellText(int row, int col) const override { return QString::number(row * col); }
    unsigned CellFormat(int, int) const override { return GridFormat::kRight; }
    bool IsCellReadOnly(int, int col) const override { return col == 2; }
};

TEST(GridCtrl, CellsNobodyWroteComeFromTheSource) {
    SquareSource source;
    GridControl grid(100001, 3, 1, 1);
    grid.SetCellSource(&source);
    GridItem written;
    written.row = 5;
    written.col = 1;
    written.mask = GridItemMask::kText;
    written.text = QStringLiteral("typed");
    ASSERT_TRUE(grid.SetItem(written));
    grid.SetItemReadOnly(7, 1, true);
    grid.SetItemReadOnly(9, 2, false);
    struct Case {
        int row, col;
        const char* text;
        bool editable;
    } cases[] = {
        {100000, 1, "100000", true}, {100000, 2, "200000", false}, {5, 1, "typed", true},
        {7, 1, "7", false},          {9, 2, "18", true},           {3, 0, "0", false},
    };
    for (const Case& k : cases) {
        EXPECT_EQ(grid.ItemText(k.row, k.col), QString::fromLatin1(k.text)) << k.row;
        EXPECT_EQ(grid.IsCellEditable(k.row, k.col), k.editable) << k.row << "," << k.col;
        EXPECT_EQ(grid.ItemFormat(k.row, k.col), GridFormat::kRight) << "kept from the source";
        EXPECT_EQ(grid.GridModel()->index(k.row - 1, k.col).data().toString(),
                  QString::fromLatin1(k.text));
    }
    grid.SetGridRowCount(6);
    grid.SetGridRowCount(10);
    EXPECT_EQ(grid.ItemText(5, 1), QStringLiteral("typed"));
    EXPECT_EQ(grid.ItemText(7, 1), QStringLiteral("7"));
    EXPECT_TRUE(grid.IsCellEditable(7, 1)) << "the flag of a cut-off row is gone";
    grid.DeleteAllItems();
    grid.SetGridRowCount(4);
    grid.SetGridColumnCount(3);
    EXPECT_TRUE(grid.ItemText(3, 1).isEmpty()) << "deleting everything drops the source";
}

TEST(GridCtrl, HeadingKeepsItsTextButShowsNoCarriageReturn) {
    auto grid = MakeGrid();
    GridItem item;
    item.row = 0;
    item.col = 1;
    item.mask = GridItemMask::kText;
    item.text = QStringLiteral("\r\nCaption");
    grid->SetItem(item);
    EXPECT_EQ(grid->ItemText(0, 1), QStringLiteral("\r\nCaption"));
    EXPECT_EQ(grid->GridModel()->headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(),
              QStringLiteral("\nCaption"));
}

TEST(GridCtrl, SelectionIsReportedInGridRowsAndOutsideRangesAreIgnored) {
    auto grid = MakeGrid();
    grid->SetSelectedRange(2, 0, 2, 2);
    CellRange range = grid->SelectedCellRange();
    EXPECT_EQ(range.minRow, 2);
    EXPECT_EQ(range.maxRow, 2);
    EXPECT_EQ(range.minCol, 0);
    EXPECT_EQ(range.maxCol, 2);
    grid->SetSelectedRange(9, 0, 9, 2);  // beyond the table: nothing changes
    EXPECT_EQ(grid->SelectedCellRange().minRow, 2);
}

TEST(GridCtrl, SelectionMadeWithRedrawOffSurvivesTheRebuild) {
    auto grid = MakeGrid();
    grid->SetRedraw(false);
    grid->SetGridRowCount(6);
    grid->SetSelectedRange(5, 0, 5, 2);
    grid->SetRedraw(true);
    EXPECT_EQ(grid->SelectedCellRange().minRow, 5);
    EXPECT_EQ(grid->GridModel()->rowCount(), 5);
}

TEST(GridCtrl, RowHeightsAndColumnWidthsReachTheTable) {
    auto grid = MakeGrid();
    grid->SetGridRowHeight(0, 40);
    grid->SetGridRowHeight(1, 25);
    grid->SetGridRowHeight(2, 31);
    grid->SetGridColumnWidth(1, 200);
    EXPECT_EQ(grid->horizontalHeader()->height(), 40);
    EXPECT_EQ(grid->rowHeight(0), 25);
    EXPECT_EQ(grid->rowHeight(1), 31);
    EXPECT_EQ(grid->columnWidth(1), 200);
    EXPECT_EQ(grid->GridRowHeight(2), 31);
}

TEST(GridCtrl, InPlaceEditHandsTheNumberOnAndKeepsTheCellText) {
    auto grid = MakeGrid();
    grid->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(grid.get()));
    QSignalSpy edited(grid.get(), &GridControl::CellEdited);
    QModelIndex index = grid->GridModel()->index(1, 1);  // grid cell (2, 1)
    grid->setCurrentIndex(index);
    grid->edit(index);
    auto* editor = grid->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, QStringLiteral("12.0"));
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();  // the editor commits after its own key handling
    ASSERT_EQ(edited.count(), 1);
    EXPECT_EQ(edited[0][0].toInt(), 2);
    EXPECT_EQ(edited[0][1].toInt(), 1);
    EXPECT_EQ(edited[0][2].toInt(), 12);
    EXPECT_EQ(grid->ItemText(2, 1), QStringLiteral("2,1"));
}

TEST(GridCtrl, LeftButtonDownIsSignalledAfterTheCellIsSelected) {
    auto grid = MakeGrid();
    grid->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(grid.get()));
    int rowSeen = -1;
    QObject::connect(grid.get(), &GridControl::LeftButtonDown,
                     [&] { rowSeen = grid->SelectedCellRange().minRow; });
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->CellRect(3, 1).center());
    EXPECT_EQ(rowSeen, 3);
}

TEST(GridCtrl, CopyGivesTabSeparatedRows) {
    auto grid = MakeGrid();
    grid->SetSelectedRange(1, 1, 2, 2);
    EXPECT_EQ(grid->SelectedText(), QStringLiteral("1,1\t1,2\n2,1\t2,2\n"));
}

TEST(GridCtrl, PasteTypesIntoEditableCellsOnly) {
    auto grid = MakeGrid();
    grid->SetItemReadOnly(2, 2, true);
    QSignalSpy edited(grid.get(), &GridControl::CellEdited);
    grid->SetSelectedRange(1, 1, 1, 1);
    QSignalSpy refused(grid.get(), &GridControl::EditRefused);
    grid->Paste(QStringLiteral("5\t6\n7.0\tx\n8\tabc\n9\n"));
    QList<QList<int>> seen;
    for (const auto& args : edited)
        seen << QList<int>{args[0].toInt(), args[1].toInt(), args[2].toInt()};
    // (2,2) is read-only and row 4 is outside the table; "abc" is no number.
    EXPECT_EQ(seen, (QList<QList<int>>{{1, 1, 5}, {1, 2, 6}, {2, 1, 7}, {3, 1, 8}}));
    ASSERT_EQ(refused.count(), 1);
    EXPECT_EQ(refused[0][0].toInt(), 3);
    EXPECT_EQ(refused[0][1].toInt(), 2);
    EXPECT_EQ(refused[0][2].toString(), QStringLiteral("abc"));
}

// Readings are whole numbers: a fraction is refused, never cut.
TEST(GridCtrl, OnlyWholeNumbersAreTakenAsTyped) {
    const struct {
        const char* text;
        bool number;
    } cases[] = {{"12", true},   {"12.7", false}, {" -3 ", true},   {"+4", true},
                 {".5", false},  {"7.", true},    {"12.00", true},  {"12.01", false},
                 {"", false},    {" ", false},    {"abc", false},   {"x5", false},
                 {"5x", false},  {"1e3", false},  {"1.2.3", false}, {"--1", false},
                 {"1 2", false}, {"0x10", false}, {".", false}};
    for (const auto& c : cases)
        EXPECT_EQ(IsNumberText(QString::fromUtf8(c.text)), c.number) << '"' << c.text << '"';
}

TEST(GridCtrl, CutCopiesThenEmptiesEditableSelectedCells) {
    auto grid = MakeGrid();
    grid->SetItemReadOnly(2, 2, true);
    QSignalSpy edited(grid.get(), &GridControl::CellEdited);
    grid->SetSelectedRange(1, 1, 2, 2);
    grid->CutSelection();
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("1,1\t1,2\n2,1\t2,2\n"));
    QList<QList<int>> seen;
    for (const auto& args : edited)
        seen << QList<int>{args[0].toInt(), args[1].toInt(), args[2].toInt()};
    // (2,2) is read-only: copied, but left as it is.
    EXPECT_EQ(seen, (QList<QList<int>>{{1, 1, 0}, {1, 2, 0}, {2, 1, 0}}));
}

}  // namespace
