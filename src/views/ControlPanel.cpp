#include "views/ControlPanel.h"

#include <QDateEdit>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QStyle>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

#include "report/GbkCodec.h"
#include "report/ReportParameters.h"
#include "views/ClassLegend.h"
#include "views/ComponentListFilter.h"
#include "views/ComponentListModel.h"
#include "views/ComponentStatsBox.h"
#include "views/PanelFields.h"

namespace ohmlet {

ControlPanel::ControlPanel(Document& doc, QWidget* parent) : QWidget(parent), doc_(doc) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    BuildList();
    BuildFilterRow();
    BuildFields();
    layout->addWidget(filterRow_, 0);
    layout->addWidget(list_, 37);
    layout->addWidget(currentGroup_, 0);
    layout->addWidget(totalsGroup_, 0);
    statsBox_ = new ComponentStatsBox(this);
    legend_ = new ClassLegend(this);
    layout->addWidget(statsBox_, 0);
    layout->addWidget(legend_, 0);
    layout->addStretch(1);
    doc_.AddObserver(this);
}

ControlPanel::~ControlPanel() { doc_.RemoveObserver(this); }

void ControlPanel::BuildList() {
    // A table rather than a tree: it keeps no item per row, so a list of hundreds of
    // thousands of components refills at once.
    list_ = new QTableView(this);
    list_->setObjectName(QStringLiteral("componentList"));
    listModel_ = new ComponentListModel(doc_, list_);
    listFilter_ = new ComponentListFilter(list_);
    listFilter_->setSourceModel(listModel_);
    list_->setModel(listFilter_);
    list_->setShowGrid(false);
    list_->setWordWrap(false);
    list_->setTabKeyNavigation(false);
    list_->verticalHeader()->hide();
    list_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    list_->verticalHeader()->setDefaultSectionSize(list_->fontMetrics().height() + 6);
    list_->horizontalHeader()->setHighlightSections(false);
    list_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    const int widths[] = {50, 80, 65, 120, 100};
    for (int c = 0; c < ComponentListModel::kColumnCount; ++c) list_->setColumnWidth(c, widths[c]);
    list_->horizontalHeader()->setStretchLastSection(true);
    list_->horizontalHeader()->setSectionsMovable(false);
    // Document order until the user clicks a heading.
    list_->horizontalHeader()->setSortIndicator(ComponentListModel::kIndex, Qt::AscendingOrder);
    list_->setSortingEnabled(true);
    list_->viewport()->installEventFilter(this);
    // The row moved to, by key or by click, is the component shown.
    connect(list_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                if (!refreshing_ && current.isValid()) PickRow(current);
            });
    list_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(list_, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        QMenu* menu = MakeContextMenu(list_->viewport()->mapFrom(list_, pos), this);
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(list_->mapToGlobal(pos));
    });
}

void ControlPanel::BuildFilterRow() {
    filterRow_ = new QWidget(this);
    auto* row = new QHBoxLayout(filterRow_);
    row->setContentsMargins(0, 0, 0, 0);
    filterEdit_ = new QLineEdit(filterRow_);
    filterEdit_->setObjectName(QStringLiteral("componentFilter"));
    filterEdit_->setPlaceholderText(tr("按编号或名称筛选"));
    filterEdit_->setClearButtonEnabled(true);
    connect(filterEdit_, &QLineEdit::textChanged, this, [this](const QString& text) {
        listFilter_->SetFilterText(text);
        RefreshComponentList();
    });
    row->addWidget(filterEdit_, 1);
    auto makeTick = [this, row](const QString& text, const char* name, int change) {
        auto* action = new QAction(text, this);
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, [this, change] { ChangeShownTicks(change); });
        auto* button = new QToolButton(filterRow_);
        button->setDefaultAction(action);
        row->addWidget(button);
        return action;
    };
    tickAll_ = makeTick(tr("全选"), "tickAll", static_cast<int>(Document::TickChange::Tick));
    tickNone_ = makeTick(tr("全不选"), "tickNone", static_cast<int>(Document::TickChange::Untick));
    tickInvert_ =
        makeTick(tr("反选"), "tickInvert", static_cast<int>(Document::TickChange::Invert));
}

void ControlPanel::ChangeShownTicks(int change) {
    doc_.ChangeTicks(listFilter_->ShownComponents(), static_cast<Document::TickChange>(change));
    emit DocumentEdited();
}

