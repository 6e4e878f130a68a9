#include "views/DataView.h"

#include <QCoreApplication>
#include <QMenu>
#include <QPageSize>
#include <QPrinter>
#include <QResizeEvent>
#include <optional>

#include "report/ClassColours.h"
#include "views/ReportPrinting.h"
#include "widgets/GridControl.h"

namespace ohmlet {
namespace {

constexpr unsigned kCaptionFormat =
    GridFormat::kCenter | GridFormat::kVCenter | GridFormat::kExpandTabs;
constexpr unsigned kCellFormat =
    GridFormat::kCenter | GridFormat::kVCenter | GridFormat::kSingleLine | GridFormat::kEndEllipsis;

QString Caption(int col) {
    return col == 0 ? QCoreApplication::translate("ohmlet::DataView", "\r\n测点号")
                    : QCoreApplication::translate("ohmlet::DataView", "\r\n电阻率(kΩ*cm)");
}

void WriteCell(GridControl& grid, int row, int col, unsigned format, const QString& text) {
    GridItem item;
    item.row = row;
    item.col = col;
    item.mask = GridItemMask::kText | GridItemMask::kFormat;
    item.format = format;
    item.text = text;
    grid.SetItem(item);
}

}  // namespace

DataView::DataView(Document& doc, QWidget* parent) : QWidget(parent), doc_(doc) {
    setObjectName(QStringLiteral("dataView"));
    doc_.AddObserver(this);
}

DataView::~DataView() { doc_.RemoveObserver(this); }

// The grid is made once and then refilled: a new table would lay out every row of a
// large component again.
void DataView::OnInitialUpdate() {
    if (!grid_) {
        grid_ = new GridControl(0, 0, 0, 0, this);
        grid_->setObjectName(QStringLiteral("grid%1").arg(kGridId));
        grid_->setGeometry(rect());
        connect(grid_, &GridControl::LeftButtonDown, this, &DataView::OnLButtonDown);
        connect(grid_, &GridControl::CellEdited, this, &DataView::OnCellEdited);
        connect(grid_, &GridControl::EditRefused, this, [this](int, int, const QString& text) {
            emit InputRefused(tr("读数须是整数：“%1”未保存，原值保留。").arg(text.trimmed()));
        });
        grid_->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(grid_, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
            QMenu* menu = MakeContextMenu(grid_->viewport()->mapFrom(grid_, pos), this);
            menu->setAttribute(Qt::WA_DeleteOnClose);
            menu->popup(grid_->mapToGlobal(pos));
        });
        grid_->show();
    }
    RebuildGrid();
    grid_->scrollToTop();
}

void DataView::RebuildGrid() {
    if (!grid_) return;
    grid_->SetRedraw(false);
    FillGridStructure();
    FillGridValues();
    grid_->SetRedraw(true);
}

void DataView::FillGridStructure() {
    const Component* c = doc_.CurrentComponent();
    GridControl& grid = *grid_;
    grid.DeleteAllItems();
    if (c) {
        grid.SetGridRowCount(1 + c->pointCount);
        grid.SetGridColumnCount(2);
        grid.SetFixedRowCount(1);
        grid.SetFixedColumnCount(1);
        grid.SetCellSource(this);
        for (int col = 0; col < 2; ++col) WriteCell(grid, 0, col, kCaptionFormat, Caption(col));
        grid.SetGridColumnWidth(0, kNumberWidth);
        grid.SetGridColumnWidth(1, kValueWidth);
        grid.SetUniformRowHeight(kRowHeight);
        grid.SetGridRowHeight(0, kHeadingHeight);
        grid.SetEditable(true);
        return;
    }
    // No component: an empty sheet of numbered rows that cannot be edited.
    grid.SetGridRowCount(kEmptyRows + 1);
    grid.SetGridColumnCount(2);
    grid.SetFixedRowCount(1);
    grid.SetFixedColumnCount(1);
    grid.SetEditable(false);
    for (int col = 0; col < 2; ++col) WriteCell(grid, 0, col, kCaptionFormat, Caption(col));
    for (int r = 1; r <= kEmptyRows; ++r) {
        WriteCell(grid, r, 0, kCellFormat, QString::number(r));
        WriteCell(grid, r, 1, kCellFormat, QString());
    }
    for (int r = 1; r < kEmptyRows; ++r) grid.SetGridRowHeight(r, kRowHeight);
    grid.SetGridColumnWidth(1, kValueWidth);
    grid.SetGridColumnWidth(0, kNumberWidth);
    grid.SetGridRowHeight(0, kHeadingHeight);
}

// The values are read as the grid draws them; only the highlight is set here.
void DataView::FillGridValues() {
    if (!doc_.CurrentComponent()) return;
    GridControl& grid = *grid_;
    const int row = doc_.CurrentPoint() + 1;
    grid.SetSelectedRange(row, 0, row, grid.GridModel()->GridColumnCount() - 1, false);
}

QString DataView::CellText(int row, int col) const {
    const Component* c = doc_.CurrentComponent();
    if (!c || row < 1) return {};
    if (col == 0) return QString::number(row);
    return QString::number(static_cast<double>(c->PointValue(row - 1)), 'f', 1);
}

unsigned DataView::CellFormat(int /*row*/, int /*col*/) const { return kCellFormat; }

