#pragma once
// The checkable component list. Its current row is the document's current component:
// a row moved to is picked, and the row follows a component picked elsewhere. Writes
// back only ticks and picked rows.
#include <QList>
#include <QTableView>

class QAction;
class QMenu;

namespace ohmlet {

class ComponentListFilter;
class ComponentListModel;
class Document;

class ComponentListView : public QTableView {
    Q_OBJECT
public:
    explicit ComponentListView(Document& doc, QWidget* parent = nullptr);

    ComponentListModel* ListModel() const { return listModel_; }
    // What the list shows: the model sorted and filtered.
    ComponentListFilter* ListFilter() const { return listFilter_; }
    // Shows only the components whose number, name or row holds text.
    void SetFilterText(const QString& text);
    // Tick all, none or the opposite of the rows shown: one undoable edit each.
    QAction* TickAllAction() const { return tickAll_; }
    QAction* TickNoneAction() const { return tickNone_; }
    QAction* TickInvertAction() const { return tickInvert_; }
    // The frame's commands the context menu offers; null for a separator.
    void SetContextActions(const QList<QAction*>& actions) { contextActions_ = actions; }
    // The context menu for a right click at pos (viewport coordinates); the component
    // under the mouse becomes the current one first.
    QMenu* MakeContextMenu(const QPoint& pos, QWidget* parent);

    // The rows read the document again; the current row follows.
    void Reload();
    // Moves the current row to the document's current component, without picking it.
    void FollowCurrentRow();
    // Whether the current row already stands for the document's current component.
    bool ShowsCurrentComponent() const;

signals:
    // Ticks changed through the tick commands.
    void DocumentEdited();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SetUpTable();
    QAction* MakeTickAction(const QString& text, const char* name, int change);
    void PickSelectedRow();
    void PickRow(const QModelIndex& shown);
    void ChangeShownTicks(int change);

    Document& doc_;
    ComponentListModel* listModel_ = nullptr;
    ComponentListFilter* listFilter_ = nullptr;
    QAction* tickAll_ = nullptr;
    QAction* tickNone_ = nullptr;
    QAction* tickInvert_ = nullptr;
    QList<QAction*> contextActions_;
    // Set while the list moves its current row itself.
    bool refreshing_ = false;
};

}  // namespace ohmlet
