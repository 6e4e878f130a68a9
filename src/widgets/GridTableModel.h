#pragma once
// The cells of a GridControl. The grid's first fixed row becomes the table view's
// horizontal header; every other row, fixed columns included, is a model row.
// Only cells that were written are stored; the others come from the cell source, so
// a grid over millions of readings keeps nothing per reading.
#include <QAbstractTableModel>
#include <QString>
#include <QVariant>
#include <cstdint>
#include <unordered_map>

#include "widgets/GridTypes.h"

namespace ohmlet {

// Where cells nobody wrote get their text, format and read-only flag; rows and
// columns are the grid's.
class GridCellSource {
public:
    virtual ~GridCellSource() = default;
    virtual QString CellText(int row, int col) const = 0;
    virtual unsigned CellFormat(int row, int col) const = 0;
    virtual bool IsCellReadOnly(int row, int col) const = 0;
    // A fill for a cell that is not fixed (a colour or brush), or nothing for the default.
    virtual QVariant CellBackground(int /*row*/, int /*col*/) const { return {}; }
    // Shown after the text but never edited with it: what the cell's colour says, for
    // those who cannot tell the colours apart; and a tooltip that says it in words.
    virtual QString CellMark(int /*row*/, int /*col*/) const { return {}; }
    virtual QString CellToolTip(int /*row*/, int /*col*/) const { return {}; }
};

class GridTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit GridTableModel(QObject* parent = nullptr);

    // --- grid geometry, in grid rows and columns --------------------------------
    int GridRowCount() const { return rows_; }
    int GridColumnCount() const { return cols_; }
    int FixedRowCount() const { return fixedRows_; }
    int FixedColumnCount() const { return fixedCols_; }
    bool SetGridRowCount(int rows);
    bool SetGridColumnCount(int cols);
    void SetFixedRowCount(int rows);
    void SetFixedColumnCount(int cols);
    // Also forgets the cell source.
    void DeleteAllItems();
    // The source must outlive its use; null for none.
    void SetCellSource(const GridCellSource* source);
    const GridCellSource* CellSource() const { return source_; }
    // The source's cells changed: the table redraws them.
    void SourceChanged();

    // Grid rows above this one live in the header, not in the model.
    int HeaderRows() const { return fixedRows_ > 0 && rows_ > 0 ? 1 : 0; }
    int ToGridRow(int modelRow) const { return modelRow + HeaderRows(); }
    int ToModelRow(int gridRow) const { return gridRow - HeaderRows(); }
    bool IsValidCell(int row, int col) const {
        return row >= 0 && row < rows_ && col >= 0 && col < cols_;
    }

    // --- cells ------------------------------------------------------------------
    bool SetItem(const GridItem& item);
    QString ItemText(int row, int col) const;
    unsigned ItemFormat(int row, int col) const;
    unsigned ItemState(int row, int col) const;
    bool SetItemState(int row, int col, unsigned state);
    bool IsItemReadOnly(int row, int col) const;
    void SetItemReadOnly(int row, int col, bool readOnly);

    void SetEditable(bool editable);
    bool IsEditable() const { return editable_; }
    bool IsCellEditable(int row, int col) const;

    // While batching, changes are announced once, as a reset, when the batch ends.
    void BeginBatch();
    void EndBatch();
    bool IsBatching() const { return batchDepth_ > 0; }

    // --- QAbstractTableModel ------------------------------------------------------
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

signals:
    // The in-place editor finished with this text; the grid decides what happens to it.
    void EditSubmitted(int row, int col, const QString& text);

private:
    struct Cell {
        QString text;
        unsigned format = 0;
        unsigned state = 0;
        bool readOnly = false;
    };

    static uint64_t Key(int row, int col) {
        return (static_cast<uint64_t>(static_cast<uint32_t>(row)) << 32) |
               static_cast<uint32_t>(col);
    }
    // A written cell, or the one the source (or nothing) gives.
    Cell CellAt(int row, int col) const;
    // The stored cell, made from the source's when first written.
    Cell* WritableCellAt(int row, int col);
    void Resize(int rows, int cols);
    void BeginChange();
    void EndChange();
    void AnnounceCell(int row, int col);
    QVariant DisplayText(const Cell& cell) const;

    std::unordered_map<uint64_t, Cell> cells_;
    const GridCellSource* source_ = nullptr;
    int rows_ = 0;
    int cols_ = 0;
    int fixedRows_ = 0;
    int fixedCols_ = 0;
    bool editable_ = true;
    int batchDepth_ = 0;
};

}  // namespace ohmlet