bool DataView::IsCellReadOnly(int /*row*/, int col) const { return col != 1; }

// A reading's cell in its class's colour; rows past the readings stay plain.
QVariant DataView::CellBackground(int row, int col) const {
    const Component* c = doc_.CurrentComponent();
    if (!c || col != 1 || !c->HasPoint(row - 1)) return {};
    const int32_t value = c->points[static_cast<std::size_t>(row - 1)].value;
    // An invalid reading belongs to no class.
    if (!IsValidReading(value)) return QColor(Qt::lightGray);
    return ClassColour(classTable_.Classify(value), classTable_.Size());
}

namespace {
std::optional<Component::Verdict> VerdictAt(const Component* c, int row, int col) {
    if (!c || col != 1 || !c->HasPoint(row - 1)) return std::nullopt;
    return c->VerdictOf(c->points[static_cast<std::size_t>(row - 1)].value);
}
}  // namespace

QString DataView::CellMark(int row, int col) const {
    switch (VerdictAt(doc_.CurrentComponent(), row, col).value_or(Component::Verdict::Passed)) {
        case Component::Verdict::Failed:
            return tr("✗");
        case Component::Verdict::Invalid:
            return tr("无效");
        case Component::Verdict::Passed:
            break;
    }
    return {};
}

QString DataView::CellToolTip(int row, int col) const {
    const std::optional<Component::Verdict> verdict = VerdictAt(doc_.CurrentComponent(), row, col);
    if (!verdict) return {};
    switch (*verdict) {
        case Component::Verdict::Failed:
            return tr("不合格：不满足本构件的判定标准");
        case Component::Verdict::Invalid:
            return tr("无效读数（无接触或超出量程）：不计入统计和合格率");
        case Component::Verdict::Passed:
            break;
    }
    return tr("合格");
}

void DataView::SetClassTable(const ClassTable& table) {
    classTable_ = table;
    if (grid_) grid_->GridModel()->SourceChanged();
}

void DataView::OnLButtonDown() {
    if (!grid_) return;
    const int row = grid_->SelectedCellRange().minRow;
    selectedIndex_ = row - 1;
    grid_->SetSelectedRange(row, 0, row, grid_->GridModel()->GridColumnCount() - 1, false);
    if (doc_.CurrentComponent()) doc_.SetCurrentPoint(row - 1, false);
}

QMenu* DataView::MakeContextMenu(const QPoint& pos, QWidget* parent) {
    const QModelIndex at = grid_ ? grid_->indexAt(pos) : QModelIndex();
    if (at.isValid() && !grid_->selectionModel()->isSelected(at)) {
        const int row = grid_->GridModel()->ToGridRow(at.row());
        grid_->SetSelectedRange(row, at.column(), row, at.column(), false);
        OnLButtonDown();
    }
    auto* menu = new QMenu(parent);
    menu->setObjectName(QStringLiteral("gridContextMenu"));
    for (QAction* action : contextActions_) {
        if (action)
            menu->addAction(action);
        else
            menu->addSeparator();
    }
    return menu;
}

void DataView::OnCellEdited(int row, int col, int value) { doc_.SetCell(row - 1, col, value); }

void DataView::FocusValueCell(const Component& c) {
    if (c.Kind() == ComponentKind::Single || c.Kind() == ComponentKind::Profile)
        grid_->SetFocusCell(selectedIndex_ + 1, 1);
}

void DataView::InsertPoint(bool above) {
    if (!grid_ || !doc_.CurrentComponent()) return;
    const int column = grid_->SelectedCellRange().minCol;
    if (above)
        doc_.InsertPointAbove(selectedIndex_, column);
    else
        doc_.InsertPointBelow(selectedIndex_, column);
    if (const Component* c = doc_.CurrentComponent()) FocusValueCell(*c);
}

void DataView::OnInsertPointAbove() { InsertPoint(true); }
void DataView::OnInsertPointBelow() { InsertPoint(false); }

void DataView::OnDeletePoint() {
    if (!grid_ || !doc_.CurrentComponent()) return;
    const int column = grid_->SelectedCellRange().minCol;
    doc_.DeletePoint(selectedIndex_, column);
    const Component* c = doc_.CurrentComponent();
    if (!c) return;
    if (selectedIndex_ >= c->pointCount - 1) selectedIndex_ = c->pointCount - 1;
    if (c->Kind() == ComponentKind::Grid) {
        const int row = selectedIndex_ + 1;
        if (column < 4)
            grid_->SetSelectedRange(row, 1, row, 3, false);
        else
            grid_->SetSelectedRange(row, 4, row, 6, false);
    } else {
        FocusValueCell(*c);
    }
}

QPrinter& DataView::Printer() {
    if (!printer_) {
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer_->setPageSize(QPageSize(QPageSize::A4));
    }
    return *printer_;
}

// The report of the ticked components: the ticks are the document's `selected` flags.
void DataView::OnFilePrint(const QString& programFolder) {
    PrintReport(doc_.Components(), Printer(), this, programFolder);
}

void DataView::OnFilePrintPreview(const QString& programFolder) {
    PreviewReport(doc_.Components(), Printer(), this, programFolder);
}

void DataView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (grid_) grid_->setGeometry(0, 0, event->size().width(), event->size().height());
}

}  // namespace ohmlet