QMenu* ControlPanel::MakeContextMenu(const QPoint& pos, QWidget* parent) {
    const QModelIndex at = list_->indexAt(pos);
    if (at.isValid()) {
        list_->selectionModel()->setCurrentIndex(
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

QLineEdit* ControlPanel::AddField(Field field, const char* objectName, bool readOnly, bool visible,
                                  const char* widest) {
    auto* edit = new QLineEdit;
    edit->setReadOnly(readOnly);
    // Wide enough for its widest value whatever the labels beside it take, so that
    // longer labels (English) widen the panel rather than cut the values.
    if (widest) {
        const int frame = edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, edit);
        edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QString::fromUtf8(widest)) +
                              2 * frame + 8);
    }
    edit->setObjectName(QString::fromLatin1(objectName));
    if (!visible) edit->setVisible(false);
    edits_[field] = edit;
    return edit;
}

void ControlPanel::BuildFields() {
    currentGroup_ = new QGroupBox(tr("当前构件"), this);
    auto* grid = new QGridLayout(currentGroup_);
    grid->setHorizontalSpacing(6);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    for (const PanelField& f : kPanelFields) {
        auto* label = new QLabel(tr(f.label));
        QLineEdit* edit = AddField(f.field, f.objectName, f.readOnly, f.visible, f.widest);
        label->setBuddy(edit);
        if (!f.visible) label->setVisible(false);
        grid->addWidget(label, f.row, f.column * 2);
        grid->addWidget(edit, f.row, f.column * 2 + 1);
    }
    datePicker_ = new QDateEdit;
    datePicker_->setObjectName(QStringLiteral("testDate"));
    datePicker_->setDisplayFormat(tr("yyyy年M月d日"));
    datePicker_->setCalendarPopup(true);
    datePicker_->setDate(QDate::currentDate());
    auto* dateLabel = new QLabel(tr("测试日期"));
    dateLabel->setBuddy(datePicker_);
    grid->addWidget(dateLabel, 1, 0);
    grid->addWidget(datePicker_, 1, 1);

    totalsGroup_ = new QGroupBox(tr("全部构件"), this);
    auto* totals = new QGridLayout(totalsGroup_);
    for (const PanelField& f : kPanelTotals) {
        auto* label = new QLabel(tr(f.label));
        totals->addWidget(label, f.row, f.column * 2);
        totals->addWidget(AddField(f.field, f.objectName, f.readOnly, f.visible, f.widest), f.row,
                          f.column * 2 + 1);
    }
    totalsGroup_->setVisible(false);

    connect(Edit(kName), &QLineEdit::textEdited, this, &ControlPanel::OnNameEdited);
    connect(datePicker_, &QDateEdit::dateChanged, this, &ControlPanel::OnDateChanged);
    for (Field f : {kDesignValue, kLowerTolerance, kUpperTolerance}) {
        Edit(f)->setValidator(new QIntValidator(-1000000, 1000000, Edit(f)));
        connect(Edit(f), &QLineEdit::editingFinished, this, &ControlPanel::OnCriterionEdited);
    }
}

QLineEdit* ControlPanel::Edit(Field field) const {
    return field >= 0 && field < kFieldCount ? edits_[field] : nullptr;
}

void ControlPanel::ShowTotals() {
    Edit(kTotalPoints)->setText(QString::number(doc_.TotalPointCount()));
    Edit(kTotalPassing)->setText(QString::number(doc_.TotalPassCount()));
    Edit(kOverallPassRate)->setText(PanelPercent(doc_.OverallPassRate()));
}

// The document has brought max, min, pass count and totals up to date already.
void ControlPanel::ShowComponent(const Component* c) {
    pushing_ = true;
    if (!c) {
        for (QLineEdit* edit : edits_)
            if (edit) edit->clear();
        statsBox_->ShowComponent(nullptr);
        pushing_ = false;
        return;
    }
    Edit(kName)->setText(FromGbk(c->Name()));
    Edit(kNumber)->setText(FromGbk(c->Number()));
    Edit(kDesignValue)->setText(QString::number(c->DesignValue()));
    Edit(kUpperTolerance)->setText(QString::number(c->UpperTolerance()));
    Edit(kLowerTolerance)->setText(QString::number(c->LowerTolerance()));
    Edit(kMaximum)->setText(PanelResistivity(c->maxValue));
    Edit(kMinimum)->setText(PanelResistivity(c->minValue));
    Edit(kPointCount)->setText(QString::number(c->pointCount));
    Edit(kAverage)->setText(PanelResistivity(c->ComputeAverage()));
    Edit(kPassCount)->setText(QString::number(SaturateToInt(c->passCount)));
    Edit(kPassRate)->setText(PanelPercent(c->passRate));
    ShowTotals();
    const QDate date = ParseStoredDate(c->TestDate());
    if (date.isValid()) datePicker_->setDate(date);
    statsBox_->ShowComponent(c);
    if (listFilter_->mapToSource(list_->currentIndex()).row() != doc_.CurrentIndex())
        FollowCurrentRow();
    pushing_ = false;
}

