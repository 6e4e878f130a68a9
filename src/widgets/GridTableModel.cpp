#include "widgets/GridTableModel.h"

#include <QGuiApplication>
#include <QPalette>

namespace ohmlet {

GridTableModel::GridTableModel(QObject* parent) : QAbstractTableModel(parent) {}

GridTableModel::Cell GridTableModel::CellAt(int row, int col) const {
    if (!IsValidCell(row, col)) return {};
    auto found = cells_.find(Key(row, col));
    if (found != cells_.end()) return found->second;
    Cell cell;
    if (source_) {
        cell.text = source_->CellText(row, col);
        cell.format = source_->CellFormat(row, col);
        cell.readOnly = source_->IsCellReadOnly(row, col);
    }
    return cell;
}

GridTableModel::Cell* GridTableModel::WritableCellAt(int row, int col) {
    if (!IsValidCell(row, col)) return nullptr;
    auto found = cells_.find(Key(row, col));
    if (found != cells_.end()) return &found->second;
    return &cells_.emplace(Key(row, col), CellAt(row, col)).first->second;
}

void GridTableModel::SetCellSource(const GridCellSource* source) {
    BeginChange();
    source_ = source;
    EndChange();
}

void GridTableModel::SourceChanged() {
    if (IsBatching() || rows_ == 0 || cols_ == 0) return;
    if (HeaderRows() > 0) emit headerDataChanged(Qt::Horizontal, 0, cols_ - 1);
    if (rowCount() > 0) emit dataChanged(index(0, 0), index(rowCount() - 1, cols_ - 1));
}

void GridTableModel::BeginBatch() {
    if (batchDepth_++ == 0) beginResetModel();
}

void GridTableModel::EndBatch() {
    if (batchDepth_ > 0 && --batchDepth_ == 0) endResetModel();
}

void GridTableModel::BeginChange() {
    if (!IsBatching()) beginResetModel();
}

void GridTableModel::EndChange() {
    if (!IsBatching()) endResetModel();
}

// Existing cells keep their place in the row/column they had.
void GridTableModel::Resize(int rows, int cols) {
    if (rows < rows_ || cols < cols_) {
        for (auto i = cells_.begin(); i != cells_.end();) {
            const int row = static_cast<int>(i->first >> 32);
            const int col = static_cast<int>(i->first & 0xffffffffu);
            i = row >= rows || col >= cols ? cells_.erase(i) : std::next(i);
        }
    }
    rows_ = rows;
    cols_ = cols;
}

bool GridTableModel::SetGridRowCount(int rows) {
    if (rows < 0) return false;
    if (rows == rows_) return true;
    BeginChange();
    Resize(rows, cols_);
    EndChange();
    return true;
}

bool GridTableModel::SetGridColumnCount(int cols) {
    if (cols < 0) return false;
    if (cols == cols_) return true;
    BeginChange();
    Resize(rows_, cols);
    EndChange();
    return true;
}

void GridTableModel::SetFixedRowCount(int rows) {
    BeginChange();
    fixedRows_ = std::max(0, rows);
    EndChange();
}

void GridTableModel::SetFixedColumnCount(int cols) {
    BeginChange();
    fixedCols_ = std::max(0, cols);
    EndChange();
}

void GridTableModel::DeleteAllItems() {
    BeginChange();
    cells_.clear();
    source_ = nullptr;
    rows_ = cols_ = fixedRows_ = fixedCols_ = 0;
    EndChange();
}

void GridTableModel::AnnounceCell(int row, int col) {
    if (IsBatching()) return;
    if (row < HeaderRows()) {
        emit headerDataChanged(Qt::Horizontal, col, col);
    } else {
        QModelIndex i = index(ToModelRow(row), col);
        emit dataChanged(i, i);
    }
}

bool GridTableModel::SetItem(const GridItem& item) {
    Cell* cell = WritableCellAt(item.row, item.col);
    if (!cell) return false;
    if (item.mask & GridItemMask::kText) cell->text = item.text;
    if (item.mask & GridItemMask::kFormat) cell->format = item.format;
    if (item.mask & GridItemMask::kState) cell->state = item.state;
    AnnounceCell(item.row, item.col);
    return true;
}

QString GridTableModel::ItemText(int row, int col) const { return CellAt(row, col).text; }

unsigned GridTableModel::ItemFormat(int row, int col) const { return CellAt(row, col).format; }

unsigned GridTableModel::ItemState(int row, int col) const { return CellAt(row, col).state; }

bool GridTableModel::SetItemState(int row, int col, unsigned state) {
    Cell* cell = WritableCellAt(row, col);
    if (!cell) return false;
    cell->state = state;
    AnnounceCell(row, col);
    return true;
}

bool GridTableModel::IsItemReadOnly(int row, int col) const {
    return IsValidCell(row, col) && CellAt(row, col).readOnly;
}

void GridTableModel::SetItemReadOnly(int row, int col, bool readOnly) {
    if (!IsValidCell(row, col) || CellAt(row, col).readOnly == readOnly) return;
    if (Cell* cell = WritableCellAt(row, col)) cell->readOnly = readOnly;
}

void GridTableModel::SetEditable(bool editable) { editable_ = editable; }

// Fixed cells are never edited; the others need the grid-wide flag, a clear
// read-only flag and no read-only state bit.
bool GridTableModel::IsCellEditable(int row, int col) const {
    if (!IsValidCell(row, col) || !editable_ || row < fixedRows_ || col < fixedCols_) return false;
    const Cell cell = CellAt(row, col);
    return !cell.readOnly && !(cell.state & GridItemState::kReadOnly);
}

int GridTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_ - HeaderRows();
}

int GridTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : cols_;
}

// Texts keep the bytes they were given; a CR before a line feed only matters to
// Windows' DrawText, so the screen drops it.
QVariant GridTableModel::DisplayText(const Cell& cell) const {
    QString text = cell.text;
    if (text.contains(QLatin1Char('\r'))) text.remove(QLatin1Char('\r'));
    if (cell.format & GridFormat::kExpandTabs)
        text.replace(QLatin1Char('\t'), QStringLiteral("    "));
    return text;
}

static Qt::Alignment AlignmentOf(unsigned format) {
    Qt::Alignment a;
    if (format & GridFormat::kCenter)
        a |= Qt::AlignHCenter;
    else if (format & GridFormat::kRight)
        a |= Qt::AlignRight;
    else
        a |= Qt::AlignLeft;
    if (format & GridFormat::kVCenter)
        a |= Qt::AlignVCenter;
    else if (format & GridFormat::kBottom)
        a |= Qt::AlignBottom;
    else
        a |= Qt::AlignTop;
    return a;
}

QVariant GridTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    int row = ToGridRow(index.row());
    if (!IsValidCell(row, index.column())) return {};
    switch (role) {
        case Qt::DisplayRole: {
            const QString mark = source_ ? source_->CellMark(row, index.column()) : QString();
            const QString text = DisplayText(CellAt(row, index.column())).toString();
            return mark.isEmpty() ? QVariant(text) : QVariant(text + QLatin1Char(' ') + mark);
        }
        case Qt::ToolTipRole:
            return source_ ? QVariant(source_->CellToolTip(row, index.column())) : QVariant();
        case Qt::EditRole:
            return CellAt(row, index.column()).text;
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(AlignmentOf(CellAt(row, index.column()).format));
        case Qt::BackgroundRole:
            if (row < fixedRows_ || index.column() < fixedCols_)
                return QGuiApplication::palette().button();
            return source_ ? source_->CellBackground(row, index.column()) : QVariant();
        default:
            return {};
    }
}

QVariant GridTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || HeaderRows() == 0) return {};
    if (!IsValidCell(0, section)) return {};
    if (role == Qt::DisplayRole) return DisplayText(CellAt(0, section));
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(AlignmentOf(CellAt(0, section).format));
    return {};
}

Qt::ItemFlags GridTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (IsCellEditable(ToGridRow(index.row()), index.column())) f |= Qt::ItemIsEditable;
    return f;
}

// The typed text is not stored here: the grid hands it on and the owner of the
// data rewrites the cell.
bool GridTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !index.isValid()) return false;
    int row = ToGridRow(index.row());
    if (!IsCellEditable(row, index.column())) return false;
    emit EditSubmitted(row, index.column(), value.toString());
    return true;
}

}  // namespace ohmlet
