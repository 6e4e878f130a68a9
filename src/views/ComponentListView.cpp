#include "views/ComponentListView.h"

#include <QAction>
#include <QEvent>
#include <QHeaderView>
#include <QMenu>

#include "data/Document.h"
#include "views/ComponentListFilter.h"
#include "views/ComponentListModel.h"

namespace ohmlet {

ComponentListView::ComponentListView(Document& doc, QWidget* parent)
    : QTableView(parent), doc_(doc) {
    setObjectName(QStringLiteral("componentList"));
    SetUpTable();
    tickAll_ = MakeTickAction(tr("全选"), "tickAll", static_cast<int>(Document::TickChange::Tick));
    tickNone_ =
        MakeTickAction(tr("全不选"), "tickNone", static_cast<int>(Document::TickChange::Untick));
    tickInvert_ =
        MakeTickAction(tr("反选"), "tickInvert", static_cast<int>(Document::TickChange::Invert));
}

// A table rather than a tree: it keeps no item per row, so a list of hundreds of
// thousands of components refills at once.
void ComponentListView::SetUpTable() {
    listModel_ = new ComponentListModel(doc_, this);
    listFilter_ = new ComponentListFilter(this);
    listFilter_->setSourceModel(listModel_);
    setModel(listFilter_);
    setShowGrid(false);
    setWordWrap(false);
    setTabKeyNavigation(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    const int widths[] = {50, 80, 65, 120, 100};
    for (int c = 0; c < ComponentListModel::kColumnCount; ++c) setColumnWidth(c, widths[c]);
    horizontalHeader()->setStretchLastSection(true);
    horizontalHeader()->setSectionsMovable(false);
    // Document order until the user clicks a heading.
    horizontalHeader()->setSortIndicator(ComponentListModel::kIndex, Qt::AscendingOrder);
    setSortingEnabled(true);
    viewport()->installEventFilter(this);
    // The row moved to, by key or by click, is the component shown.
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (!refreshing_ && current.isValid()) PickRow(current);
            });
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        QMenu* menu = MakeContextMenu(viewport()->mapFrom(this, pos), this);
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(mapToGlobal(pos));
    });
}

QAction* ComponentListView::MakeTickAction(const QString& text, const char* name, int change) {
    auto* action = new QAction(text, this);
    action->setObjectName(QString::fromLatin1(name));
    connect(action, &QAction::triggered, this, [this, change] { ChangeShownTicks(change); });
    return action;
}

void ComponentListView::SetFilterText(const QString& text) {
    listFilter_->SetFilterText(text);
    Reload();
}

void ComponentListView::ChangeShownTicks(int change) {
    doc_.ChangeTicks(listFilter_->ShownComponents(), static_cast<Document::TickChange>(change));
    emit DocumentEdited();
}

QMenu* ComponentListView::MakeContextMenu(const QPoint& pos, QWidget* parent) {
    const QModelIndex at = indexAt(pos);
    if (at.isValid()) {
        selectionModel()->setCurrentIndex(
            at, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        PickRow(at);
    }
    auto* menu = new QMenu(parent);
    menu->setObjectName(QStringLiteral("listContextMenu"));
    for (QAction* action : contextActions_) {
        if (action)
            menu->addAction(action);
        else
            menu->addSeparator();
    }
    if (!contextActions_.isEmpty()) menu->addSeparator();
    menu->addAction(tickAll_);
    menu->addAction(tickNone_);
    menu->addAction(tickInvert_);
    return menu;
}

// The rows read the document when drawn: a reload costs nothing per component, and
// the ticks shown are always the document's.
void ComponentListView::Reload() {
    listModel_->Reload();
    FollowCurrentRow();
}

// The current row is the document's current component, however it became so.
void ComponentListView::FollowCurrentRow() {
    const bool wasRefreshing = refreshing_;
    refreshing_ = true;  // moving the row here must not pick it again
    const QModelIndex current =
        listFilter_->mapFromSource(listModel_->index(doc_.CurrentIndex(), 0));
    if (current.isValid())
        selectionModel()->setCurrentIndex(
            current, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    else
        selectionModel()->clearSelection();
    refreshing_ = wasRefreshing;
}

bool ComponentListView::ShowsCurrentComponent() const {
    return listFilter_->mapToSource(currentIndex()).row() == doc_.CurrentIndex();
}

// The first selected row, scanning from the top, becomes the current component.
void ComponentListView::PickSelectedRow() {
    int first = -1;
    for (const QModelIndex& row : selectionModel()->selectedRows())
        if (first < 0 || row.row() < first) first = row.row();
    if (first >= 0) PickRow(listFilter_->index(first, 0));
    setFocus();
}

// A shown row stands for the component its source row holds.
void ComponentListView::PickRow(const QModelIndex& shown) {
    const int component = listFilter_->mapToSource(shown).row();
    if (component < 0 || component == doc_.CurrentIndex()) return;
    refreshing_ = true;  // the document's refresh must not pick again
    doc_.SelectComponent(component);
    refreshing_ = false;
}

// A click on a row already current picks it again, so the list always has the focus
// and the fields show the component; moves are picked as the current row changes.
bool ComponentListView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == viewport() && event->type() == QEvent::MouseButtonRelease) PickSelectedRow();
    return QTableView::eventFilter(watched, event);
}

}  // namespace ohmlet
