#include "views/ControlPanel.h"

#include <QVBoxLayout>

#include "views/ComponentFilterRow.h"
#include "views/ComponentListModel.h"
#include "views/ComponentListView.h"
#include "views/StatisticsSection.h"

namespace ohmlet {

ControlPanel::ControlPanel(Document& doc, QWidget* parent) : QWidget(parent), doc_(doc) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    // The list is made before its filter row: it comes first in the tab order.
    list_ = new ComponentListView(doc_, this);
    filterRow_ = new ComponentFilterRow(list_, this);
    fields_ = new ComponentFields(doc_, this);
    statistics_ = new StatisticsSection(this);
    layout->addWidget(filterRow_, 0);
    layout->addWidget(list_, 37);
    layout->addWidget(fields_, 0);
    layout->addWidget(statistics_, 0);
    layout->addStretch(1);
    connect(list_, &ComponentListView::DocumentEdited, this, &ControlPanel::DocumentEdited);
    connect(fields_, &ComponentFields::DocumentEdited, this, &ControlPanel::DocumentEdited);
    doc_.AddObserver(this);
}

ControlPanel::~ControlPanel() { doc_.RemoveObserver(this); }

// The fields and statistics first; the list's row moves only for a component picked
// elsewhere.
void ControlPanel::ShowComponent(const Component* c) {
    fields_->ShowComponent(c);
    statistics_->ShowComponent(c);
    if (c && !list_->ShowsCurrentComponent()) list_->FollowCurrentRow();
}

void ControlPanel::RefreshComponentList() {
    list_->Reload();
    fields_->ShowTotals();
}

void ControlPanel::RefreshPointCount() {
    if (doc_.CurrentComponent())
        list_->ListModel()->RowChanged(doc_.CurrentIndex(), ComponentListModel::kPointCount);
}

void ControlPanel::RefreshComponentRow(int index) { list_->ListModel()->RowChanged(index); }

void ControlPanel::SetClassTable(const ClassTable& table) {
    statistics_->SetClassTable(table, doc_.CurrentComponent());
}

QTableView* ControlPanel::List() const { return list_; }
ComponentListModel* ControlPanel::ListModel() const { return list_->ListModel(); }
ComponentListFilter* ControlPanel::ListFilter() const { return list_->ListFilter(); }
QLineEdit* ControlPanel::FilterEdit() const { return filterRow_->FilterEdit(); }
QAction* ControlPanel::TickAllAction() const { return list_->TickAllAction(); }
QAction* ControlPanel::TickNoneAction() const { return list_->TickNoneAction(); }
QAction* ControlPanel::TickInvertAction() const { return list_->TickInvertAction(); }
void ControlPanel::SetContextActions(const QList<QAction*>& actions) {
    list_->SetContextActions(actions);
}
QMenu* ControlPanel::MakeContextMenu(const QPoint& pos, QWidget* parent) {
    return list_->MakeContextMenu(pos, parent);
}
ComponentStatsBox* ControlPanel::StatsBox() const { return statistics_->StatsBox(); }
ClassLegend* ControlPanel::Legend() const { return statistics_->Legend(); }

}  // namespace ohmlet
