#include "widgets/GridControl.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QMouseEvent>
#include <QRegularExpression>
#include <climits>
#include <utility>
#include <vector>

namespace ohmlet {

bool IsNumberText(const QString& text) {
    // Readings are whole numbers: "12.0" is one, "12.7" is not and is never cut to 12.
    static const QRegularExpression number(QStringLiteral("^\\s*[+-]?\\d+(\\.0*)?\\s*$"));
    return number.match(text).hasMatch();
}

int AtoiLike(const QString& text) {
    int i = 0;
    const int n = static_cast<int>(text.size());
    while (i < n && (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t') ||
                     text[i] == QLatin1Char('\n') || text[i] == QLatin1Char('\r') ||
                     text[i] == QLatin1Char('\v') || text[i] == QLatin1Char('\f')))
        ++i;
    bool negative = false;
    if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    long long value = 0;
    for (; i < n && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9'); ++i) {
        value = value * 10 + (text[i].unicode() - '0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative) value = -value;
    if (value > INT_MAX) value = INT_MAX;
    if (value < INT_MIN) value = INT_MIN;
    return static_cast<int>(value);
}

GridControl::GridControl(int rows, int cols, int fixedRows, int fixedCols, QWidget* parent)
    : QTableView(parent), model_(new GridTableModel(this)) {
    defaultRowHeight_ = fontMetrics().height() + 6;
    uniformRowHeight_ = defaultRowHeight_;
    setModel(model_);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed);
    setFocusPolicy(Qt::StrongFocus);
    setWordWrap(false);
    setTextElideMode(Qt::ElideRight);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(defaultRowHeight_);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    horizontalHeader()->setMinimumSectionSize(1);
    horizontalHeader()->setStretchLastSection(false);
    connect(model_, &GridTableModel::EditSubmitted, this,
            [this](int row, int col, const QString& text) {
                pendingEdit_ = true;
                pendingRow_ = row;
                pendingCol_ = col;
                pendingText_ = text;
            });
    SetGridRowCount(rows);
    SetGridColumnCount(cols);
    SetFixedRowCount(fixedRows);
    SetFixedColumnCount(fixedCols);
}

bool GridControl::DeleteAllItems() {
    model_->DeleteAllItems();
    rowHeights_.clear();
    uniformRowHeight_ = defaultRowHeight_;
    colWidths_.clear();
    ApplySizes();
    return true;
}

bool GridControl::SetGridRowCount(int rows) {
    if (rows < 0) return false;
    model_->SetGridRowCount(rows);
    for (auto i = rowHeights_.begin(); i != rowHeights_.end();)
        i = i->first >= rows ? rowHeights_.erase(i) : std::next(i);
    ApplySizes();
    return true;
}

bool GridControl::SetGridColumnCount(int cols) {
    if (cols < 0) return false;
    model_->SetGridColumnCount(cols);
    colWidths_.resize(static_cast<std::size_t>(cols), defaultColWidth_);
    ApplySizes();
    return true;
}

bool GridControl::SetFixedRowCount(int rows) {
    if (rows < 0 || rows > model_->GridRowCount()) return false;
    model_->SetFixedRowCount(rows);
    ApplySizes();
    return true;
}

bool GridControl::SetFixedColumnCount(int cols) {
    if (cols < 0 || cols > model_->GridColumnCount()) return false;
    model_->SetFixedColumnCount(cols);
    ApplySizes();
    return true;
}

bool GridControl::SetItem(const GridItem& item) { return model_->SetItem(item); }

bool GridControl::SetGridRowHeight(int row, int height) {
    if (row < 0 || row >= model_->GridRowCount() || height < 0) return false;
    rowHeights_[row] = height;
    if (redrawOff_ == 0) {
        if (row < model_->HeaderRows())
            horizontalHeader()->setFixedHeight(height);
        else
            verticalHeader()->resizeSection(model_->ToModelRow(row), height);
    }
    return true;
}

bool GridControl::SetGridColumnWidth(int col, int width) {
    if (col < 0 || col >= model_->GridColumnCount() || width < 0) return false;
    colWidths_[static_cast<std::size_t>(col)] = width;
    if (redrawOff_ == 0) horizontalHeader()->resizeSection(col, width);
    return true;
}

void GridControl::SetUniformRowHeight(int height) {
    if (height < 0) return;
    rowHeights_.clear();
    uniformRowHeight_ = height;
    ApplySizes();
}

int GridControl::GridRowHeight(int row) const {
    if (row < 0 || row >= model_->GridRowCount()) return -1;
    auto found = rowHeights_.find(row);
    return found != rowHeights_.end() ? found->second : uniformRowHeight_;
}

int GridControl::GridColumnWidth(int col) const {
    if (col < 0 || col >= model_->GridColumnCount()) return -1;
    return colWidths_[static_cast<std::size_t>(col)];
}

void GridControl::SetRedraw(bool allow) {
    if (!allow) {
        if (redrawOff_++ == 0) {
            pendingSelection_ = false;
            model_->BeginBatch();
            setUpdatesEnabled(false);
        }
        return;
    }
    if (redrawOff_ == 0 || --redrawOff_ > 0) return;
    // Set before the rows arrive: changing it afterwards resizes, and signals, every row.
    if (verticalHeader()->defaultSectionSize() != uniformRowHeight_)
        verticalHeader()->setDefaultSectionSize(uniformRowHeight_);
    model_->EndBatch();
    ApplySizes();
    if (pendingSelection_) {
        pendingSelection_ = false;
        const CellRange& r = selectionToApply_;
        SetSelectedRange(r.minRow, r.minCol, r.maxRow, r.maxCol, false);
    }
    setUpdatesEnabled(true);
    viewport()->update();
}

// The uniform height is the header's default section size, so only rows of their own
// height need a section resized: millions of rows stay cheap.
void GridControl::ApplyRowHeights() {
    const int headerRows = model_->HeaderRows();
    const int rows = model_->GridRowCount();
    QHeaderView* v = verticalHeader();
    if (v->defaultSectionSize() != uniformRowHeight_) v->setDefaultSectionSize(uniformRowHeight_);
    for (const auto& [row, height] : rowHeights_)
        if (row >= headerRows && row < rows && height != uniformRowHeight_)
            v->resizeSection(row - headerRows, height);
    if (headerRows > 0) {
        horizontalHeader()->show();
        horizontalHeader()->setFixedHeight(GridRowHeight(0));
    } else {
        horizontalHeader()->hide();
    }
}

void GridControl::ApplySizes() {
    if (redrawOff_ > 0) return;
    ApplyRowHeights();
    for (int c = 0; c < model_->GridColumnCount(); ++c)
        horizontalHeader()->resizeSection(c, colWidths_[static_cast<std::size_t>(c)]);
}

QModelIndex GridControl::ModelIndexOf(int row, int col) const {
    return model_->index(model_->ToModelRow(row), col);
}

CellRange GridControl::SelectedCellRange() const {
    CellRange range;
    if (!selectionModel()) return range;
    const QItemSelection selection = selectionModel()->selection();
    for (const QItemSelectionRange& r : selection) {
        int top = model_->ToGridRow(r.top());
        int bottom = model_->ToGridRow(r.bottom());
        if (!range.IsValid()) {
            range = {top, r.left(), bottom, r.right()};
        } else {
            range.minRow = std::min(range.minRow, top);
            range.minCol = std::min(range.minCol, r.left());
            range.maxRow = std::max(range.maxRow, bottom);
            range.maxCol = std::max(range.maxCol, r.right());
        }
    }
    return range;
}

void GridControl::SetSelectedRange(int minRow, int minCol, int maxRow, int maxCol,
                                   bool forceRedraw) {
    const int headerRows = model_->HeaderRows();
    minRow = std::max(minRow, headerRows);
    minCol = std::max(minCol, 0);
    maxRow = std::min(maxRow, model_->GridRowCount() - 1);
    maxCol = std::min(maxCol, model_->GridColumnCount() - 1);
    if (minRow > maxRow || minCol > maxCol) return;
    if (redrawOff_ > 0) {
        pendingSelection_ = true;
        selectionToApply_ = {minRow, minCol, maxRow, maxCol};
        return;
    }
    QItemSelection selection(ModelIndexOf(minRow, minCol), ModelIndexOf(maxRow, maxCol));
    selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    if (forceRedraw) viewport()->repaint();
}

void GridControl::SetFocusCell(int row, int col) {
    QModelIndex index = ModelIndexOf(row, col);
    if (!index.isValid() || row < model_->HeaderRows()) return;
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    scrollTo(index);
}

CellRange GridControl::FocusCell() const {
    QModelIndex index = selectionModel() ? selectionModel()->currentIndex() : QModelIndex();
    if (!index.isValid()) return {};
    int row = model_->ToGridRow(index.row());
    return {row, index.column(), row, index.column()};
}

QString GridControl::SelectedText() const {
    CellRange range = SelectedCellRange();
    if (!range.IsValid()) return {};
    QString text;
    for (int r = range.minRow; r <= range.maxRow; ++r) {
        for (int c = range.minCol; c <= range.maxCol; ++c) {
            if (c > range.minCol) text += QLatin1Char('\t');
            if (selectionModel()->isSelected(ModelIndexOf(r, c))) text += ItemText(r, c);
        }
        text += QLatin1Char('\n');
    }
    return text;
}

void GridControl::CopySelection() const {
    QString text = SelectedText();
    if (!text.isEmpty()) QApplication::clipboard()->setText(text);
}

void GridControl::CutSelection() {
    CellRange range = SelectedCellRange();
    if (!range.IsValid()) return;
    CopySelection();
    // Collected first: the owner may rebuild the table after every edit.
    std::vector<std::pair<int, int>> cells;
    for (int r = range.minRow; r <= range.maxRow; ++r)
        for (int c = range.minCol; c <= range.maxCol; ++c)
            if (selectionModel()->isSelected(ModelIndexOf(r, c)) && IsCellEditable(r, c))
                cells.emplace_back(r, c);
    for (const auto& [row, col] : cells) emit CellEdited(row, col, AtoiLike(QString()));
}

void GridControl::Paste(const QString& text) {
    CellRange start = SelectedCellRange();
    if (!start.IsValid()) start = FocusCell();
    if (!start.IsValid()) return;
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    for (int i = 0; i < lines.size(); ++i) {
        const QStringList fields = lines[i].split(QLatin1Char('\t'));
        for (int j = 0; j < fields.size(); ++j) {
            const int row = start.minRow + i;
            const int col = start.minCol + j;
            if (!IsCellEditable(row, col)) continue;
            if (IsNumberText(fields[j]))
                emit CellEdited(row, col, AtoiLike(fields[j]));
            else
                emit EditRefused(row, col, fields[j]);
        }
    }
}

void GridControl::PasteClipboard() { Paste(QApplication::clipboard()->text()); }

QRect GridControl::CellRect(int row, int col) const {
    if (row < model_->HeaderRows()) return {};
    return visualRect(ModelIndexOf(row, col));
}

void GridControl::mousePressEvent(QMouseEvent* event) {
    QTableView::mousePressEvent(event);
    if (event->button() == Qt::LeftButton) emit LeftButtonDown();
}

// The edit is handed on only once the editor is gone: the owner usually rebuilds
// the whole table in answer.
void GridControl::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    QTableView::closeEditor(editor, hint);
    if (!pendingEdit_) return;
    pendingEdit_ = false;
    if (IsNumberText(pendingText_))
        emit CellEdited(pendingRow_, pendingCol_, AtoiLike(pendingText_));
    else
        emit EditRefused(pendingRow_, pendingCol_, pendingText_);
}

}  // namespace ohmlet
