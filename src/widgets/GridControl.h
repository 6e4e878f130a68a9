#pragma once
// A cell grid on a model/view table: fixed heading row and column, per-cell text,
// format and read-only flags, row heights and column widths, range selection,
// a focus cell and an in-place editor whose result goes to the grid's owner.
#include <QTableView>
#include <unordered_map>
#include <vector>

#include "widgets/GridTableModel.h"
#include "widgets/GridTypes.h"

namespace ohmlet {

class GridControl : public QTableView {
    Q_OBJECT
public:
    GridControl(int rows = 0, int cols = 0, int fixedRows = 0, int fixedCols = 0,
                QWidget* parent = nullptr);

    // Grid geometry (rows and columns counted with the fixed ones) is the model's.
    GridTableModel* GridModel() const { return model_; }

    // --- structure ----------------------------------------------------------------
    bool DeleteAllItems();
    bool SetGridRowCount(int rows);
    bool SetGridColumnCount(int cols);
    bool SetFixedRowCount(int rows);
    bool SetFixedColumnCount(int cols);

    // --- cells --------------------------------------------------------------------
    bool SetItem(const GridItem& item);
    QString ItemText(int row, int col) const { return model_->ItemText(row, col); }
    unsigned ItemFormat(int row, int col) const { return model_->ItemFormat(row, col); }
    unsigned ItemState(int row, int col) const { return model_->ItemState(row, col); }
    bool SetItemState(int row, int col, unsigned state) {
        return model_->SetItemState(row, col, state);
    }
    bool IsItemReadOnly(int row, int col) const { return model_->IsItemReadOnly(row, col); }
    void SetItemReadOnly(int row, int col, bool readOnly) {
        model_->SetItemReadOnly(row, col, readOnly);
    }
    bool IsCellEditable(int row, int col) const { return model_->IsCellEditable(row, col); }
    // Cells not written come from source; see GridTableModel.
    void SetCellSource(const GridCellSource* source) { model_->SetCellSource(source); }

    // --- sizes --------------------------------------------------------------------
    bool SetGridRowHeight(int row, int height);
    // Every row, present and to come, gets this height until it is given its own.
    void SetUniformRowHeight(int height);
    bool SetGridColumnWidth(int col, int width);
    int GridRowHeight(int row) const;
    int GridColumnWidth(int col) const;
    int DefaultRowHeight() const { return defaultRowHeight_; }

    void SetEditable(bool editable) { model_->SetEditable(editable); }
    bool IsEditable() const { return model_->IsEditable(); }

    // --- selection ----------------------------------------------------------------
    CellRange SelectedCellRange() const;
    // Cells outside the table are ignored; a range entirely outside selects nothing.
    void SetSelectedRange(int minRow, int minCol, int maxRow, int maxCol, bool forceRedraw = false);
    void SetFocusCell(int row, int col);
    CellRange FocusCell() const;

    // Changes made between SetRedraw(false) and SetRedraw(true) reach the screen once.
    void SetRedraw(bool allow);

    // The text of the selected cells, tab-separated columns, one line per row.
    QString SelectedText() const;
    void CopySelection() const;
    // Copies the selection, then empties its editable cells the way an in-place edit
    // would (an empty text reads as 0), so the data follow what the grid shows.
    void CutSelection();
    // Pastes tab-separated text from the top-left selected cell on, as if each
    // editable cell had been typed into; other cells are skipped.
    void Paste(const QString& text);
    void PasteClipboard();

    // Where a grid cell is on screen (for tests and tool tips); empty for heading cells.
    QRect CellRect(int row, int col) const;

signals:
    // The left button went down in the grid; sent after the grid has selected the cell.
    void LeftButtonDown();
    // An in-place edit ended: the text converted the way atoi does.
    void CellEdited(int row, int col, int value);
    // Typed or pasted text that is not a number; the cell keeps its value.
    void EditRefused(int row, int col, const QString& text);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    void ApplySizes();
    void ApplyRowHeights();
    QModelIndex ModelIndexOf(int row, int col) const;

    GridTableModel* model_;
    // Rows of their own height; the others have uniformRowHeight_.
    std::unordered_map<int, int> rowHeights_;
    std::vector<int> colWidths_;
    int defaultRowHeight_;
    int uniformRowHeight_;
    int defaultColWidth_ = 64;
    int redrawOff_ = 0;
    // A selection made while redraw is off, applied once the table is back.
    bool pendingSelection_ = false;
    CellRange selectionToApply_;
    bool pendingEdit_ = false;
    int pendingRow_ = 0;
    int pendingCol_ = 0;
    QString pendingText_;
};

// Whether a typed text is a whole number: an optional sign, digits, at most a decimal
// point followed by zeros, blanks around. Anything else is refused rather than cut or
// read as 0.
bool IsNumberText(const QString& text);

// atoi: leading blanks, an optional sign, digits; anything else ends the number.
// Values beyond int saturate instead of overflowing.
int AtoiLike(const QString& text);

}  // namespace ohmlet