void ControlPanel::SetClassTable(const ClassTable& table) {
    statsBox_->SetClassTable(table);
    legend_->SetClassTable(table);
    statsBox_->ShowComponent(doc_.CurrentComponent());
}

// An emptied or unreadable field puts the shown value back rather than storing 0.
void ControlPanel::OnCriterionEdited() {
    const Component* c = doc_.CurrentComponent();
    if (pushing_ || !c) return;
    Criterion wanted = CriterionOf(*c);
    float* targets[] = {&wanted.designValue, &wanted.lowerTolerance, &wanted.upperTolerance};
    const Field fields[] = {kDesignValue, kLowerTolerance, kUpperTolerance};
    for (int i = 0; i < 3; ++i) {
        bool ok = false;
        const int value = Edit(fields[i])->text().trimmed().toInt(&ok);
        // Whole numbers are what the field shows; an unchanged text keeps a fraction.
        if (ok && value != SaturateToInt(*targets[i])) *targets[i] = static_cast<float>(value);
    }
    if (wanted == CriterionOf(*c)) {
        ShowComponent(c);
        return;
    }
    doc_.SetComponentCriterion(doc_.CurrentIndex(), wanted);
    emit DocumentEdited();
}

// The rows read the document when drawn: a refresh costs nothing per component, and
// the ticks shown are always the document's.
void ControlPanel::RefreshComponentList() {
    listModel_->Reload();
    FollowCurrentRow();
    ShowTotals();
}

// The list's current row is the document's current component, however it became so.
void ControlPanel::FollowCurrentRow() {
    const bool wasRefreshing = refreshing_;
    refreshing_ = true;  // moving the row here must not pick it again
    const QModelIndex current =
        listFilter_->mapFromSource(listModel_->index(doc_.CurrentIndex(), 0));
    if (current.isValid())
        list_->selectionModel()->setCurrentIndex(
            current, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    else
        list_->selectionModel()->clearSelection();
    refreshing_ = wasRefreshing;
}

void ControlPanel::RefreshPointCount() {
    if (doc_.CurrentComponent())
        listModel_->RowChanged(doc_.CurrentIndex(), ComponentListModel::kPointCount);
}

void ControlPanel::RefreshComponentRow(int index) { listModel_->RowChanged(index); }

// The first selected row, scanning from the top, becomes the current component.
void ControlPanel::PickSelectedRow() {
    int first = -1;
    for (const QModelIndex& row : list_->selectionModel()->selectedRows())
        if (first < 0 || row.row() < first) first = row.row();
    if (first >= 0) PickRow(listFilter_->index(first, 0));
    list_->setFocus();
}

// A shown row stands for the component its source row holds.
void ControlPanel::PickRow(const QModelIndex& shown) {
    const int component = listFilter_->mapToSource(shown).row();
    if (component < 0 || component == doc_.CurrentIndex()) return;
    refreshing_ = true;  // the document's refresh must not pick again
    doc_.SelectComponent(component);
    refreshing_ = false;
}

// A click on a row already current picks it again, so the list always has the focus
// and the fields show the component; moves are picked as the current row changes.
bool ControlPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == list_->viewport() && event->type() == QEvent::MouseButtonRelease)
        PickSelectedRow();
    return QWidget::eventFilter(watched, event);
}

void ControlPanel::OnNameEdited(const QString& text) {
    if (pushing_ || !doc_.CurrentComponent()) return;
    doc_.SetComponentName(GbkPrefix(text, Component::kNameWidth - 1));
    emit DocumentEdited();
}

void ControlPanel::OnDateChanged(const QDate& date) {
    if (pushing_ || !date.isValid() || !doc_.CurrentComponent()) return;
    doc_.SetComponentTestDate(FormatStoredDate(date));
    emit DocumentEdited();
}

}  // namespace ohmlet
