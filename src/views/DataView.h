#pragma once
// The frame's view: the readings of the current component in a two-column grid,
// in-place editing, point picking, point insert/delete, and the print entry points.
// The grid reads the readings from the document as it draws them.
#include <QWidget>
#include <functional>
#include <memory>

#include "data/CorrosionClasses.h"
#include "data/Document.h"
#include "data/DocumentObserver.h"
#include "widgets/GridTableModel.h"

class QAction;
class QMenu;
class QPrinter;

namespace ohmlet {

class GridControl;

class DataView : public QWidget, public DocumentObserver, private GridCellSource {
    Q_OBJECT
public:
    static constexpr int kGridId = 102;
    static constexpr int kHeadingHeight = 40;
    static constexpr int kRowHeight = 25;
    static constexpr int kNumberWidth = 100;
    static constexpr int kValueWidth = 200;
    static constexpr int kEmptyRows = 50;

    explicit DataView(Document& doc, QWidget* parent = nullptr);
    ~DataView() override;

    // A document was opened or made: the table refilled from its top.
    void OnInitialUpdate();
    // DocumentObserver
    void RebuildGrid() override;
    void FillGridStructure();
    void FillGridValues();

    GridControl* Grid() const { return grid_; }
    // The classes that colour the value cells; the grid redraws with them.
    void SetClassTable(const ClassTable& table);
    const ClassTable& Classes() const { return classTable_; }
    int SelectedIndex() const { return selectedIndex_; }

    // The commands the grid's context menu offers; null stands for a separator.
    void SetContextActions(const QList<QAction*>& actions) { contextActions_ = actions; }
    // The context menu for a right click at pos (grid viewport coordinates): the row
    // under the mouse is picked first unless it is part of the selection.
    QMenu* MakeContextMenu(const QPoint& pos, QWidget* parent);

    // The printer the print commands and the printer set-up share.
    QPrinter& Printer();

signals:
    // A short note for the status bar: an edit was refused and why.
    void InputRefused(const QString& text);

public slots:
    void OnLButtonDown();
    void OnInsertPointAbove();
    void OnInsertPointBelow();
    void OnDeletePoint();
    void OnCellEdited(int row, int col, int value);
    // The report of the checked components; settings files are read from programFolder.
    void OnFilePrint(const QString& programFolder);
    void OnFilePrintPreview(const QString& programFolder);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    // GridCellSource: the current component's numbers and values.
    QString CellText(int row, int col) const override;
    unsigned CellFormat(int row, int col) const override;
    bool IsCellReadOnly(int row, int col) const override;
    QVariant CellBackground(int row, int col) const override;
    QString CellMark(int row, int col) const override;
    QString CellToolTip(int row, int col) const override;

    void InsertPoint(bool above);
    void FocusValueCell(const Component& component);

    Document& doc_;
    GridControl* grid_ = nullptr;
    int selectedIndex_ = 0;
    std::unique_ptr<QPrinter> printer_;
    QList<QAction*> contextActions_;
    ClassTable classTable_ = ClassTable::Rilem();
};

}  // namespace ohmlet
