#pragma once
// The control panel: the component list, the "当前构件" fields and the statistics, one
// above the other. It is the document's observer and passes each notification on in the
// order the document gives it.
#include <QList>
#include <QWidget>

#include "data/CorrosionClasses.h"
#include "data/Document.h"
#include "data/DocumentObserver.h"
#include "views/ComponentFields.h"

class QAction;
class QDateEdit;
class QMenu;
class QGroupBox;
class QLineEdit;
class QTableView;

namespace ohmlet {

class ClassLegend;
class ComponentFilterRow;
class ComponentListFilter;
class ComponentListModel;
class ComponentListView;
class ComponentStatsBox;
class StatisticsSection;

class ControlPanel : public QWidget, public DocumentObserver, public PanelFieldIds {
    Q_OBJECT
public:
    explicit ControlPanel(Document& doc, QWidget* parent = nullptr);
    ~ControlPanel() override;

    // DocumentObserver
    void ShowComponent(const Component* component) override;
    void RefreshComponentList() override;
    void RefreshPointCount() override;
    void RefreshComponentRow(int index) override;

    ComponentListView* ListView() const { return list_; }
    ComponentFields* Fields() const { return fields_; }
    StatisticsSection* Statistics() const { return statistics_; }

    QTableView* List() const;
    ComponentListModel* ListModel() const;
    // What the list shows: the model sorted and filtered.
    ComponentListFilter* ListFilter() const;
    QLineEdit* FilterEdit() const;
    // Tick all, none or the opposite of the rows shown: one undoable edit each.
    QAction* TickAllAction() const;
    QAction* TickNoneAction() const;
    QAction* TickInvertAction() const;
    // The frame's commands the list's context menu offers; null for a separator.
    void SetContextActions(const QList<QAction*>& actions);
    // The context menu for a right click at pos (list viewport coordinates); the
    // component under the mouse becomes the current one first.
    QMenu* MakeContextMenu(const QPoint& pos, QWidget* parent);
    QLineEdit* Edit(Field field) const { return fields_->Edit(field); }
    QDateEdit* DatePicker() const { return fields_->DatePicker(); }
    QGroupBox* CurrentGroup() const { return fields_->CurrentGroup(); }
    QGroupBox* TotalsGroup() const { return fields_->TotalsGroup(); }
    ComponentStatsBox* StatsBox() const;
    ClassLegend* Legend() const;
    // The classes the statistics and the legend use.
    void SetClassTable(const ClassTable& table);

signals:
    // The user changed the document through the panel (name, date, criterion or ticks).
    void DocumentEdited();

private:
    Document& doc_;
    ComponentListView* list_ = nullptr;
    ComponentFilterRow* filterRow_ = nullptr;
    ComponentFields* fields_ = nullptr;
    StatisticsSection* statistics_ = nullptr;
};

}  // namespace ohmlet
